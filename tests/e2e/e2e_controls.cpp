// The hot key, the tray and the letter keys, driven with xdotool.
#include "EndToEnd.h"

namespace nuvo::e2e {
namespace {

TEST_F(EndToEnd, TheHotKeyHidesToTheTrayAndBackAndTheTrayMenuExitSaves)
{
    startTrayHost();
    writeHomeFile("Nuvo.ini", "[HotKey]\r\nKey=k\r\n");
    startPlayer(player_, {});
    const auto shown = [] { return !windowsTitled("Nuvo").isEmpty(); };
    ASSERT_TRUE(waitUntil(shown, 10000));

    xdotool({"key", "ctrl+alt+k"});
    ASSERT_TRUE(waitUntil([&] { return !shown() && playerWindows() == 1; }, 5000)) << "only the tray icon";
    xdotool({"key", "Caps_Lock", "ctrl+alt+k", "Caps_Lock"}); // Caps Lock does not get in the way
    ASSERT_TRUE(waitUntil([&] { return shown() && playerWindows() == 1; }, 5000)) << "only the window";

    // A second player with its own files asks for the same key: refused, and nothing said.
    QTemporaryDir otherHome;
    QFile::copy(homePath("Nuvo.ini"), QDir(otherHome.path()).filePath("Nuvo.ini"));
    QProcessEnvironment other = environment_;
    other.insert("NUVO_HOME", otherHome.path());
    other.insert("XDG_RUNTIME_DIR", otherHome.path());
    second_.setProcessEnvironment(other);
    second_.start(NUVO_EXECUTABLE, {});
    ASSERT_TRUE(waitUntil([] { return windowsTitled("Nuvo").size() == 2; }, 10000));
    terminate(second_);
    EXPECT_EQ(QString::fromLocal8Bit(second_.readAllStandardError()), "");

    // Hidden again, the icon's menu ends the program with its usual saving.
    xdotool({"key", "ctrl+alt+k"});
    ASSERT_TRUE(waitUntil([&] { return !shown() && playerWindows() == 1; }, 5000));
    const QString icon = xdotool({"search", "--onlyvisible", "--class", "nuvo"}).trimmed();
    xdotool({"mousemove", "--window", icon, "8", "8", "click", "3"});
    ASSERT_TRUE(waitUntil([] { return playerWindows() == 2; }, 5000)) << "the menu beside the icon";
    xdotool({"key", "Up", "Return"}); // its last item, "Exit"
    ASSERT_TRUE(hasEnded(player_, 10000));
    EXPECT_EQ(player_.exitCode(), 0);
    EXPECT_TRUE(readFile(homePath("Nuvo.ini")).contains("[HotKey]\r\nKey=k\r\nLock=0\r\n"));
}

TEST_F(EndToEnd, KeysXCCVVPlayPauseResumeStopAndClose)
{
    const QString track = homePath("music/ramp.wav");
    writeRampWav(track);
    writeHomeFile("List.m3u", (track + "\r\n").toUtf8());
    startPlayer(player_, {});
    QString window;
    ASSERT_TRUE(waitUntil([&] { return !(window = windowsTitled("Nuvo").value(0)).isEmpty(); }, 10000));
    xdotool({"windowfocus", "--sync", window});
    xdotool({"mousemove", "--window", window, QString::number(kTabX), QString::number(kTabY), "click", "1"});

    xdotool({"key", "x"});
    EXPECT_TRUE(waitUntil([] { return !windowsTitled("ramp.wav").isEmpty(); }, 5000));
    EXPECT_TRUE(outputGrows(3000)) << "playing";
    xdotool({"key", "c"});
    QThread::msleep(1000); // what the output buffer still held
    EXPECT_FALSE(outputGrows(1000)) << "paused";
    xdotool({"key", "c"});
    EXPECT_TRUE(outputGrows(3000)) << "resumed";
    xdotool({"key", "v"});
    QThread::msleep(1000);
    EXPECT_FALSE(outputGrows(1000)) << "stopped";
    EXPECT_FALSE(windowsTitled("ramp.wav").isEmpty()) << "and still open";
    xdotool({"key", "v"});
    EXPECT_TRUE(waitUntil([] { return !windowsTitled("Nuvo").isEmpty(); }, 5000)) << "closed";
    terminate(player_);
}

} // namespace
} // namespace nuvo::e2e
