#include "app/TrayHotKey.h"

#include "app/PlayerState.h"
#include "app/Settings.h"
#include "ui_MainWindow.h"

#include <QSignalBlocker>

namespace nuvo {

TrayHotKey::TrayHotKey(const AreaContext& context, TrayState& own, QObject* parent)
    : QObject(parent), context_(context), own_(own)
{
}

void TrayHotKey::restore(const Settings& s)
{
    {
        const QSignalBlocker quiet(context_.ui.Hotkey1);
        context_.ui.Hotkey1->setChecked(s.hotKeyLocked);
    }
    {
        const QSignalBlocker quiet(context_.ui.Edit3);
        context_.ui.Edit3->setText(s.hotKey);
    }
    context_.ui.Edit3->setEnabled(!s.hotKeyLocked);
}

void TrayHotKey::collect(Settings& s) const
{
    s.hotKeyLocked = context_.ui.Hotkey1->isChecked();
    s.hotKey = context_.ui.Edit3->text();
}

} // namespace nuvo
