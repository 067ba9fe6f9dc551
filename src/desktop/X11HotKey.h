// A global hot key Ctrl+Alt+key on X11: a passive grab on the root window,
// whose presses arrive through a native event filter. Where there is no X11
// (Wayland, offscreen) or another program holds the key, nothing is grabbed
// and nothing is said.
#pragma once

#include "desktop/GlobalHotKey.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <functional>
#include <vector>

struct xcb_connection_t;

namespace nuvo {

class X11HotKey : public GlobalHotKey, public QAbstractNativeEventFilter {
public:
    explicit X11HotKey(std::function<void()> pressed);
    ~X11HotKey() override;

    X11HotKey(const X11HotKey&) = delete;
    X11HotKey& operator=(const X11HotKey&) = delete;

    // Grabs Ctrl+Alt+the key of an ASCII letter or digit, also with Caps Lock
    // and Num Lock on; false when that cannot be done.
    bool grab(char16_t character) override;
    void ungrab();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
    std::uint8_t keycode_ = 0;
    std::vector<std::uint16_t> grabbedModifiers_;
    std::function<void()> pressed_;
};

} // namespace nuvo
