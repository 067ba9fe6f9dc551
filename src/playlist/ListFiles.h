// The binding of the playlist to one list file: which file, whether the
// playlist has changed since, and what panel 3 and "UpDateList" show of it.
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"

#include <QObject>

namespace nuvo {

struct ListBinding;

class ListFiles : public QObject, public SettingsOwner {
    Q_OBJECT
public:
    ListFiles(const AreaContext& context, ListBinding& own, QObject* parent = nullptr);

    void restore(const Settings& settings) override;
    void collect(Settings& settings) const override;
    // A list bound in the last run is bound again (first show).
    void showRestoredBinding();

    void bindListFile(const QString& path);
    void markListChanged();
    void unbindListFile();

private:
    void showListName();

    AreaContext context_;
    ListBinding& own_;
};

} // namespace nuvo
