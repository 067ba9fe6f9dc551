#include "desktop/GlobalHotKey.h"

#include "desktop/X11HotKey.h"

namespace nuvo {

std::unique_ptr<GlobalHotKey> makeGlobalHotKey(std::function<void()> pressed)
{
    return std::make_unique<X11HotKey>(std::move(pressed));
}

} // namespace nuvo
