#include "playback/EnginePage.h"

#include "app/CheckListDelegate.h"
#include "app/Dialogs.h"
#include "app/PlayerState.h"
#include "app/Settings.h"
#include "app/WindowSteps.h"
#include "playback/EngineLines.h"
#include "playback/TOKBottomDlg.h"
#include "playback/TOKBottomDlg1.h"
#include "ui_MainWindow.h"
#include "vbmp3_api.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QSignalBlocker>

namespace nuvo {

namespace {

constexpr int kBufferLine = static_cast<int>(EngineLine::BufferOptions);
constexpr int kDecodeLine = static_cast<int>(EngineLine::DecodeOptions);

QListWidgetItem* lineItem(const Ui::Form1& ui, int row)
{
    return ui.CheckListBox2->item(row);
}

template <typename Options>
Options reported(int32_t (*report)(Options*))
{
    Options options{};
    report(&options);
    return options;
}

// Shows a settings dialog with the values the decoder reports and applies
// the values of "Set"; false after "Cancel" or when the window closed meanwhile.
template <typename Dialog, typename Options, typename Apply>
bool editOptions(const AreaContext& context, int32_t (*report)(Options*), Apply apply)
{
    Dialog dialog(&context.window);
    dialog.setOptions(reported(report));
    if (dialogs().exec(dialog) != QDialog::Accepted || context.steps.windowClosed())
        return false;
    apply(dialog.options());
    return true;
}

} // namespace

bool isEngineLineChecked(const Ui::Form1& ui, EngineLine line)
{
    return lineItem(ui, static_cast<int>(line))->checkState() == Qt::Checked;
}

EnginePage::EnginePage(const AreaContext& context, QObject* parent) : QObject(parent), context_(context)
{
    QListWidget* list = context_.ui.CheckListBox2;
    CheckListDelegate::install(*list);
    // Every change the program makes is made under a signal blocker: what arrives here is the user's toggle.
    connect(list, &QListWidget::itemChanged, this, &EnginePage::checkListBox2ClickCheck);
    connect(list, &QListWidget::itemDoubleClicked, this, &EnginePage::checkListBox2DblClick);
    list->installEventFilter(this);
}

bool EnginePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == context_.ui.CheckListBox2 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            checkListBox2DblClick();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void EnginePage::setLineChecked(EngineLine line, bool checked)
{
    const QSignalBlocker quiet(context_.ui.CheckListBox2);
    lineItem(context_.ui, static_cast<int>(line))->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void EnginePage::setLineText(int row, const QString& text)
{
    const QSignalBlocker quiet(context_.ui.CheckListBox2);
    lineItem(context_.ui, row)->setText(text);
}

void EnginePage::setDecoderSettingEnabled(bool enabled)
{
    const QSignalBlocker quiet(context_.ui.CheckListBox2);
    QListWidgetItem* item = lineItem(context_.ui, kDecodeLine);
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
    const QSignalBlocker quiet(context_.ui.CheckListBox2);
    for (int row = 0; row < context_.ui.CheckListBox2->count(); ++row) {
        if (row == kBufferLine || row == kDecodeLine)
            continue;
        QListWidgetItem* item = lineItem(context_.ui, row);
        // Headers only show text: no check box and no selection colours.
        item->setFlags(item->flags() & ~(Qt::ItemIsUserCheckable | Qt::ItemIsSelectable));
        item->setData(Qt::CheckStateRole, QVariant());
    }
}

void EnginePage::checkListBox2ClickCheck(QListWidgetItem* item)
{
    const int row = context_.ui.CheckListBox2->row(item);
    if (row != kBufferLine && row != kDecodeLine)
        return;
    const bool checked = item->checkState() == Qt::Checked;
    const EngineLine line = static_cast<EngineLine>(row);
    // The settings change only between tracks, and the output format not
    // while the equalizer is on: such a toggle is taken back.
    if (context_.state.playback.trackOpen() || (line == EngineLine::DecodeOptions && context_.ui.CheckBox1->isChecked())) {
        setLineChecked(line, !checked);
        return;
    }
    if (line == EngineLine::BufferOptions)
        bufferLineToggled(checked);
    else
        decodeLineToggled(checked);
}

void EnginePage::bufferLineToggled(bool checked)
{
    if (!checked) {
        applyBufferOptions(kDefaultBufferOptions);
        return;
    }
    // A cancelled dialog leaves the line off and the decoder as it was.
    if (!editBufferOptions())
        setLineChecked(EngineLine::BufferOptions, false);
}

void EnginePage::decodeLineToggled(bool checked)
{
    if (!checked) {
        applyDecodeOptions(kDefaultDecodeOptions);
        context_.steps.setEqualizerSwitchEnabled(true);
        return;
    }
    if (editDecodeOptions())
        context_.steps.setEqualizerSwitchEnabled(false);
    else
        setLineChecked(EngineLine::DecodeOptions, false);
}

void EnginePage::checkListBox2DblClick()
{
    if (context_.state.playback.trackOpen())
        return;
    const int row = context_.ui.CheckListBox2->currentRow();
    if (row == kBufferLine && isEngineLineChecked(context_.ui, EngineLine::BufferOptions))
        editBufferOptions();
    else if (row == kDecodeLine && isEngineLineChecked(context_.ui, EngineLine::DecodeOptions))
        editDecodeOptions();
}

// After "Set" the lines show what the decoder reports: it clamps a value it
// does not take (a rate of 0 becomes 100), and that value is in force.
bool EnginePage::editBufferOptions()
{
    return editOptions<TOKBottomDlg>(context_, context_.decoder.getVbmp3Option, [this](const BufferOptions& chosen) {
        context_.decoder.setVbmp3Option(&chosen);
        showBufferOptions(reported(context_.decoder.getVbmp3Option));
    });
}

bool EnginePage::editDecodeOptions()
{
    return editOptions<TOKBottomDlg1>(context_, context_.decoder.getDecodeOption, [this](const DecodeOptions& chosen) {
        context_.decoder.setDecodeOption(&chosen);
        showDecodeOptions(reported(context_.decoder.getDecodeOption));
    });
}

void EnginePage::applyBufferOptions(const BufferOptions& options)
{
    context_.decoder.setVbmp3Option(&options);
    showBufferOptions(options);
}

void EnginePage::applyDecodeOptions(const DecodeOptions& options)
{
    context_.decoder.setDecodeOption(&options);
    showDecodeOptions(options);
}

void EnginePage::showBufferOptions(const BufferOptions& options)
{
    setLineText(kFrameBufferLine, frameBufferLine(options));
    setLineText(kSleepTimeLine, sleepTimeLine(options));
}

void EnginePage::showDecodeOptions(const DecodeOptions& options)
{
    setLineText(kDownSamplingLine, downSamplingText(options.downSampling));
    setLineText(kOutputChannelLine, outputChannelText(options.channels));
    setLineText(kSampleRateLine, sampleRateLine(options.frequencyLimit));
}

} // namespace nuvo
