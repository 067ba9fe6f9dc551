#include "equalizer/EqualizerPage.h"

#include "app/Options.h"
#include "app/PlayerState.h"
#include "app/Settings.h"
#include "app/WindowSteps.h"
#include "equalizer/CurveImage.h"
#include "playback/EnginePage.h"
#include "ui_MainWindow.h"
#include "vbmp3_api.h"

#include <QLocale>
#include <QMouseEvent>
#include <QSignalBlocker>

#include <algorithm>

namespace nuvo {

static_assert(VBMP3_EQUALIZER_BANDS == kBandCount);

EqualizerPage::EqualizerPage(const AreaContext& context, EqualizerState& own, QObject* parent)
    : QObject(parent), context_(context), own_(own)
{
    connect(context_.ui.CheckBox1, &QAbstractButton::clicked, this, &EqualizerPage::onOffExecute);
    // The scroll box around the picture is in the window colour and takes the pointer like the picture.
    QWidget* viewport = context_.ui.ScrollBox1->viewport();
    viewport->setBackgroundRole(QPalette::Base);
    viewport->setAutoFillBackground(true);
    viewport->installEventFilter(this);
    image().installEventFilter(this);
}

CurveImage& EqualizerPage::image() const
{
    return *context_.ui.Image1;
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
    stepBand(band, &raisedValue);
}

void EqualizerPage::lowerBand(int band)
{
    stepBand(band, &loweredValue);
}

void EqualizerPage::stepBand(int band, std::int32_t (*step)(std::int32_t value, int step, bool highSpeed))
{
    std::int32_t& value = own_.table.at(static_cast<std::size_t>(band));
    const std::int32_t next = step(value, context_.state.options.equalizerKeyStep,
                                   isOptionChecked(context_.ui, Option::HighSpeed));
    // At an end nothing changes and nothing is drawn.
    if (next == value)
        return;
    value = next;
    redrawBand(band, ReadoutLabel::Key);
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

void EqualizerPage::drawEqualizer()
{
    applyEqualizer();
    for (int band = 0; band < kBandCount; ++band)
        drawBand(band, ReadoutLabel::Mouse);
}

void EqualizerPage::showCurve(const BandTable& table)
{
    eraseCurveArea();
    own_.table = table;
    drawEqualizer();
}

void EqualizerPage::eraseCurveArea()
{
    const QColor window = image().palette().color(QPalette::Base);
    image().rectangle(0, curve::kCurveTop, curve::kEraseRight, curve::kCurveBottom, window, window);
}

void EqualizerPage::redrawBand(int band, ReadoutLabel label)
{
    const QColor window = image().palette().color(QPalette::Base);
    const int top = bandRowTop(band);
    image().rectangle(0, top, curve::kEraseRight, top + curve::kRowHeight, window, window);
    drawBand(band, label);
}

void EqualizerPage::drawBand(int band, ReadoutLabel label)
{
    CurveImage& picture = image();
    const QColor window = picture.palette().color(QPalette::Base);
    const QColor text = picture.palette().color(QPalette::Text);
    const std::int32_t value = own_.table.at(static_cast<std::size_t>(band));
    const int top = bandRowTop(band);
    const int right = markerRight(value);
    picture.rectangle(right - curve::kMarkerWidth, top, right, top + curve::kRowHeight, text, window);
    const QString readout = readoutText(band, value, label, QLocale().decimalPoint());
    const int width = picture.textWidth(readout);
    const int left = readoutLeft(value, width);
    const int textTop = top + curve::kTextOffset;
    if (readoutReachesMarkerBorder(value, width)) {
        // The text's cell, the border under it included, inside the marker's top and bottom lines.
        const int bottom = std::min(textTop + picture.textHeight(), top + curve::kRowHeight - 1);
        picture.rectangle(std::min(left, right - curve::kMarkerWidth), textTop, left + width, bottom, window, window);
    }
    picture.text(left, textTop, readout, text);
}

bool EqualizerPage::eventFilter(QObject* watched, QEvent* event)
{
    QWidget* viewport = context_.ui.ScrollBox1->viewport();
    const QEvent::Type type = event->type();
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseMove
                       || type == QEvent::MouseButtonRelease;
    if (!mouse || (watched != &image() && watched != viewport))
        return QObject::eventFilter(watched, event);
    const auto* pointer = static_cast<QMouseEvent*>(event);
    // Both take the picture's coordinates.
    const QPoint at = watched == viewport ? image().mapFrom(viewport, pointer->position().toPoint())
                                          : pointer->position().toPoint();
    if (type == QEvent::MouseButtonPress)
        image1MouseDown(pointer->button(), at);
    else if (type == QEvent::MouseMove)
        image1MouseMove(pointer->buttons(), at);
    else
        image1MouseUp(pointer->button());
    return true;
}

void EqualizerPage::image1MouseDown(Qt::MouseButton button, QPoint at)
{
    if (button == Qt::LeftButton)
        editBandAt(at);
}

void EqualizerPage::image1MouseMove(Qt::MouseButtons buttons, QPoint at)
{
    if (buttons & Qt::LeftButton)
        editBandAt(at);
}

void EqualizerPage::image1MouseUp(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        applyEqualizer();
}

void EqualizerPage::editBandAt(QPoint at)
{
    // Nothing sent while the pointer draws: the release sends the table once.
    const std::optional<int> band = bandAt(at.y());
    if (!band)
        return;
    own_.table.at(static_cast<std::size_t>(*band)) = valueAt(at.x());
    redrawBand(*band, ReadoutLabel::Mouse);
}

} // namespace nuvo
