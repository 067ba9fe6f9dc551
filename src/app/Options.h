// The option list's items that carry an option (the others are headers),
// read wherever an option matters.
#pragma once

namespace Ui {
class Form1;
}

namespace nuvo {

enum class Option {
    Single = 1,
    All = 2,
    Random = 3,
    Slow = 5,
    HighSpeed = 7,
    SaveSize = 9,
    PlayedColor = 11,
    ProgressColor = 12,
    TabsAtBottom = 14,
    AutoStart = 16,
    ClearListToOpen = 17,
};

bool isOptionChecked(const Ui::Form1& ui, Option option);

// Pages of the page control.
inline constexpr int kFileListPage = 0;
inline constexpr int kTagEditPage = 1;

class WindowSteps;

// While the TagEdit page shows, the tag view follows a change of the list or
// the track, and the page control keeps the focus so the keys keep working.
void refreshTagViewOnTagPage(Ui::Form1& ui, WindowSteps& steps);

} // namespace nuvo
