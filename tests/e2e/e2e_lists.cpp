// A folder opened, a list saved through the menu and its dialog, and read back.
#include "EndToEnd.h"

namespace nuvo::e2e {
namespace {

TEST_F(EndToEnd, AFolderOpenedIsSavedAsPlsAndReadBackAfterARestart)
{
    const QString second = copyFixture("cbr_v1.mp3");
    const QString first = copyFixture("tone_1k.mp3", "music/sub"); // a sub-folder's tracks come first
    const QString list = homePath("saved.pls");
    startPlayer(player_, {homePath("music") + "/"});
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("tone_1k.mp3").isEmpty(); }, 10000)) << "the folder plays";
    const QStringList windows = windowsOf(player_);
    ASSERT_FALSE(windows.isEmpty());

    // The drop-down of the open button, then "SaveListAs..." > "Complete" from the bottom of the menu.
    QProcess::execute(XDOTOOL, {"mousemove", "--window", windows.first(), "30", "12", "click", "1"});
    QThread::msleep(400);
    pressKeys({"Up", "Up", "Up", "Right", "Return"});
    // (xdotool reads "<" in a name pattern as a word boundary, so the dialog is found as the second window.)
    ASSERT_TRUE(waitUntil([&] { return windowsOf(player_).size() == 2; }, 5000)) << "the save dialog opens";
    QStringList names;
    for (const QString& window : windowsOf(player_)) {
        QProcess name;
        name.start(QStringLiteral(XDOTOOL), {"getwindowname", window});
        name.waitForFinished(5000);
        names << QString::fromUtf8(name.readAllStandardOutput()).trimmed();
    }
    EXPECT_TRUE(names.contains("SaveList<CompletePath>")) << names.join(", ").toStdString();
    // The name, then the filter below it: the second one, PLS.
    QProcess::execute(XDOTOOL, {"type", "--delay", "5", list});
    pressKeys({"Tab", "Down", "Return"});
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(list); }, 5000));
    EXPECT_EQ(readFile(list), ("[playlist]\r\nFile1=" + first + "\r\nFile2=" + second + "\r\nNumberOfEntries=2\r\n").toUtf8());
    terminate(player_);

    // The next start with the saved list alone binds it and plays it from the top.
    ASSERT_TRUE(QFile::remove(homePath("List.m3u")));
    startPlayer(player_, {list});
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("tone_1k.mp3").isEmpty(); }, 10000));
    terminate(player_);
    EXPECT_EQ(readFile(homePath("List.m3u")), (first + "\r\n" + second + "\r\n").toUtf8());
    const QString settings = QString::fromUtf8(readFile(homePath("Nuvo.ini")));
    EXPECT_TRUE(settings.contains("OpenedList=" + list + "\r\nListChanged=0\r\n")) << settings.toStdString();
}

} // namespace
} // namespace nuvo::e2e
