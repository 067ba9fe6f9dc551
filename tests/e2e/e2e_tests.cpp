// The real nuvo and libvbmp3.so on a virtual display: what a user would see
// and hear, read from window titles, the files left behind and the sound
// written by the wav output.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace {

bool waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (condition())
            return true;
        QThread::msleep(40);
    }
    return condition();
}

// Window ids whose title is exactly the given text.
QStringList windowsTitled(const QString& title)
{
    QProcess search;
    search.start(QStringLiteral(XDOTOOL),
                 {"search", "--onlyvisible", "--name", "^" + QRegularExpression::escape(title) + "$"});
    search.waitForFinished(5000);
    return QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// The visible windows of a process.
QStringList windowsOf(const QProcess& process)
{
    QProcess search;
    search.start(QStringLiteral(XDOTOOL), {"search", "--onlyvisible", "--pid", QString::number(process.processId())});
    search.waitForFinished(5000);
    return QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// Keys as the user presses them, one after the other, to the window that has the focus.
void pressKeys(const QStringList& keys)
{
    for (const QString& key : keys) {
        QProcess::execute(XDOTOOL, {"key", key});
        QThread::msleep(150);
    }
}

// waitForFinished says false for a process that has already ended.
bool hasEnded(QProcess& process, int timeoutMs)
{
    return process.state() == QProcess::NotRunning || process.waitForFinished(timeoutMs);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Seconds of sound in a 16-bit PCM wav file, from its header.
double wavSeconds(const QString& path)
{
    const QByteArray bytes = readFile(path);
    if (bytes.size() < 44 || !bytes.startsWith("RIFF"))
        return -1;
    auto u16 = [&](qsizetype at) { return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8); };
    auto u32 = [&](qsizetype at) { return quint32(u16(at) | quint32(u16(at + 2)) << 16); };
    int channels = 0, rate = 0, bits = 0;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = u32(at + 4);
        if (id == "fmt ") {
            channels = u16(at + 10);
            rate = static_cast<int>(u32(at + 12));
            bits = u16(at + 22);
        } else if (id == "data" && channels && rate && bits) {
            const qint64 available = std::min<qint64>(size, bytes.size() - at - 8);
            return double(available) / (channels * rate * bits / 8);
        }
        at += 8 + size + (size & 1);
    }
    return -1;
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid() && runtime_.isValid());
        environment_ = QProcessEnvironment::systemEnvironment();
        environment_.insert("NUVO_HOME", home_.path());
        environment_.insert("XDG_RUNTIME_DIR", runtime_.path());
        environment_.insert("NUVO_AUDIO_DRIVER", "wav");
        environment_.insert("NUVO_AUDIO_DEVICE", homePath("out.wav"));
        environment_.insert("NUVO_AUDIO_SPEED", "2");
        environment_.remove("QT_QPA_PLATFORM");
        QDir().mkpath(homePath("music"));
    }

    void TearDown() override
    {
        for (QProcess* process : {&player_, &second_}) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    QString homePath(const QString& name) const { return QDir(home_.path()).filePath(name); }

    QString copyFixture(const QString& name, const QString& folder = "music")
    {
        QDir().mkpath(homePath(folder));
        const QString target = homePath(folder + "/" + name);
        QFile::copy(QStringLiteral(NUVO_FIXTURES_DIR "/") + name, target);
        return target;
    }

    void startPlayer(QProcess& process, const QStringList& arguments, const QString& program = NUVO_EXECUTABLE)
    {
        process.setProcessEnvironment(environment_);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForStarted(5000));
    }

    // SIGTERM, as a session end or `kill` sends it; the player saves and exits 0.
    void terminate(QProcess& process)
    {
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
    }

    QTemporaryDir home_;
    QTemporaryDir runtime_;
    QProcessEnvironment environment_;
    QProcess player_;
    QProcess second_;
};

TEST_F(EndToEnd, TwoTracksPlayInOrderAndATerminationSavesTheSession)
{
    const QString first = copyFixture("cbr_v1.mp3");   // 3 s, ID3 title "Fixture Title"
    const QString second = copyFixture("tone_1k.mp3"); // 2 s, no tag, same format
    QElapsedTimer clock;
    clock.start();
    startPlayer(player_, {first, second});

    ASSERT_TRUE(waitUntil([] { return !windowsTitled("Fixture Title").isEmpty(); }, 10000))
        << "the caption shows the tag title of the first track";
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("tone_1k.mp3").isEmpty(); }, 10000))
        << "then the file name of the untagged second one";
    // Five seconds of sound at twice real time, and a little more for the end.
    const qint64 expectedEnd = 2500 + 1000;
    QThread::msleep(static_cast<unsigned long>(std::max<qint64>(0, expectedEnd - clock.elapsed())));
    EXPECT_FALSE(windowsTitled("tone_1k.mp3").isEmpty()) << "the last track stays open at the end";

    terminate(player_);
    const QString settings = QString::fromUtf8(readFile(homePath("Nuvo.ini")));
    EXPECT_TRUE(settings.contains("[List]\r\nReady=1\r\n")) << settings.toStdString();
    EXPECT_EQ(readFile(homePath("List.m3u")), (first + "\r\n" + second + "\r\n").toUtf8());
    EXPECT_NEAR(wavSeconds(homePath("out.wav")), 5.0, 0.1) << "both tracks were heard, whole";
}

TEST_F(EndToEnd, ASecondStartExitsAtOnceAndAddsNothing)
{
    startPlayer(player_, {});
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("Nuvo").isEmpty(); }, 10000));

    startPlayer(second_, {copyFixture("cbr_v1.mp3")});
    ASSERT_TRUE(hasEnded(second_, 10000));
    EXPECT_EQ(second_.exitCode(), 1);

    terminate(player_);
    EXPECT_EQ(readFile(homePath("List.m3u")), QByteArray()) << "the second start's track went nowhere";
}

TEST_F(EndToEnd, WithoutTheLibraryTheMessageShowsAndNoFileIsWritten)
{
    // The player alone in a folder of its own: there is no libvbmp3.so beside it.
    QTemporaryDir bin;
    const QString lonely = QDir(bin.path()).filePath("nuvo");
    ASSERT_TRUE(QFile::copy(NUVO_EXECUTABLE, lonely));
    QFile file(homePath("Nuvo.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[List]\r\nReady=2\r\n");
    file.close();

    startPlayer(player_, {copyFixture("cbr_v1.mp3")}, lonely);
    // The main window and the message box both carry the caption "Nuvo".
    ASSERT_TRUE(waitUntil([] { return windowsTitled("Nuvo").size() >= 2; }, 10000));
    for (const QString& window : windowsTitled("Nuvo")) {
        QProcess::execute(XDOTOOL, {"windowfocus", "--sync", window});
        QProcess::execute(XDOTOOL, {"key", "Return"});
        if (hasEnded(player_, 1000))
            break;
    }
    ASSERT_TRUE(hasEnded(player_, 10000));
    EXPECT_EQ(player_.exitCode(), 0);
    EXPECT_EQ(readFile(homePath("Nuvo.ini")), QByteArray("[List]\r\nReady=2\r\n"));
    const QStringList left = QDir(home_.path()).entryList(QDir::Files);
    EXPECT_EQ(left, QStringList{"Nuvo.ini"}) << "nothing was written";
}

TEST_F(EndToEnd, ATerminationWithAFileThatCannotBeWrittenEndsAndSaysWhy)
{
    // A folder where the settings file belongs: the close cannot replace it.
    ASSERT_TRUE(QDir(home_.path()).mkdir("Nuvo.ini"));
    player_.setProcessEnvironment(environment_);
    player_.start(NUVO_EXECUTABLE, {copyFixture("cbr_v1.mp3")});
    ASSERT_TRUE(player_.waitForStarted(5000));
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("Fixture Title").isEmpty(); }, 10000));

    ::kill(static_cast<pid_t>(player_.processId()), SIGTERM);
    ASSERT_TRUE(player_.waitForFinished(10000)) << "no message box keeps the process waiting";
    EXPECT_EQ(player_.exitCode(), 0);
    EXPECT_TRUE(QString::fromLocal8Bit(player_.readAllStandardError()).contains("Nuvo.ini"));
    EXPECT_FALSE(readFile(homePath("List.m3u")).isEmpty()) << "the other files were still written";
}

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
