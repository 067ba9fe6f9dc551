#include "desktop/X11HotKey.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace nuvo {

namespace {

constexpr std::uint16_t kControlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
constexpr xcb_keysym_t kNumLockKeysym = 0xff7f;

// xcb hands out its replies with malloc.
struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// The keycodes that carry a keysym, from the server's keyboard map.
std::vector<xcb_keycode_t> keycodesOf(xcb_connection_t* connection, xcb_keysym_t keysym)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const int first = setup->min_keycode;
    const int count = setup->max_keycode - first + 1;
    ReplyPtr<xcb_get_keyboard_mapping_reply_t> map(xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, static_cast<std::uint8_t>(count)),
        nullptr));
    std::vector<xcb_keycode_t> found;
    if (!map)
        return found;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int perKeycode = map->keysyms_per_keycode;
    for (int code = 0; code < count; ++code) {
        for (int level = 0; level < perKeycode; ++level) {
            if (keysyms[code * perKeycode + level] == keysym) {
                found.push_back(static_cast<xcb_keycode_t>(first + code));
                break;
            }
        }
    }
    return found;
}

// The modifier bit Num Lock sets; Mod2 on nearly every keyboard map.
std::uint16_t numLockMask(xcb_connection_t* connection)
{
    const std::vector<xcb_keycode_t> numLock = keycodesOf(connection, kNumLockKeysym);
    ReplyPtr<xcb_get_modifier_mapping_reply_t> modifiers(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    if (modifiers && !numLock.empty()) {
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(modifiers.get());
        const int perModifier = modifiers->keycodes_per_modifier;
        for (int modifier = 0; modifier < 8; ++modifier) {
            for (int i = 0; i < perModifier; ++i) {
                if (codes[modifier * perModifier + i] == numLock.front())
                    return static_cast<std::uint16_t>(1u << modifier);
            }
        }
    }
    return XCB_MOD_MASK_2;
}

} // namespace

X11HotKey::X11HotKey(std::function<void()> pressed) : pressed_(std::move(pressed))
{
}

X11HotKey::~X11HotKey()
{
    ungrab();
}

bool X11HotKey::grab(char16_t character)
{
    ungrab();
    const bool letter = (character >= u'A' && character <= u'Z');
    const bool digit = (character >= u'0' && character <= u'9');
    connection_ = x11Connection();
    if (!connection_ || !(letter || digit))
        return false;
    // Letter keys carry the small letter's keysym first (keysyms are Latin-1 codes).
    const xcb_keysym_t keysym = letter ? character - u'A' + u'a' : character;
    const std::vector<xcb_keycode_t> keycodes = keycodesOf(connection_, keysym);
    if (keycodes.empty())
        return false;
    keycode_ = keycodes.front();
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;

    const std::uint16_t numLock = numLockMask(connection_);
    for (const std::uint16_t locks : {std::uint16_t(0), std::uint16_t(XCB_MOD_MASK_LOCK), numLock,
                                      std::uint16_t(XCB_MOD_MASK_LOCK | numLock)}) {
        const std::uint16_t modifiers = kControlAlt | locks;
        // A checked request: a key held by another program answers with an
        // error here instead of a warning in the event loop.
        ReplyPtr<xcb_generic_error_t> error(xcb_request_check(
            connection_, xcb_grab_key_checked(connection_, 1, root_, modifiers, keycode_, XCB_GRAB_MODE_ASYNC,
                                              XCB_GRAB_MODE_ASYNC)));
        if (error) {
            ungrab();
            return false;
        }
        grabbedModifiers_.push_back(modifiers);
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
    return true;
}

void X11HotKey::ungrab()
{
    if (!connection_)
        return;
    if (!grabbedModifiers_.empty()) {
        for (const std::uint16_t modifiers : grabbedModifiers_)
            xcb_ungrab_key(connection_, keycode_, root_, modifiers);
        xcb_flush(connection_);
        grabbedModifiers_.clear();
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    connection_ = nullptr;
}

bool X11HotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (grabbedModifiers_.empty() || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    // Press and release share their layout.
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    if (key->event != root_ || key->detail != keycode_ || (key->state & kControlAlt) != kControlAlt)
        return false;
    if (type == XCB_KEY_PRESS)
        pressed_();
    return true;
}

} // namespace nuvo
