#include "app/TrayHotKeyTexts.h"

#include <gtest/gtest.h>

namespace nuvo {
namespace {

TEST(HotKeyTexts, OnlyAsciiLettersAndDigitsAreKept)
{
    EXPECT_EQ(hotKeyCharacters("k"), "k");
    EXPECT_EQ(hotKeyCharacters("a?b"), "ab");
    EXPECT_EQ(hotKeyCharacters(QString::fromUtf8("é1 -Z")), "1Z");
    EXPECT_EQ(hotKeyCharacters("?!"), "");
}

TEST(HotKeyTexts, TheKeyIsTheFirstCharacterUpperCased)
{
    EXPECT_EQ(hotKeyCharacter("k"), u'K');
    EXPECT_EQ(hotKeyCharacter("kx"), u'K');
    EXPECT_EQ(hotKeyCharacter("7"), u'7');
    EXPECT_EQ(hotKeyCharacter(""), 0);
    EXPECT_EQ(hotKeyCharacter("?a"), 0) << "a hand-edited key that no box would take grabs nothing";
    EXPECT_EQ(hotKeyCharacter(QString::fromUtf8("é")), 0);
}

TEST(TrayTip, SixtyThreeCharactersAtMostWithoutSplittingACharacter)
{
    const QString short_ = "Nuvo";
    EXPECT_EQ(trayTip(short_), short_);
    const QString exact(63, QChar(u'x'));
    EXPECT_EQ(trayTip(exact), exact);
    EXPECT_EQ(trayTip(exact + "yz"), exact);
    // An emoji across the limit goes whole.
    const QString emoji = QString(62, QChar(u'x')) + QString::fromUtf8("\U0001F3B5") + "tail";
    EXPECT_EQ(trayTip(emoji), QString(62, QChar(u'x')));
}

} // namespace
} // namespace nuvo
