#include "app/TrayHotKeyTexts.h"

#include <gtest/gtest.h>

namespace nuvo {
namespace {

TEST(HotKeyTexts, LettersAndDigitsAndTheFirstOneUpperCased)
{
    EXPECT_EQ(hotKeyCharacters(QString::fromUtf8("a?é1 Z")), "a1Z");
    EXPECT_EQ(hotKeyCharacter("kx"), u'K');
    EXPECT_EQ(hotKeyCharacter("7"), u'7');
    EXPECT_EQ(hotKeyCharacter("?a"), 0) << "a hand-edited key no box would take grabs nothing";
}

TEST(TrayTip, SixtyThreeCharactersAtMostWithoutSplittingOne)
{
    const QString limit(63, QChar(u'x'));
    EXPECT_EQ(trayTip(limit + "yz"), limit);
    EXPECT_EQ(trayTip(QString(62, QChar(u'x')) + QString::fromUtf8("\U0001F3B5")), QString(62, QChar(u'x')));
}

} // namespace
} // namespace nuvo
