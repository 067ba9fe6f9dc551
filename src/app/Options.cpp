// The option and engine check lists as far as the rest of the window reads
// and restores them, and the equalizer switch.
#include "app/MainWindow.h"

#include "app/ColorText.h"
#include "playback/EngineLines.h"
#include "playlist/PlaylistDelegate.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"

#include <QListWidget>

namespace nuvo {

namespace {

constexpr int kOptionHeaders[] = {0, 4, 6, 8, 10, 13, 15};

QListWidgetItem* itemAt(QListWidget* list, int row)
{
    return list->item(row);
}

void makeHeader(QListWidgetItem* item)
{
    item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    // Without check state data the item shows no check box at all.
    item->setData(Qt::CheckStateRole, QVariant());
}

void setItemEnabled(QListWidgetItem* item, bool enabled)
{
    item->setFlags(enabled ? item->flags() | Qt::ItemIsEnabled : item->flags() & ~Qt::ItemIsEnabled);
}

} // namespace

bool MainWindow::isOptionChecked(Option option) const
{
    return itemAt(ui_->CheckListBox1, static_cast<int>(option))->checkState() == Qt::Checked;
}

void MainWindow::setOptionChecked(Option option, bool checked)
{
    itemAt(ui_->CheckListBox1, static_cast<int>(option))->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool MainWindow::isEngineLineChecked(EngineLine line) const
{
    return itemAt(ui_->CheckListBox2, static_cast<int>(line))->checkState() == Qt::Checked;
}

void MainWindow::setEngineLineChecked(EngineLine line, bool checked)
{
    itemAt(ui_->CheckListBox2, static_cast<int>(line))->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void MainWindow::setEngineLineEnabled(EngineLine line, bool enabled)
{
    setItemEnabled(itemAt(ui_->CheckListBox2, static_cast<int>(line)), enabled);
}

void MainWindow::markHeaders()
{
    for (int row : kOptionHeaders)
        makeHeader(itemAt(ui_->CheckListBox1, row));
    for (int row = 0; row < ui_->CheckListBox2->count(); ++row) {
        if (row != static_cast<int>(EngineLine::BufferOptions) && row != static_cast<int>(EngineLine::DecodeOptions))
            makeHeader(itemAt(ui_->CheckListBox2, row));
    }
}

void MainWindow::showColorItem(Option option, const QString& colorText)
{
    const QString label = option == Option::PlayedColor ? QStringLiteral("Played/Standby")
                                                        : QStringLiteral("ProgressBar");
    itemAt(ui_->CheckListBox1, static_cast<int>(option))->setText(colorItemText(label, parseColorRef(colorText, 0)));
}

void MainWindow::setPreColor(const QString& text)
{
    preColor_ = text;
    const Rgb rgb = rgbFromRef(parseColorRef(text, colorRefFromRgb(0, 0, 0)));
    playlistDelegate_->setCurrentColor(QColor(rgb.r, rgb.g, rgb.b));
    playlist_->repaint(playlist_->currentIndex());
}

void MainWindow::setProColor(const QString& text)
{
    proColor_ = text;
    const Rgb rgb = rgbFromRef(parseColorRef(text, colorRefFromRgb(0, 0, 0)));
    progressColor_ = QColor(rgb.r, rgb.g, rgb.b);
}

void MainWindow::setTabsAtBottom(bool bottom)
{
    ui_->PageControl1->setTabPosition(bottom ? QTabWidget::South : QTabWidget::North);
}

void MainWindow::applyBufferOptions(const BufferOptions& options)
{
    decoder_.api.setVbmp3Option(&options);
    itemAt(ui_->CheckListBox2, kFrameBufferLine)->setText(frameBufferLine(options));
    itemAt(ui_->CheckListBox2, kSleepTimeLine)->setText(sleepTimeLine(options));
}

void MainWindow::applyDecodeOptions(const DecodeOptions& options)
{
    decoder_.api.setDecodeOption(&options);
    itemAt(ui_->CheckListBox2, kDownSamplingLine)->setText(downSamplingText(options.downSampling));
    itemAt(ui_->CheckListBox2, kOutputChannelLine)->setText(outputChannelText(options.channels));
    itemAt(ui_->CheckListBox2, kSampleRateLine)->setText(sampleRateLine(options.frequencyLimit));
}

void MainWindow::onOffExecute()
{
    if (isEngineLineChecked(EngineLine::DecodeOptions))
        return;
    const bool enabled = ui_->CheckBox1->isChecked();
    decoder_.api.setEqualizer(enabled ? equalizerTable_.data() : nullptr);
    if (trackOpen())
        decoder_.api.reload();
    // The equalizer and the user's output format exclude each other.
    setEngineLineEnabled(EngineLine::DecodeOptions, !enabled);
}

void MainWindow::applyEqualizer()
{
    if (!ui_->CheckBox1->isChecked())
        return;
    decoder_.api.setEqualizer(equalizerTable_.data());
    if (trackOpen())
        decoder_.api.reload();
}

} // namespace nuvo
