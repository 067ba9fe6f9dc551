#include "app/KeyCommands.h"

#include "app/PlayerState.h"
#include "app/WindowSteps.h"
#include "equalizer/EqualizerPage.h"
#include "playback/Playback.h"
#include "playlist/PlaylistModel.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTabBar>
#include <QWheelEvent>

namespace nuvo {

namespace {

constexpr int kEqualizerPage = 2;
// One notch of a mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;

Qt::KeyboardModifiers commandModifiers(const QKeyEvent& event)
{
    return event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

// The place 0..9 of a key in the main row '1'..'9', '0', or -1. The place,
// not the character: Shift or a layout with signs on that row must not
// change what the key does. X11 and Wayland number the row's keys 10 to 19;
// an event without a key number goes by its character, the signs that Shift
// gives on a US keyboard included.
int mainRowPlace(const QKeyEvent& event)
{
    constexpr quint32 kFirstRowKey = 10;
    constexpr quint32 kLastRowKey = 19;
    if (const quint32 number = event.nativeScanCode(); number != 0)
        return number >= kFirstRowKey && number <= kLastRowKey ? static_cast<int>(number - kFirstRowKey) : -1;
    static constexpr int kDigits[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5,
                                      Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_0};
    static constexpr int kShifted[] = {Qt::Key_Exclam,      Qt::Key_At,        Qt::Key_NumberSign, Qt::Key_Dollar,
                                       Qt::Key_Percent,     Qt::Key_AsciiCircum, Qt::Key_Ampersand, Qt::Key_Asterisk,
                                       Qt::Key_ParenLeft,   Qt::Key_ParenRight};
    for (int place = 0; place < 10; ++place)
        if (event.key() == kDigits[place] || event.key() == kShifted[place])
            return place;
    return -1;
}

} // namespace

KeyCommands::KeyCommands(const AreaContext& context, Playback& playback, EqualizerPage& equalizer, QObject* parent)
    : QObject(parent), context_(context), playback_(playback), equalizer_(equalizer)
{
    // The tab bar holds the page control's focus; a click on any tab, the
    // active one too, gives it.
    context_.ui.PageControl1->tabBar()->setFocusPolicy(Qt::StrongFocus);
    // The window sees the keys before the focused control, and the wheel
    // before the widget under the cursor.
    qApp->installEventFilter(this);
}

bool KeyCommands::pageControlHasFocus() const
{
    return context_.ui.PageControl1->hasFocus();
}

bool KeyCommands::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (watched == context_.ui.PageControl1->tabBar() && pageControlHasFocus()) {
            const auto& key = static_cast<const QKeyEvent&>(*event);
            // Both steps see every press, as a key's down and its character do.
            const bool down = formKeyDown(key);
            const bool press = formKeyPress(key);
            return down || press;
        }
        break;
    case QEvent::KeyRelease:
        if (watched == context_.ui.PageControl1->tabBar() && pageControlHasFocus()) {
            const auto& key = static_cast<const QKeyEvent&>(*event);
            // Auto-repeat sends a release before each repeated press: only the real one counts.
            if (!key.isAutoRepeat())
                formKeyUp(key);
        }
        break;
    case QEvent::FocusOut:
        if (watched == context_.ui.PageControl1->tabBar())
            finishHeldKeys();
        break;
    case QEvent::Wheel: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == &context_.window && pageControlHasFocus())
            return formMouseWheel(static_cast<const QWheelEvent&>(*event));
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

int KeyCommands::bandOfKey(const QKeyEvent& event) const
{
    if (context_.ui.PageControl1->currentIndex() != kEqualizerPage || (event.modifiers() & Qt::KeypadModifier))
        return -1;
    // Key '1' is the first band, key '0' the tenth.
    return mainRowPlace(event);
}

bool KeyCommands::formKeyDown(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = commandModifiers(event);
    if (const int band = bandOfKey(event); band >= 0) {
        if (modifiers == Qt::NoModifier)
            equalizer_.raiseBand(band);
        else if (modifiers == Qt::ControlModifier)
            equalizer_.lowerBand(band);
        else
            return false;
        bandKeyHeld_ = true;
        return true;
    }
    if (modifiers != Qt::NoModifier || (event.modifiers() & Qt::KeypadModifier))
        return false;
    switch (event.key()) {
    case Qt::Key_D:
        playback_.seek().keySeekBack();
        return true;
    case Qt::Key_F:
        playback_.seek().keySeekForward();
        return true;
    case Qt::Key_A:
        playback_.volume().changeVolume(VolumeDirection::Down, 1);
        return true;
    case Qt::Key_S:
        playback_.volume().changeVolume(VolumeDirection::Up, 1);
        return true;
    default:
        return false;
    }
}

bool KeyCommands::formKeyPress(const QKeyEvent& event)
{
    if (commandModifiers(event) != Qt::NoModifier || (event.modifiers() & Qt::KeypadModifier))
        return false;
    const Ui::Form1& ui = context_.ui;
    const int key = event.key();
    if (key == Qt::Key_Q) {
        ui.ToolButton7->click();
        return true;
    }
    if (key == Qt::Key_W) {
        if (ui.ToolButton12->isEnabled())
            ui.ToolButton12->click();
        return true;
    }
    enum class Needs { Entries, OpenTrack };
    static constexpr struct {
        int key;
        Needs needs;
        void (Playback::*command)();
    } kPlayCommands[] = {
        {Qt::Key_Z, Needs::Entries, &Playback::previousExecute}, {Qt::Key_X, Needs::Entries, &Playback::playExecute},
        {Qt::Key_B, Needs::Entries, &Playback::nextExecute},     {Qt::Key_C, Needs::OpenTrack, &Playback::pauseExecute},
        {Qt::Key_V, Needs::OpenTrack, &Playback::stopExecute},
    };
    for (const auto& play : kPlayCommands) {
        if (play.key != key)
            continue;
        const bool possible = play.needs == Needs::Entries ? !context_.playlist.isEmpty()
                                                           : context_.state.playback.trackOpen();
        if (possible)
            (playback_.*play.command)();
        return true;
    }
    return false;
}

void KeyCommands::formKeyUp(const QKeyEvent& event)
{
    if (bandOfKey(event) >= 0) {
        bandKeyHeld_ = false;
        context_.steps.applyEqualizer();
        return;
    }
    if (event.key() == Qt::Key_D || event.key() == Qt::Key_F)
        playback_.seek().keySeekRelease();
}

void KeyCommands::finishHeldKeys()
{
    playback_.seek().keySeekRelease();
    if (bandKeyHeld_) {
        bandKeyHeld_ = false;
        context_.steps.applyEqualizer();
    }
}

bool KeyCommands::formMouseWheel(const QWheelEvent& event)
{
    // Fine-grained wheels send parts of a notch: one volume step per whole notch.
    wheelRemainder_ += event.angleDelta().y();
    for (; wheelRemainder_ >= kWheelNotch; wheelRemainder_ -= kWheelNotch)
        playback_.volume().changeVolume(VolumeDirection::Up, 1);
    for (; wheelRemainder_ <= -kWheelNotch; wheelRemainder_ += kWheelNotch)
        playback_.volume().changeVolume(VolumeDirection::Down, 1);
    return true;
}

} // namespace nuvo
