// The list file the playlist is bound to, owned by the list-file area.
#pragma once

#include <QString>

namespace nuvo {

struct ListBinding {
    QString openedListPath;
    bool listOpened = false;
    bool listChanged = false;
};

} // namespace nuvo
