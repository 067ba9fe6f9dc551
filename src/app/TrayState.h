// The notification-area icon and the global hot key.
#pragma once

namespace nuvo {

struct TrayState {
    bool trayIconShown = false;
    bool hotKeyRegistered = false;
    int hotKeyCode = 0;
};

} // namespace nuvo
