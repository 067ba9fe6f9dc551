// Adding tracks to the playlist; for now the command line of the start.
#pragma once

#include "app/AreaContext.h"

#include <QObject>
#include <QStringList>

namespace nuvo {

class ListAdding : public QObject {
    Q_OBJECT
public:
    explicit ListAdding(const AreaContext& context, QObject* parent = nullptr);

    // Files and folders of the command line are appended and the first of
    // them plays; a single list file binds an empty, unbound playlist.
    void takeCommandLine(const QStringList& arguments, const QString& currentDirectory);

    // Closes the open track or hands the decoder the volume, then starts the
    // entry at CurrentIndex, falling through to others that open.
    void playFirstAdded();

private:
    void sendVolume();

    AreaContext context_;
};

} // namespace nuvo
