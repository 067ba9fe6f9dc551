// The Equalizer page: the ten-band curve, its picture and its "Enable" switch.
#pragma once

#include "app/AreaContext.h"
#include "app/SettingsOwner.h"
#include "equalizer/CurveRules.h"

#include <QObject>
#include <QPoint>

namespace nuvo {

class CurveImage;
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
    // Hands the table to the decoder and draws every band on the picture as it is.
    void drawEqualizer();
    // A whole new curve (a preset): the old one is erased first.
    void showCurve(const BandTable& table);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void image1MouseDown(Qt::MouseButton button, QPoint at);
    void image1MouseMove(Qt::MouseButtons buttons, QPoint at);
    void image1MouseUp(Qt::MouseButton button);
    void editBandAt(QPoint at);
    void stepBand(int band, std::int32_t (*step)(std::int32_t value, int step, bool highSpeed));
    void eraseCurveArea();
    void redrawBand(int band, ReadoutLabel label);
    void drawBand(int band, ReadoutLabel label);

    CurveImage& image() const;

    AreaContext context_;
    EqualizerState& own_;
};

} // namespace nuvo
