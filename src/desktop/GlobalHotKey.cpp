#include "desktop/GlobalHotKey.h"

#include "desktop/PortalHotKey.h"
#include "desktop/X11HotKey.h"

#include <QtGlobal>

namespace nuvo {

std::unique_ptr<GlobalHotKey> makeGlobalHotKey(std::function<void()> pressed)
{
    // Under Wayland an X11 grab sees keys only while an X11 window has the
    // focus, so it would hardly ever work there.
    const bool wayland = qgetenv("XDG_SESSION_TYPE") == "wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (wayland)
        return std::make_unique<PortalHotKey>(std::move(pressed));
    return std::make_unique<X11HotKey>(std::move(pressed));
}

} // namespace nuvo
