#include "app/OptionPage.h"

#include "app/Availability.h"
#include "app/CheckListDelegate.h"
#include "app/ColorText.h"
#include "app/Dialogs.h"
#include "app/PlayerState.h"
#include "app/Settings.h"
#include "app/WindowSteps.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"

#include <QListWidget>
#include <QMainWindow>
#include <QSignalBlocker>

#include <utility>

namespace nuvo {

namespace {

// Each option with the settings value that keeps it.
constexpr std::pair<Option, bool Settings::*> kStoredOptions[] = {
    {Option::Single, &Settings::single},
    {Option::All, &Settings::all},
    {Option::Random, &Settings::random},
    {Option::Slow, &Settings::slowSeek},
    {Option::HighSpeed, &Settings::highSpeedEqualizer},
    {Option::SaveSize, &Settings::saveSize},
    {Option::PlayedColor, &Settings::playedColor},
    {Option::ProgressColor, &Settings::progressColor},
    {Option::TabsAtBottom, &Settings::tabsAtBottom},
    {Option::AutoStart, &Settings::autoStart},
    {Option::ClearListToOpen, &Settings::clearListToOpen},
};

constexpr int kOptionHeaders[] = {0, 4, 6, 8, 10, 13, 15};

QColor colorOf(const QString& text)
{
    const Rgb rgb = rgbFromRef(parseColorRef(text, colorRefFromRgb(0, 0, 0)));
    return {rgb.r, rgb.g, rgb.b};
}

QString colorTextOf(const QColor& color)
{
    return QString::number(colorRefFromRgb(color.red(), color.green(), color.blue()));
}

QString colorLabel(Option option)
{
    return option == Option::PlayedColor ? QStringLiteral("Played/Standby") : QStringLiteral("ProgressBar");
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
    CheckListDelegate::install(*context_.ui.CheckListBox1);
    // Every change the program makes is made under a signal blocker: what arrives here is the user's toggle.
    connect(context_.ui.CheckListBox1, &QListWidget::itemChanged, this, &OptionPage::checkListBox1ClickCheck);
}

void OptionPage::setOptionChecked(Option option, bool checked)
{
    const QSignalBlocker quiet(context_.ui.CheckListBox1);
    context_.ui.CheckListBox1->item(static_cast<int>(option))->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void OptionPage::setOptionAsClicked(Option option, bool checked)
{
    if (isOptionChecked(context_.ui, option) == checked)
        return;
    // Not blocked: the click handler runs as for the user's click.
    context_.ui.CheckListBox1->item(static_cast<int>(option))->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void OptionPage::setItemText(Option option, const QString& text)
{
    const QSignalBlocker quiet(context_.ui.CheckListBox1);
    context_.ui.CheckListBox1->item(static_cast<int>(option))->setText(text);
}

void OptionPage::restore(const Settings& s)
{
    for (const auto& [option, value] : kStoredOptions)
        setOptionChecked(option, s.*value);
    setColorText(Option::PlayedColor, s.preColor);
    setColorText(Option::ProgressColor, s.proColor);
}

void OptionPage::collect(Settings& s) const
{
    for (const auto& [option, value] : kStoredOptions)
        s.*value = isOptionChecked(context_.ui, option);
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
    const QSignalBlocker quiet(context_.ui.CheckListBox1);
    for (int row : kOptionHeaders) {
        QListWidgetItem* item = context_.ui.CheckListBox1->item(row);
        // Headers only show text: no check box and no selection colours.
        item->setFlags(item->flags() & ~(Qt::ItemIsUserCheckable | Qt::ItemIsSelectable));
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
    const QString& colour = option == Option::PlayedColor ? own_.colours.preColor : own_.colours.proColor;
    setItemText(option, colorItemText(colorLabel(option), parseColorRef(colour, 0)));
}

QString OptionPage::defaultColorText(Option option) const
{
    const QPalette::ColorRole role = option == Option::PlayedColor ? QPalette::Link : QPalette::Highlight;
    return colorTextOf(context_.window.palette().color(role));
}

void OptionPage::setColorText(Option option, const QString& text)
{
    if (option == Option::PlayedColor) {
        own_.colours.preColor = text;
        own_.colours.played = colorOf(text);
        context_.playlist.repaint(context_.playlist.currentIndex());
    } else {
        // The bar takes the colour at its next paint.
        own_.colours.proColor = text;
        own_.colours.progress = colorOf(text);
    }
}

void OptionPage::checkListBox1ClickCheck(QListWidgetItem* item)
{
    const auto option = static_cast<Option>(context_.ui.CheckListBox1->row(item));
    const bool checked = item->checkState() == Qt::Checked;
    switch (option) {
    case Option::Single:
    case Option::All:
    case Option::Random:
        loopModeToggled(option, checked);
        break;
    case Option::Slow:
        own_.seekDivisor = checked ? 100 : 50;
        // The keyboard commands act only while the page control has the focus.
        context_.ui.PageControl1->setFocus();
        break;
    case Option::HighSpeed:
        own_.equalizerKeyStep = checked ? 5 : 1;
        break;
    case Option::PlayedColor:
    case Option::ProgressColor:
        colorOptionToggled(option, checked);
        break;
    case Option::TabsAtBottom:
        tabPositionToggled();
        break;
    case Option::SaveSize:
    case Option::AutoStart:
    case Option::ClearListToOpen:
        break;
    }
}

// The three loop modes exclude each other; none of them is allowed.
void OptionPage::loopModeToggled(Option option, bool checked)
{
    if (option == Option::All) {
        if (checked) {
            setOptionChecked(Option::Single, false);
            setOptionChecked(Option::Random, false);
        }
        followNavigation();
        return;
    }
    if (!checked)
        return;
    setOptionChecked(option == Option::Single ? Option::Random : Option::Single, false);
    uncheckAllAndFollow();
}

void OptionPage::uncheckAllAndFollow()
{
    if (!isOptionChecked(context_.ui, Option::All))
        return;
    setOptionChecked(Option::All, false);
    followNavigation();
}

// With fewer than two entries both navigation pairs are off whatever All says.
void OptionPage::followNavigation()
{
    if (context_.playlist.count() >= 2)
        context_.availability.applyNavigationRule();
}

void OptionPage::colorOptionToggled(Option option, bool checked)
{
    if (!checked) {
        setColorText(option, defaultColorText(option));
        setItemText(option, colorLabel(option));
        return;
    }
    const std::optional<QColor> chosen = dialogs().color(&context_.window, lastChosenColor_);
    if (context_.steps.windowClosed())
        return;
    if (!chosen) {
        // Cancelled: the option is off again and its colour stays as it was.
        setOptionChecked(option, false);
        return;
    }
    lastChosenColor_ = *chosen;
    setColorText(option, colorTextOf(*chosen));
    showColorItem(option);
}

void OptionPage::tabPositionToggled()
{
    context_.ui.PageControl1->setFocus();
    applyTabPosition();
    markHeaders();
}

} // namespace nuvo
