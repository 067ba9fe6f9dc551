// The global hot key and the notification-area icon; for now its share of
// start-up and close: the hot key text and its lock.
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"

#include <QObject>

namespace nuvo {

struct TrayState;

class TrayHotKey : public QObject, public SettingsOwner {
    Q_OBJECT
public:
    TrayHotKey(const AreaContext& context, TrayState& own, QObject* parent = nullptr);

    void restore(const Settings& settings) override;
    void collect(Settings& settings) const override;

private:
    AreaContext context_;
    TrayState& own_;
};

} // namespace nuvo
