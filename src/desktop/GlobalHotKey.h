// A global hot key Ctrl+Alt+key, however the session lets a program have
// one. A key that cannot be had is no error: there is simply no hot key.
#pragma once

#include <functional>
#include <memory>

namespace nuvo {

class GlobalHotKey {
public:
    virtual ~GlobalHotKey() = default;

    // Asks for Ctrl+Alt+the key of an ASCII letter or digit; false when it
    // surely cannot be had. A backend that has to ask the desktop may still
    // be refused later, without a word. The key is given back on destruction.
    virtual bool grab(char16_t character) = 0;
};

// The way this session offers: the desktop portal in a Wayland session,
// the X server elsewhere. pressed runs inside the event loop.
std::unique_ptr<GlobalHotKey> makeGlobalHotKey(std::function<void()> pressed);

} // namespace nuvo
