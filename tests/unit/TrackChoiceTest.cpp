#include "tag/TrackChoice.h"

#include <gtest/gtest.h>

namespace nuvo {
namespace {

// Five entries, the current one at 2.
PlaySituation situation(bool open, bool running, int focused)
{
    PlaySituation s;
    s.entryCount = 5;
    s.currentIndex = 2;
    s.hasSelection = focused >= 0;
    s.focusedIndex = focused;
    s.trackOpen = open;
    s.trackRunning = running;
    return s;
}

TEST(TrackChoice, TagTrackInEachPlayState)
{
    struct Case {
        const char* what;
        PlaySituation s;
        TrackChoice expected;
    };
    const Case cases[] = {
        {"closed, nothing selected: the current entry", situation(false, false, -1), {2, false}},
        {"closed, a selection: the focused entry", situation(false, false, 4), {4, false}},
        {"playing: the open track whatever is selected", situation(true, true, 4), {2, true}},
        {"stopped, another entry selected: that entry's file", situation(true, false, 0), {0, false}},
        {"stopped, the open entry selected: the open track", situation(true, false, 2), {2, true}},
        {"stopped, nothing selected: the open track", situation(true, false, -1), {2, true}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chooseTagTrack(c.s), c.expected) << c.what;

    PlaySituation empty;
    EXPECT_FALSE(chooseTagTrack(empty));
}

TEST(TrackChoice, RenameNeverTargetsTheOpenTrack)
{
    EXPECT_EQ(chooseRenameTrack(situation(false, false, -1)), 2);
    EXPECT_EQ(chooseRenameTrack(situation(false, false, 3)), 3);
    EXPECT_EQ(chooseRenameTrack(situation(true, false, 3)), 3);
    EXPECT_FALSE(chooseRenameTrack(situation(true, false, 2)));
    EXPECT_FALSE(chooseRenameTrack(situation(true, false, -1)));
    EXPECT_FALSE(chooseRenameTrack(situation(true, true, 3)));
    PlaySituation empty;
    EXPECT_FALSE(chooseRenameTrack(empty));
}

} // namespace
} // namespace nuvo
