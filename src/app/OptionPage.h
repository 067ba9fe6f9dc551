// The Option page: the option check list, the two colours, the tab
// position and the seek and equalizer key speeds that follow the options.
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"
#include "app/Options.h"

#include <QColor>
#include <QObject>

class QListWidgetItem;

namespace nuvo {

struct OptionState;

class OptionPage : public QObject, public SettingsOwner {
    Q_OBJECT
public:
    OptionPage(const AreaContext& context, OptionState& own, QObject* parent = nullptr);

    void restore(const Settings& settings) override;
    void collect(Settings& settings) const override;

    // The steps of the first show, each in its place of the start-up order.
    void applyTabPosition();
    void markHeaders();
    void applySpeedOptions();
    // The item text of Played/Standby or ProgressBar shows its colour.
    void showColorItem(Option option);
    // Checks or unchecks an option as a click on it would, with what the click does.
    void setOptionAsClicked(Option option, bool checked);
    // The desktop's colour for the current entry or the progress bar, as stored.
    QString defaultColorText(Option option) const;

    // The user toggled an option.
    void checkListBox1ClickCheck(QListWidgetItem* item);

private:
    void loopModeToggled(Option option, bool checked);
    void uncheckAllAndFollow();
    void followNavigation();
    void colorOptionToggled(Option option, bool checked);
    void tabPositionToggled();
    void setOptionChecked(Option option, bool checked);
    void setItemText(Option option, const QString& text);
    void setColorText(Option option, const QString& text);

    AreaContext context_;
    OptionState& own_;
    // The colour dialog opens with the colour last chosen in it, for either option.
    QColor lastChosenColor_ = Qt::black;
};

} // namespace nuvo
