#include "playback/EnginePage.h"

#include "app/Settings.h"
#include "app/WindowSteps.h"
#include "playback/EngineLines.h"
#include "ui_MainWindow.h"
#include "vbmp3_api.h"

#include <QListWidget>
#include <QSignalBlocker>

namespace nuvo {

namespace {

QListWidgetItem* lineItem(const Ui::Form1& ui, int row)
{
    return ui.CheckListBox2->item(row);
}

} // namespace

bool isEngineLineChecked(const Ui::Form1& ui, EngineLine line)
{
    return lineItem(ui, static_cast<int>(line))->checkState() == Qt::Checked;
}

EnginePage::EnginePage(const AreaContext& context, QObject* parent) : QObject(parent), context_(context)
{
}

void EnginePage::setLineChecked(EngineLine line, bool checked)
{
    const QSignalBlocker quiet(context_.ui.CheckListBox2);
    lineItem(context_.ui, static_cast<int>(line))->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void EnginePage::setDecoderSettingEnabled(bool enabled)
{
    QListWidgetItem* item = lineItem(context_.ui, static_cast<int>(EngineLine::DecodeOptions));
    item->setFlags(enabled ? item->flags() | Qt::ItemIsEnabled : item->flags() & ~Qt::ItemIsEnabled);
}

void EnginePage::restore(const Settings& s)
{
    setLineChecked(EngineLine::BufferOptions, s.bufferOptionsSet);
    setLineChecked(EngineLine::DecodeOptions, s.decodeOptionsSet);
}

void EnginePage::collect(Settings& s) const
{
    s.bufferOptionsSet = isEngineLineChecked(context_.ui, EngineLine::BufferOptions);
    s.decodeOptionsSet = isEngineLineChecked(context_.ui, EngineLine::DecodeOptions);
    BufferOptions buffer{};
    context_.decoder.getVbmp3Option(&buffer);
    s.inFrame = buffer.inputFrames;
    s.outFrame = buffer.outputFrames;
    s.inSleep = buffer.inputSleepMs;
    s.outSleep = buffer.outputSleepMs;
    DecodeOptions decode{};
    context_.decoder.getDecodeOption(&decode);
    s.downSample = decode.downSampling;
    s.channel = decode.channels;
    s.outSample = decode.frequencyLimit;
}

void EnginePage::applyRestored(const Settings& s)
{
    if (isEngineLineChecked(context_.ui, EngineLine::BufferOptions))
        applyBufferOptions({s.inFrame, s.outFrame, s.inSleep, s.outSleep});
    if (isEngineLineChecked(context_.ui, EngineLine::DecodeOptions)) {
        applyDecodeOptions({s.downSample, s.channel, s.outSample});
        context_.steps.setEqualizerSwitchEnabled(false);
    }
}

void EnginePage::markHeaders()
{
    for (int row = 0; row < context_.ui.CheckListBox2->count(); ++row) {
        if (row == static_cast<int>(EngineLine::BufferOptions) || row == static_cast<int>(EngineLine::DecodeOptions))
            continue;
        QListWidgetItem* item = lineItem(context_.ui, row);
        item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        // Without check state data the item shows no check box at all.
        item->setData(Qt::CheckStateRole, QVariant());
    }
}

void EnginePage::applyBufferOptions(const BufferOptions& options)
{
    context_.decoder.setVbmp3Option(&options);
    lineItem(context_.ui, kFrameBufferLine)->setText(frameBufferLine(options));
    lineItem(context_.ui, kSleepTimeLine)->setText(sleepTimeLine(options));
}

void EnginePage::applyDecodeOptions(const DecodeOptions& options)
{
    context_.decoder.setDecodeOption(&options);
    lineItem(context_.ui, kDownSamplingLine)->setText(downSamplingText(options.downSampling));
    lineItem(context_.ui, kOutputChannelLine)->setText(outputChannelText(options.channels));
    lineItem(context_.ui, kSampleRateLine)->setText(sampleRateLine(options.frequencyLimit));
}

} // namespace nuvo
