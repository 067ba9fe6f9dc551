#include "playlist/SearchWalk.h"

#include "TestSupport.h"

namespace nuvo {
namespace {

using Action = SearchStep::Action;

struct Press {
    std::optional<int> focusedSelected;
    Action action;
    int index;
};

TEST(SearchWalk, PressesWalkThroughTheMatchesAndBack)
{
    // Matches at entries 2 and 5: each press starts after the focused entry.
    const QStringList paths{"/a.mp3", "/b.mp3", "/music/rock/a.mp3", "/c.mp3", "/d.mp3", "/x/Rocky.mp3", "/e.mp3"};
    const SearchText rock(QStringLiteral("ROCK"), QLocale::c());
    const Press presses[] = {
        {std::nullopt, Action::Select, 2},
        {2, Action::Select, 5},
        {5, Action::ReturnToCurrent, -1},    // past the last match
        {std::nullopt, Action::Select, 2},   // and round again
        {6, Action::ReturnToCurrent, -1},    // the last entry focused: nothing left to search
        {0, Action::Select, 2},
    };
    for (const Press& p : presses) {
        const SearchStep step = nextSearchStep(paths, rock, p.focusedSelected);
        EXPECT_EQ(step.action, p.action) << "focused " << p.focusedSelected.value_or(-1);
        if (p.action == Action::Select) {
            EXPECT_EQ(step.index, p.index);
        }
    }
}

TEST(SearchWalk, NothingHappensWithoutTextOrMatchAndNoSelection)
{
    const QStringList paths{"/a.mp3", "/b.mp3"};
    EXPECT_EQ(nextSearchStep(paths, SearchText({}, QLocale::c()), std::nullopt).action, Action::None);
    EXPECT_EQ(nextSearchStep(paths, SearchText({}, QLocale::c()), 0).action, Action::None);
    EXPECT_EQ(nextSearchStep(paths, SearchText("zzz", QLocale::c()), std::nullopt).action, Action::None);
    EXPECT_EQ(nextSearchStep({}, SearchText("a", QLocale::c()), std::nullopt).action, Action::None);
}

TEST(SearchText, BothSidesUpperCasedByTheLocale)
{
    struct Case {
        const char* locale;
        QString text;
        QString path;
        bool found;
    };
    const Case cases[] = {
        {"C", "rock", "/Music/ROCK/a.mp3", true},
        {"en_US", "Rock", "/music/rock/a.mp3", true},
        // Upper-casing may lengthen a letter: "ß" becomes "SS".
        {"de_DE", "strasse", "/Stra\u00dfe/a.mp3", true},
        {"de_DE", "stra\u00dfe", "/STRASSE/a.mp3", true},
        {"en_US", "caf\u00e9", "/CAF\u00c9.mp3", true},
        {"en_US", "cafe", "/caf\u00e9.mp3", false},
        // In Turkish a dotted "i" upper-cases to "İ", not to "I".
        {"tr_TR", "MIX", "/music/mix.mp3", false},
        {"tr_TR", "mix", "/music/mix.mp3", true},
        {"tr_TR", "MIX", "/MIX.mp3", true},
        {"en_US", "MIX", "/music/mix.mp3", true},
        {"en_US", "\u0131", "/I.mp3", true},  // dotless i upper-cases to I
    };
    for (const Case& c : cases) {
        const QLocale locale(QString::fromLatin1(c.locale));
        // The shortcut for ASCII paths must answer as the upper-cased copy does.
        ASSERT_EQ(locale.toUpper(c.path).contains(locale.toUpper(c.text)), c.found)
            << c.locale << " " << c.text.toStdString() << " in " << c.path.toStdString();
        EXPECT_EQ(SearchText(c.text, locale).foundIn(c.path), c.found)
            << c.locale << " " << c.text.toStdString() << " in " << c.path.toStdString();
    }
}

} // namespace
} // namespace nuvo
