// What the tag page remembers between its handlers.
#pragma once

namespace nuvo {

struct TagState {
};

} // namespace nuvo
