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

// The format and the sound of a wav file, as far as the file holds it.
struct WavContent {
    int format = 0;  // 1 integer PCM, 3 float
    int channels = 0;
    int rate = 0;
    int bits = 0;
    QByteArray data;
};

WavContent wavContent(const QString& path)
{
    const QByteArray bytes = readFile(path);
    WavContent wav;
    if (bytes.size() < 44 || !bytes.startsWith("RIFF"))
        return wav;
    auto u16 = [&](qsizetype at) { return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8); };
    auto u32 = [&](qsizetype at) { return quint32(u16(at) | quint32(u16(at + 2)) << 16); };
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = u32(at + 4);
        if (id == "fmt ") {
            wav.format = u16(at + 8);
            wav.channels = u16(at + 10);
            wav.rate = static_cast<int>(u32(at + 12));
            wav.bits = u16(at + 22);
        } else if (id == "data") {
            wav.data = bytes.mid(at + 8, std::min<qint64>(size, bytes.size() - at - 8));
            break;
        }
        at += 8 + size + (size & 1);
    }
    return wav;
}

// Seconds of sound in a wav file.
double wavSeconds(const QString& path)
{
    const WavContent wav = wavContent(path);
    if (wav.channels == 0 || wav.rate == 0 || wav.bits == 0)
        return -1;
    return double(wav.data.size()) / (wav.channels * wav.rate * wav.bits / 8);
}

// The first channel of a 32-bit float wav file, as the wav output writes it.
std::vector<float> wavFirstChannel(const QString& path)
{
    const WavContent wav = wavContent(path);
    if (wav.format != 3 || wav.bits != 32 || wav.channels == 0)
        return {};
    std::vector<float> samples(static_cast<std::size_t>(wav.data.size() / (4 * wav.channels)));
    for (std::size_t i = 0; i < samples.size(); ++i)
        std::memcpy(&samples[i], wav.data.constData() + static_cast<qint64>(i) * 4 * wav.channels, 4);
    return samples;
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

// The player's own end-of-track step (a 100 ms timer, then close, open and
// play) on a device paced in real time: two halves of one tone join with at
// most 5 ms of silence put in, which the paced wav output would record.
TEST_F(EndToEnd, TwoHalvesOfOneToneJoinWithoutAGap)
{
    environment_.insert("NUVO_AUDIO_SPEED", "1");
    const QString first = copyFixture("gapless_a.mp3");   // 1 s each, 44.1 kHz stereo
    const QString second = copyFixture("gapless_b.mp3");
    startPlayer(player_, {first, second});
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("gapless_b.mp3").isEmpty(); }, 10000));
    QThread::msleep(1500);  // the second half to its end
    terminate(player_);

    const std::vector<float> played = wavFirstChannel(homePath("out.wav"));
    std::size_t longestSilence = 0;
    for (std::size_t i = 0, run = 0; i < played.size(); ++i) {
        run = played[i] == 0.0f ? run + 1 : 0;
        longestSilence = std::max(longestSilence, run);
    }
    const std::size_t fiveMs = 44100 / 200;
    EXPECT_GE(played.size(), 2u * 44100u) << "both halves were heard, whole";
    EXPECT_LE(played.size(), 2u * 44100u + fiveMs);
    EXPECT_LE(longestSilence, fiveMs) << "frames of silence in a row";
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

} // namespace
