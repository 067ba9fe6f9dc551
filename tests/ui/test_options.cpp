// The option list: the loop modes exclude each other and the navigation
// buttons follow them, the colour options and the tab position.
#include "WindowTest.h"

#include <QListWidget>
#include <QTabWidget>

namespace nuvo::test {
namespace {

class OptionsTest : public WindowTest {
protected:
    QListWidget* options() const { return window_->findChild<QListWidget*>("CheckListBox1"); }
    QString itemText(Option option) const { return options()->item(static_cast<int>(option))->text(); }
    QStringList checkedLoopModes() const
    {
        QStringList modes;
        for (Option option : {Option::Single, Option::All, Option::Random}) {
            if (window_->isOptionChecked(option))
                modes << itemText(option);
        }
        return modes;
    }
    QString savedSettings() const { return QString::fromUtf8(readHomeFile("Nuvo.ini")); }
    QColor barColourAt(int x) const
    {
        auto* bar = window_->findChild<QWidget*>("Image2");
        const QImage picture = bar->grab().toImage();
        return picture.pixelColor(x, picture.height() / 2);
    }
};

TEST_F(OptionsTest, LoopModesExcludeEachOtherAndTheNavigationFollowsAtOnce)
{
    writePlaylist({addTrack("a.mp3"), addTrack("b.mp3"), addTrack("c.mp3")});
    // Both stored checked: taken as stored until the user picks a mode.
    writeHomeFile("Nuvo.ini", "[Option]\r\nSingle=1\r\nAll=1\r\n");
    start();
    EXPECT_EQ(checkedLoopModes(), (QStringList{"Single", "All"}));
    EXPECT_TRUE(action("Previous")->isEnabled()) << "All with several entries enables both";

    struct Step {
        Option option;
        bool checked;
        QStringList modes;
        bool previous; // at the first entry of three: Next stays enabled throughout
    };
    const Step steps[] = {
        {Option::Random, true, {"Random"}, false},
        {Option::All, true, {"All"}, true},
        {Option::Single, true, {"Single"}, false},
        {Option::All, true, {"All"}, true},
        {Option::All, false, {}, false},
        {Option::Random, true, {"Random"}, false},
        {Option::Single, true, {"Single"}, false},
    };
    for (const Step& step : steps) {
        setOption(step.option, step.checked);
        const std::string what = itemText(step.option).toStdString() + (step.checked ? " checked" : " unchecked");
        EXPECT_EQ(checkedLoopModes(), step.modes) << what;
        EXPECT_EQ(action("Previous")->isEnabled(), step.previous) << what;
        EXPECT_TRUE(action("Next")->isEnabled()) << what;
    }
}

TEST_F(OptionsTest, AllWithOneEntryLeavesBothNavigationButtonsDisabled)
{
    writePlaylist({addTrack("a.mp3")});
    start();
    setOption(Option::All, true);
    EXPECT_FALSE(action("Previous")->isEnabled());
    EXPECT_FALSE(action("Next")->isEnabled());
}

TEST_F(OptionsTest, AChosenProgressColourFillsTheBarAndTheDialogRemembersIt)
{
    writePlaylist({addTrack("a.mp3", {"", 200, 2, 128})});
    writeHomeFile("Nuvo.ini", "[Option]\r\nPreColor=255\r\n");
    start();
    const QColor chosen(0x12, 0x34, 0x56);
    dialogs_.colorAnswers.push_back(chosen);
    setOption(Option::ProgressColor, true);
    ASSERT_EQ(dialogs_.asked.size(), 1u);
    EXPECT_EQ(itemText(Option::ProgressColor), "ProgressBar <123456>");

    action("Play")->trigger();
    fake_->position = 100;
    ASSERT_TRUE(waitFor([&] { return barColourAt(1) == chosen; })) << "the filled part takes the colour";

    // The other colour option: its dialog opens with the colour chosen last; Cancel keeps its colour.
    setOption(Option::PlayedColor, true);
    ASSERT_EQ(dialogs_.asked.size(), 2u);
    EXPECT_EQ(dialogs_.asked.back().text, chosen.name());
    EXPECT_FALSE(window_->isOptionChecked(Option::PlayedColor));
    EXPECT_EQ(itemText(Option::PlayedColor), "Played/Standby");

    setOption(Option::ProgressColor, false);
    EXPECT_EQ(itemText(Option::ProgressColor), "ProgressBar");
    const QColor highlight = window_->palette().color(QPalette::Highlight);
    fake_->position = 150;
    ASSERT_TRUE(waitFor([&] { return barColourAt(1) == highlight; })) << "the desktop's highlight again";
    EXPECT_EQ(dialogs_.asked.size(), 2u) << "unchecking asks nothing";
    closeWindow();
    EXPECT_TRUE(savedSettings().contains("Prepared=0\r\nProgress=0\r\n"));
    EXPECT_TRUE(savedSettings().contains("PreColor=255\r\n")) << "the cancelled option kept its colour";
}

TEST_F(OptionsTest, BottomMovesTheTabsAndKeepsTheHeadersOfBothLists)
{
    start();
    auto* pages = window_->findChild<QTabWidget*>("PageControl1");
    pages->setCurrentIndex(4);
    options()->setFocus();
    setOption(Option::TabsAtBottom, true);
    EXPECT_EQ(pages->tabPosition(), QTabWidget::South);
    QWidget* tabBar = pages->focusProxy() ? pages->focusProxy() : pages;
    EXPECT_EQ(window_->focusWidget(), tabBar) << "the letter keys act again";
    auto* engine = window_->findChild<QListWidget*>("CheckListBox2");
    for (int row = 0; row < 18; ++row) {
        const bool option = row != 0 && row != 4 && row != 6 && row != 8 && row != 10 && row != 13 && row != 15;
        EXPECT_EQ(bool(options()->item(row)->flags() & Qt::ItemIsUserCheckable), option) << row;
        EXPECT_EQ(bool(engine->item(row)->flags() & Qt::ItemIsUserCheckable), row == 0 || row == 6) << row;
    }
    setOption(Option::TabsAtBottom, false);
    EXPECT_EQ(pages->tabPosition(), QTabWidget::North);
}

} // namespace
} // namespace nuvo::test
