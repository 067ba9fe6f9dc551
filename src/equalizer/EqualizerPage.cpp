#include "equalizer/EqualizerPage.h"

#include "app/Options.h"
#include "app/PlayerState.h"
#include "app/Settings.h"
#include "app/WindowSteps.h"
#include "playback/EnginePage.h"
#include "ui_MainWindow.h"
#include "vbmp3_api.h"

#include <QSignalBlocker>

namespace nuvo {

namespace {

// Tenths of a decibel: +-12 dB.
constexpr std::int32_t kBandMaximum = 120;

} // namespace

EqualizerPage::EqualizerPage(const AreaContext& context, EqualizerState& own, QObject* parent)
    : QObject(parent), context_(context), own_(own)
{
    connect(context_.ui.CheckBox1, &QAbstractButton::clicked, this, &EqualizerPage::onOffExecute);
}

void EqualizerPage::restore(const Settings& s)
{
    if (!s.equalizerEnabled)
        return;
    {
        const QSignalBlocker quiet(context_.ui.CheckBox1);
        context_.ui.CheckBox1->setChecked(true);
    }
    onOffExecute();
}

void EqualizerPage::collect(Settings& s) const
{
    s.equalizerEnabled = context_.ui.CheckBox1->isChecked();
}

void EqualizerPage::excludeDecoderSetting()
{
    if (context_.ui.CheckBox1->isChecked())
        context_.steps.setDecoderSettingEnabled(false);
}

void EqualizerPage::setSwitchEnabled(bool enabled)
{
    context_.ui.CheckBox1->setEnabled(enabled);
}

void EqualizerPage::raiseBand(int band)
{
    std::int32_t& value = own_.table.at(static_cast<std::size_t>(band));
    if (value >= kBandMaximum)
        return;
    const bool highSpeed = isOptionChecked(context_.ui, Option::HighSpeed);
    value = highSpeed && value > kBandMaximum - 5 ? kBandMaximum : value + context_.state.options.equalizerKeyStep;
}

void EqualizerPage::lowerBand(int band)
{
    std::int32_t& value = own_.table.at(static_cast<std::size_t>(band));
    if (value <= -kBandMaximum)
        return;
    const bool highSpeed = isOptionChecked(context_.ui, Option::HighSpeed);
    value = highSpeed && value < 5 - kBandMaximum ? -kBandMaximum : value - context_.state.options.equalizerKeyStep;
}

void EqualizerPage::onOffExecute()
{
    if (isEngineLineChecked(context_.ui, EngineLine::DecodeOptions))
        return;
    const bool enabled = context_.ui.CheckBox1->isChecked();
    context_.decoder.setEqualizer(enabled ? own_.table.data() : nullptr);
    if (context_.state.playback.trackOpen())
        context_.decoder.reload();
    context_.steps.setDecoderSettingEnabled(!enabled);
}

void EqualizerPage::applyEqualizer()
{
    if (!context_.ui.CheckBox1->isChecked())
        return;
    context_.decoder.setEqualizer(own_.table.data());
    if (context_.state.playback.trackOpen())
        context_.decoder.reload();
}

} // namespace nuvo
