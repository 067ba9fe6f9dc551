#include "equalizer/Presets.h"

#include "app/Settings.h"
#include "app/TextFile.h"
#include "ui_MainWindow.h"

#include <QFileInfo>
#include <QSignalBlocker>

namespace nuvo {

Presets::Presets(const AreaContext& context, QObject* parent) : QObject(parent), context_(context)
{
}

void Presets::restoreNames(const QString& path)
{
    if (!QFileInfo::exists(path))
        return;
    const QSignalBlocker quiet(context_.ui.ComboBox2);
    context_.ui.ComboBox2->clear();
    context_.ui.ComboBox2->addItems(readTextLines(path));
}

void Presets::restore(const Settings& s)
{
    QComboBox* box = context_.ui.ComboBox2;
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(s.presetItem >= -1 && s.presetItem < box->count() ? s.presetItem : -1);
}

void Presets::collect(Settings& s) const
{
    s.presetItem = context_.ui.ComboBox2->currentIndex();
}

QStringList Presets::names() const
{
    QStringList names;
    for (int i = 0; i < context_.ui.ComboBox2->count(); ++i)
        names << context_.ui.ComboBox2->itemText(i);
    return names;
}

} // namespace nuvo
