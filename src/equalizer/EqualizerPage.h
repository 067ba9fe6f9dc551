// The Equalizer page: the ten-band curve and its "Enable" switch.
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"

#include <QObject>

namespace nuvo {

struct EqualizerState;

class EqualizerPage : public QObject, public SettingsOwner {
    Q_OBJECT
public:
    EqualizerPage(const AreaContext& context, EqualizerState& own, QObject* parent = nullptr);

    void restore(const Settings& settings) override;
    void collect(Settings& settings) const override;
    // While the curve is on, the user's output format cannot be switched on (first show).
    void excludeDecoderSetting();
    void setSwitchEnabled(bool enabled);

    // The digit keys: one key step up or down for a band, kept inside -120..120.
    void raiseBand(int band);
    void lowerBand(int band);

    void onOffExecute();
    void applyEqualizer();

private:
    AreaContext context_;
    EqualizerState& own_;
};

} // namespace nuvo
