#include "app/OptionPage.h"

#include "app/ColorText.h"
#include "app/PlayerState.h"
#include "app/Settings.h"
#include "app/WindowSteps.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"

#include <QListWidget>
#include <QSignalBlocker>

namespace nuvo {

namespace {

constexpr int kOptionHeaders[] = {0, 4, 6, 8, 10, 13, 15};

QColor colorOf(const QString& text)
{
    const Rgb rgb = rgbFromRef(parseColorRef(text, colorRefFromRgb(0, 0, 0)));
    return {rgb.r, rgb.g, rgb.b};
}

} // namespace

bool isOptionChecked(const Ui::Form1& ui, Option option)
{
    return ui.CheckListBox1->item(static_cast<int>(option))->checkState() == Qt::Checked;
}

void refreshTagViewOnTagPage(Ui::Form1& ui, WindowSteps& steps)
{
    QTabWidget* pages = ui.PageControl1;
    if (pages->currentIndex() != kTagEditPage)
        return;
    steps.showTagInfo();
    if (!pages->hasFocus())
        pages->setFocus();
}

OptionPage::OptionPage(const AreaContext& context, OptionState& own, QObject* parent)
    : QObject(parent), context_(context), own_(own)
{
}

void OptionPage::setOptionChecked(Option option, bool checked)
{
    const QSignalBlocker quiet(context_.ui.CheckListBox1);
    context_.ui.CheckListBox1->item(static_cast<int>(option))->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void OptionPage::restore(const Settings& s)
{
    setOptionChecked(Option::Single, s.single);
    setOptionChecked(Option::All, s.all);
    setOptionChecked(Option::Random, s.random);
    setOptionChecked(Option::Slow, s.slowSeek);
    setOptionChecked(Option::HighSpeed, s.highSpeedEqualizer);
    setOptionChecked(Option::SaveSize, s.saveSize);
    setOptionChecked(Option::PlayedColor, s.playedColor);
    setOptionChecked(Option::ProgressColor, s.progressColor);
    setOptionChecked(Option::TabsAtBottom, s.tabsAtBottom);
    setOptionChecked(Option::AutoStart, s.autoStart);
    setOptionChecked(Option::ClearListToOpen, s.clearListToOpen);
    setPreColor(s.preColor);
    setProColor(s.proColor);
}

void OptionPage::collect(Settings& s) const
{
    const Ui::Form1& ui = context_.ui;
    s.single = isOptionChecked(ui, Option::Single);
    s.all = isOptionChecked(ui, Option::All);
    s.random = isOptionChecked(ui, Option::Random);
    s.slowSeek = isOptionChecked(ui, Option::Slow);
    s.highSpeedEqualizer = isOptionChecked(ui, Option::HighSpeed);
    s.saveSize = isOptionChecked(ui, Option::SaveSize);
    s.playedColor = isOptionChecked(ui, Option::PlayedColor);
    s.progressColor = isOptionChecked(ui, Option::ProgressColor);
    s.tabsAtBottom = isOptionChecked(ui, Option::TabsAtBottom);
    s.autoStart = isOptionChecked(ui, Option::AutoStart);
    s.clearListToOpen = isOptionChecked(ui, Option::ClearListToOpen);
    s.preColor = own_.colours.preColor;
    s.proColor = own_.colours.proColor;
}

void OptionPage::applyTabPosition()
{
    const bool bottom = isOptionChecked(context_.ui, Option::TabsAtBottom);
    context_.ui.PageControl1->setTabPosition(bottom ? QTabWidget::South : QTabWidget::North);
}

void OptionPage::markHeaders()
{
    for (int row : kOptionHeaders) {
        QListWidgetItem* item = context_.ui.CheckListBox1->item(row);
        item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        // Without check state data the item shows no check box at all.
        item->setData(Qt::CheckStateRole, QVariant());
    }
}

void OptionPage::applySpeedOptions()
{
    if (isOptionChecked(context_.ui, Option::Slow))
        own_.seekDivisor = 100;
    if (isOptionChecked(context_.ui, Option::HighSpeed))
        own_.equalizerKeyStep = 5;
}

void OptionPage::showColorItem(Option option)
{
    const bool played = option == Option::PlayedColor;
    const QString label = played ? QStringLiteral("Played/Standby") : QStringLiteral("ProgressBar");
    const QString& colour = played ? own_.colours.preColor : own_.colours.proColor;
    context_.ui.CheckListBox1->item(static_cast<int>(option))->setText(colorItemText(label, parseColorRef(colour, 0)));
}

void OptionPage::setPreColor(const QString& text)
{
    own_.colours.preColor = text;
    own_.colours.played = colorOf(text);
    context_.playlist.repaint(context_.playlist.currentIndex());
}

void OptionPage::setProColor(const QString& text)
{
    own_.colours.proColor = text;
    own_.colours.progress = colorOf(text);
}

} // namespace nuvo
