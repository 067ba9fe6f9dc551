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

#include <cmath>
#include <csignal>
#include <cstring>
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

// The sound of a wav file as the wav output writes it: 16-bit PCM or 32-bit float.
struct WavSound {
    int format = 0;     // 1 PCM, 3 float
    int channels = 0;
    int rate = 0;
    int bits = 0;
    QByteArray data;    // as far as it was written

    qint64 frames() const { return channels && bits ? data.size() / (channels * bits / 8) : 0; }
    double seconds() const { return rate ? double(frames()) / rate : -1; }
    // The first channel's sample at a frame, full scale 1.
    double sample(qint64 frame) const
    {
        const char* at = data.constData() + frame * channels * (bits / 8);
        if (format == 3 && bits == 32) {
            float value;
            std::memcpy(&value, at, sizeof value);
            return value;
        }
        qint16 value;
        std::memcpy(&value, at, sizeof value);
        return value / 32768.0;
    }
};

WavSound readWav(const QString& path)
{
    const QByteArray bytes = readFile(path);
    WavSound sound;
    if (bytes.size() < 44 || !bytes.startsWith("RIFF"))
        return sound;
    auto u16 = [&](qsizetype at) { return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8); };
    auto u32 = [&](qsizetype at) { return quint32(u16(at) | quint32(u16(at + 2)) << 16); };
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = u32(at + 4);
        if (id == "fmt ") {
            sound.format = u16(at + 8);
            sound.channels = u16(at + 10);
            sound.rate = static_cast<int>(u32(at + 12));
            sound.bits = u16(at + 22);
        } else if (id == "data" && sound.channels && sound.rate && sound.bits) {
            sound.data = bytes.mid(at + 8, std::min<qint64>(size, bytes.size() - at - 8));
            return sound;
        }
        at += 8 + size + (size & 1);
    }
    return sound;
}

// Seconds of sound in a wav file.
double wavSeconds(const QString& path)
{
    return readWav(path).seconds();
}

// The level (RMS, dB of full scale) of the first channel from one second to another.
double levelDb(const WavSound& sound, double from, double to)
{
    const qint64 first = qint64(from * sound.rate);
    const qint64 last = std::min(qint64(to * sound.rate), sound.frames());
    double sum = 0;
    for (qint64 frame = first; frame < last; ++frame)
        sum += sound.sample(frame) * sound.sample(frame);
    return last > first ? 10 * std::log10(std::max(sum / double(last - first), 1e-20)) : -200;
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

    QString copyFixture(const QString& name)
    {
        const QString target = homePath("music/" + name);
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

TEST_F(EndToEnd, TheCurveIsHeardAndSwitchingItOffReturnsTheFlatLevelWhileTheTrackPlaysOn)
{
    // A preset that lifts 1 kHz by 12 dB, selected and switched on when the player was left;
    // the one-second tone repeats so that it plays on.
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(homePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write("Eqlz.lst", "Default\r\nBoost\r\n");
    write("Eqlz.ini", "[Boost]\r\n1kHz=120\r\n");
    write("Nuvo.ini", "[Equalizer]\r\nEnable=1\r\nItem=1\r\n[Option]\r\nSingle=1\r\n");
    const QString tone = copyFixture("tone_1k.wav");
    const double flat = levelDb(readWav(tone), 0.1, 0.9);

    startPlayer(player_, {tone});
    QStringList windows;
    ASSERT_TRUE(waitUntil([&] { return !(windows = windowsTitled("tone_1k.wav")).isEmpty(); }, 10000));
    QThread::msleep(1000);
    // The page control has the focus: two pages on to the Equalizer, then its "Enable" switch.
    QProcess::execute(XDOTOOL, {"windowfocus", "--sync", windows.first()});
    QProcess::execute(XDOTOOL, {"key", "--delay", "50", "Right", "Right", "Tab", "space"});
    QThread::msleep(1500);
    EXPECT_FALSE(windowsTitled("tone_1k.wav").isEmpty()) << "the track is still open";
    terminate(player_);

    EXPECT_TRUE(QString::fromUtf8(readFile(homePath("Nuvo.ini"))).contains("[Equalizer]\r\nEnable=0\r\nItem=1\r\n"))
        << "the switch was turned off";
    // Where the sound drops back to the flat level, the switch took effect.
    const WavSound heard = readWav(homePath("out.wav"));
    double switchedAt = 0.2;
    while (switchedAt < heard.seconds() && levelDb(heard, switchedAt, switchedAt + 0.1) > flat + 6)
        switchedAt += 0.1;
    ASSERT_GT(switchedAt, 1.0) << "the curve was heard from the start";
    ASSERT_GT(heard.seconds(), switchedAt + 1.5) << "the sound went on after the switch";
    const double boosted = levelDb(heard, 0.2, switchedAt - 0.2);
    const double after = levelDb(heard, switchedAt + 0.3, heard.seconds() - 0.1);
    EXPECT_NEAR(boosted - flat, 12.0, 1.0) << "boosted " << boosted << " dB, flat " << flat << " dB";
    EXPECT_NEAR(after, flat, 0.5) << "after the switch " << after << " dB";
}

} // namespace
