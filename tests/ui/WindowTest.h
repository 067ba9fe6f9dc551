// A main window with the fake decoder in its own temporary program directory.
#pragma once

#include "FakeDecoder.h"
#include "ScriptedDialogs.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QLabel>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace nuvo::test {

// Pictures are drawn at the screen's resolution; their rules are in window
// pixels. These map one onto the other for any scale factor.
struct DevicePixels {
    explicit DevicePixels(const QImage& picture) : ratio(picture.devicePixelRatio()) {}
    // The first device pixel of a window pixel: its edge rounded as the painter rounds it.
    int first(int windowPixel) const { return qRound(windowPixel * ratio); }
    qreal ratio;
};

// What marks a window pixel whose device pixels do not all have one colour.
inline constexpr QRgb kMixedPixel = 0x00123456;

// The colour of a window pixel of the picture, or kMixedPixel.
QRgb windowPixel(const QImage& picture, int x, int y);

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the window as the program would: created, then shown.
    MainWindow& start(const QStringList& arguments = {});
    // The same with another decoder (the real library).
    MainWindow& startWith(DecoderBinding decoder, const QStringList& arguments = {});
    // Closes it (saving as at a normal close) and destroys it.
    void closeWindow();

    QString homePath(const QString& name) const;
    void writeHomeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readHomeFile(const QString& name) const;
    // An (empty) audio file on disk that the fake decoder opens.
    QString addTrack(const QString& name, FakeTrack track = {});
    // A path the fake decoder refuses to open.
    QString addBrokenTrack(const QString& name);
    void writePlaylist(const QStringList& paths) const;

    QAction* action(const char* name) const;
    QLabel* label(const char* name) const;
    QListView* playlistView() const;
    QString panel(int index) const { return window_->statusText(index); }
    void setOption(Option option, bool checked);
    void selectRow(int row);
    // Makes the window active and gives the page control the keyboard focus;
    // its tab bar, which then holds the focus, is where the keys go.
    QWidget* focusPageControl();
    // One key event; auto-repeat as a held key sends it.
    void sendKey(QWidget* target, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                 bool autoRepeat = false);
    void typeKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Lets the play timer run until the condition holds (false on timeout).
    bool waitFor(const std::function<bool()>& condition, int timeoutMs = 3000);

    QTemporaryDir home_;
    FakeDecoder* fake_ = nullptr;
    ScriptedDialogs dialogs_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace nuvo::test
