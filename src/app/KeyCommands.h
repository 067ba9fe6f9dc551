// The single-letter commands, the digit keys of the equalizer and the
// wheel's volume. All of them act only while the page control has the
// keyboard focus (its tab bar takes it when clicked), so the playlist and
// the edit boxes keep their keys and their wheel.
#pragma once

#include "app/AreaContext.h"

#include <QObject>

class QKeyEvent;
class QWheelEvent;

namespace nuvo {

class EqualizerPage;
class Playback;

class KeyCommands : public QObject {
    Q_OBJECT
public:
    KeyCommands(const AreaContext& context, Playback& playback, EqualizerPage& equalizer, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool pageControlHasFocus() const;
    // Each returns whether the key is one of the commands.
    bool formKeyDown(const QKeyEvent& event);
    bool formKeyPress(const QKeyEvent& event);
    void formKeyUp(const QKeyEvent& event);
    bool formMouseWheel(const QWheelEvent& event);
    // A key released while the focus was elsewhere still ends what its press began.
    void finishHeldKeys();
    // Band 0..9 of the digit keys 1..9, 0 on the Equalizer page; -1 otherwise.
    int bandOfKey(const QKeyEvent& event) const;

    AreaContext context_;
    Playback& playback_;
    EqualizerPage& equalizer_;
    bool bandKeyHeld_ = false;
    int wheelRemainder_ = 0;
};

} // namespace nuvo
