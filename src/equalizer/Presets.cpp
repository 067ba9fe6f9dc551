#include "equalizer/Presets.h"

#include "app/Dialogs.h"
#include "app/IniFile.h"
#include "app/PlayerState.h"
#include "app/Settings.h"
#include "app/TextFile.h"
#include "equalizer/EqualizerPage.h"
#include "equalizer/PresetFile.h"
#include "ui_MainWindow.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QSignalBlocker>

namespace nuvo {

namespace {

// The first entry is the flat curve of its own; it is never stored.
constexpr int kBuiltInItem = 0;
constexpr int kNameLength = 255;

} // namespace

Presets::Presets(const AreaContext& context, EqualizerPage& equalizer, const QString& presetFile, QObject* parent)
    : QObject(parent), context_(context), equalizer_(equalizer), presetFile_(presetFile)
{
    QComboBox* box = context_.ui.ComboBox2;
    // When an edit ends (Enter, or the focus moving to Add) the box selects
    // the stored name the text matches and reports it as activated, as it
    // does for a pick from the list. A line edit of our own marks that span:
    // of the slots on its editingFinished, the one connected before the box
    // takes the edit runs before the box's, the one connected after it after.
    auto* edit = new QLineEdit(box);
    connect(edit, &QLineEdit::editingFinished, this, [this] { editFinishing_ = true; });
    box->setLineEdit(edit);
    connect(edit, &QLineEdit::editingFinished, this, [this] { editFinishing_ = false; });
    edit->setMaxLength(kNameLength);
    // Dropped files are the window's, here as on every other control.
    edit->setAcceptDrops(false);
    // A typed name becomes a preset only through Add: the box neither completes
    // it to a stored name nor inserts or selects anything by it.
    box->setCompleter(nullptr);
    box->setInsertPolicy(QComboBox::NoInsert);
    connect(edit, &QLineEdit::textEdited, this, &Presets::nameEdited);
    connect(box, &QComboBox::activated, this, &Presets::nameChosen);
    connect(context_.ui.Button3, &QAbstractButton::clicked, context_.ui.Add, &QAction::trigger);
    connect(context_.ui.Button4, &QAbstractButton::clicked, context_.ui.Del, &QAction::trigger);
    connect(context_.ui.Add, &QAction::triggered, this, &Presets::addExecute);
    connect(context_.ui.Del, &QAction::triggered, this, &Presets::delExecute);
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
    const int count = context_.ui.ComboBox2->count();
    selectItem(s.presetItem >= -1 && s.presetItem < count ? s.presetItem : -1);
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

void Presets::showRestoredPreset()
{
    if (context_.ui.ComboBox2->currentIndex() < 0)
        equalizer_.drawEqualizer();
    else
        comboBox2Change();
}

void Presets::nameEdited()
{
    // A name being typed is no entry of the list: the box must not keep
    // pointing at the preset picked before, which Del would then delete.
    keepTypedName();
    comboBox2Change();
}

void Presets::nameChosen()
{
    // Only a choice from the list loads a preset; a typed name that matches
    // a stored one stays a typed name, so the edited curve is kept and Add
    // stores it under that name.
    if (editFinishing_)
        keepTypedName();
    else
        comboBox2Change();
}

void Presets::keepTypedName()
{
    QComboBox* box = context_.ui.ComboBox2;
    if (box->currentIndex() < 0)
        return;
    QLineEdit* edit = box->lineEdit();
    const QString typed = edit->text();
    const int cursor = edit->cursorPosition();
    selectItem(-1);
    edit->setText(typed);
    edit->setCursorPosition(cursor);
}

void Presets::comboBox2Change()
{
    const QComboBox* box = context_.ui.ComboBox2;
    const QString text = box->currentText();
    setAddEnabled(!text.trimmed().isEmpty());
    const int index = box->currentIndex();
    if (index < 0) {
        setDelEnabled(false);
        return;
    }
    if (index == kBuiltInItem) {
        if (text == QLatin1String("Default"))
            equalizer_.showCurve(BandTable{});
        setDelEnabled(false);
        return;
    }
    if (text == box->itemText(index))
        equalizer_.showCurve(readPreset(IniFile::load(presetFile_), text));
    setDelEnabled(true);
}

void Presets::addExecute()
{
    const QComboBox* box = context_.ui.ComboBox2;
    // Without outer blanks: the preset file gives section names back trimmed.
    const QString name = box->currentText().trimmed();
    if (box->currentIndex() == kBuiltInItem || name.isEmpty())
        return;
    int position = box->findText(name, Qt::MatchFixedString);
    // Nor is the flat curve overwritten under its name typed anew.
    if (position == kBuiltInItem)
        return;
    IniFile ini = IniFile::load(presetFile_);
    writePreset(ini, name, context_.state.equalizer.table);
    if (!saveChange(ini))
        return;
    if (position < 0) {
        const QSignalBlocker quiet(context_.ui.ComboBox2);
        context_.ui.ComboBox2->addItem(name);
        position = box->count() - 1;
    }
    // Selected by the program: the buttons stay as they are.
    if (position != box->currentIndex())
        selectItem(position);
}

void Presets::delExecute()
{
    QComboBox* box = context_.ui.ComboBox2;
    const int index = box->currentIndex();
    if (index <= kBuiltInItem)
        return;
    IniFile ini = IniFile::load(presetFile_);
    ini.eraseSection(box->itemText(index));
    if (!saveChange(ini))
        return;
    {
        const QSignalBlocker quiet(box);
        const QString text = box->currentText();
        box->removeItem(index);
        // No other preset takes its place; the name and the curve stay as they are.
        box->setCurrentIndex(-1);
        box->setEditText(text);
    }
    setAddEnabled(false);
}

bool Presets::saveChange(const IniFile& ini)
{
    // The list changes only once the file holds the change.
    QString error;
    if (ini.save(presetFile_, &error))
        return true;
    dialogs().showError(&context_.window, error);
    return false;
}

void Presets::selectItem(int index)
{
    const QSignalBlocker quiet(context_.ui.ComboBox2);
    context_.ui.ComboBox2->setCurrentIndex(index);
}

void Presets::setAddEnabled(bool enabled)
{
    context_.ui.Add->setEnabled(enabled);
    context_.ui.Button3->setEnabled(enabled);
}

void Presets::setDelEnabled(bool enabled)
{
    context_.ui.Del->setEnabled(enabled);
    context_.ui.Button4->setEnabled(enabled);
}

} // namespace nuvo
