// The Option page: the option check list, the two colours, the tab
// position and the seek and equalizer key speeds that follow the options.
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"
#include "app/Options.h"

#include <QObject>

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

private:
    void setOptionChecked(Option option, bool checked);
    void setPreColor(const QString& text);
    void setProColor(const QString& text);

    AreaContext context_;
    OptionState& own_;
};

} // namespace nuvo
