// The FileList page's list: the view of the playlist model, its pop-up
// menu, the counter of entries and the playlist's share of start-up and close.
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"

#include <QObject>

namespace nuvo {

class PlaylistDelegate;

class PlaylistView : public QObject, public SettingsOwner {
    Q_OBJECT
public:
    explicit PlaylistView(const AreaContext& context, QObject* parent = nullptr);

    // The playlist as it was left: every line of the file is an entry again.
    void restoreSavedList(const QString& path);
    void restore(const Settings& settings) override;
    void collect(Settings& settings) const override;

    void showCount();
    void focusEntry(int index);

private:
    AreaContext context_;
    PlaylistDelegate* delegate_ = nullptr;
};

} // namespace nuvo
