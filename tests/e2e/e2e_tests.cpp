// The real nuvo and libvbmp3.so on a virtual display: what a user would see
// and hear, read from window titles, the files left behind and the sound
// written by the wav output.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <functional>
#include <vector>

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

// A wav file as the wav output writes it: its format and its sound.
struct Wav {
    int format = 0; // 3: 32-bit float, what the library hands to the output
    int channels = 0;
    int rate = 0;
    int bits = 0;
    QByteArray data;

    bool valid() const { return channels > 0 && rate > 0 && bits > 0; }
    double seconds() const { return valid() ? double(data.size()) / (channels * rate * bits / 8) : -1; }
    // Root mean square of a float file's samples between two times, full scale 1.
    double rms(double fromSeconds, double toSeconds) const
    {
        const qsizetype from = qsizetype(fromSeconds * rate) * channels * 4;
        const qsizetype to = std::min<qsizetype>(qsizetype(toSeconds * rate) * channels * 4, data.size());
        double sum = 0;
        for (qsizetype at = from; at + 4 <= to; at += 4)
            sum += std::pow(qFromLittleEndian<float>(data.constData() + at), 2);
        return to > from ? std::sqrt(sum / double((to - from) / 4)) : 0;
    }
    // The first channel of a float file.
    std::vector<float> firstChannel() const
    {
        if (format != 3 || bits != 32 || channels == 0)
            return {};
        std::vector<float> samples(static_cast<std::size_t>(data.size() / (4 * channels)));
        for (std::size_t i = 0; i < samples.size(); ++i)
            std::memcpy(&samples[i], data.constData() + static_cast<qint64>(i) * 4 * channels, 4);
        return samples;
    }
};

Wav readWav(const QString& path)
{
    const QByteArray bytes = readFile(path);
    Wav wav;
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
        } else if (id == "data" && wav.valid()) {
            wav.data = bytes.mid(at + 8, std::min<qint64>(size, bytes.size() - at - 8));
            return wav;
        }
        at += 8 + size + (size & 1);
    }
    return wav;
}

// A 1 kHz tone at 8 kHz, mono 16-bit, whose level rises evenly from 0.05 to
// 0.95: the peak of any eight samples tells where in the track they are.
constexpr int kRampSeconds = 20;
constexpr int kRampRate = 8000;

void writeRampWav(const QString& path)
{
    const int frames = kRampSeconds * kRampRate;
    auto le = [](quint32 value, int bytes) {
        QByteArray out;
        for (int i = 0; i < bytes; ++i)
            out.append(char((value >> (8 * i)) & 0xff));
        return out;
    };
    QByteArray data;
    for (int n = 0; n < frames; ++n)
        data += le(quint16(std::lround(32767 * (0.05 + 0.9 * n / frames) * std::sin(M_PI * n / 4))), 2);
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("RIFF" + le(36 + data.size(), 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(kRampRate, 4) +
              le(kRampRate * 2, 4) + le(2, 2) + le(16, 2) + "data" + le(data.size(), 4) + data);
}

// Where in the ramp track each block of eight played samples came from, in seconds.
std::vector<double> rampPositions(const Wav& wav)
{
    std::vector<double> positions;
    const auto* samples = wav.data.constData();
    for (qsizetype at = 0; at + 8 * 4 <= wav.data.size(); at += 8 * 4) {
        float peak = 0;
        for (qsizetype i = at; i < at + 8 * 4; i += 4)
            peak = std::max(peak, std::abs(qFromLittleEndian<float>(samples + i)));
        positions.push_back((peak - 0.05) / 0.9 * kRampSeconds);
    }
    return positions;
}

QString xdotool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(XDOTOOL), arguments);
    tool.waitForFinished(5000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// Every visible window of the player: the main window, its menus and the
// tray icon (which has no title of its own).
qsizetype playerWindows()
{
    return xdotool({"search", "--onlyvisible", "--class", "nuvo"}).split('\n', Qt::SkipEmptyParts).size();
}

// Client coordinates in the designed window: the first tab, the progress bar.
constexpr int kTabX = 25, kTabY = 36;
constexpr int kBarLeft = 5, kBarWidth = 216, kBarY = 290;

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
        for (QProcess* process : {&player_, &second_, &tray_}) {
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

    void writeHomeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(homePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // A notification area on the virtual display, top right.
    void startTrayHost()
    {
        tray_.start(QStringLiteral(TRAYER), {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width",
                                             "64", "--heighttype", "pixel", "--height", "24"});
        ASSERT_TRUE(waitUntil([] { return !windowsTitled("panel").isEmpty(); }, 10000));
    }

    bool outputGrows(int withinMs) const
    {
        const qint64 before = QFileInfo(homePath("out.wav")).size();
        return waitUntil([&] { return QFileInfo(homePath("out.wav")).size() > before; }, withinMs);
    }

    QTemporaryDir home_;
    QTemporaryDir runtime_;
    QProcessEnvironment environment_;
    QProcess player_;
    QProcess second_;
    QProcess tray_;
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
    EXPECT_NEAR(readWav(homePath("out.wav")).seconds(), 5.0, 0.1) << "both tracks were heard, whole";
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

    const std::vector<float> played = readWav(homePath("out.wav")).firstChannel();
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

TEST_F(EndToEnd, TheOutputFormatFromTheSettingsIsHeard)
{
    // Half the rate, one channel, nothing above 5 kHz.
    QFile file(homePath("Nuvo.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Engine]\r\nDecoder=1\r\nDownSample=1\r\nChannel=1\r\nOutSample=5000\r\n");
    file.close();
    const QString low = copyFixture("tone_1k.mp3");  // 2 s, 44100 Hz stereo, 1 kHz at -13 dBFS
    const QString high = copyFixture("tone_10k.wav"); // 1 s, 44100 Hz mono, 10 kHz at -13 dBFS
    startPlayer(player_, {low, high});
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("tone_10k.wav").isEmpty(); }, 10000));
    // Three seconds of sound at twice real time, and a little more for the end.
    QThread::msleep(1500 + 1000);
    terminate(player_);

    const Wav wav = readWav(homePath("out.wav"));
    ASSERT_EQ(wav.format, 3) << "one format for both tracks: one file";
    EXPECT_EQ(wav.rate, 22050);
    EXPECT_EQ(wav.channels, 1);
    EXPECT_NEAR(wav.seconds(), 3.0, 0.1);
    // A sine of peak -13 dBFS has an RMS of about 0.158.
    const double kept = wav.rms(0.5, 1.5);
    const double cut = wav.rms(2.3, 2.8);
    EXPECT_NEAR(kept, 0.158, 0.03) << "1 kHz passes the limit, the mono mix keeps its level";
    EXPECT_LT(cut, kept / 100) << "10 kHz, below the new Nyquist frequency, is cut by the limit";

    const QString settings = QString::fromUtf8(readFile(homePath("Nuvo.ini")));
    EXPECT_TRUE(settings.contains("Decoder=1\r\n")) << settings.toStdString();
    EXPECT_TRUE(settings.contains("DownSample=1\r\nChannel=1\r\nOutSample=5000\r\n")) << settings.toStdString();
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
    startPlayer(player_, {copyFixture("tone_1k.wav")}); // 1 kHz at -13 dBFS
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
    const Wav heard = readWav(homePath("out.wav"));
    ASSERT_EQ(heard.format, 3);
    auto levelDb = [&](double from, double to) { return 20 * std::log10(std::max(heard.rms(from, to), 1e-10)); };
    // A sine of peak -13 dBFS: an RMS of -16 dBFS.
    const double flat = -16.0;
    // Where the sound drops back to the flat level, the switch took effect.
    double switchedAt = 0.2;
    while (switchedAt < heard.seconds() && levelDb(switchedAt, switchedAt + 0.1) > flat + 6)
        switchedAt += 0.1;
    ASSERT_GT(switchedAt, 1.0) << "the curve was heard from the start";
    ASSERT_GT(heard.seconds(), switchedAt + 1.5) << "the sound went on after the switch";
    const double boosted = levelDb(0.2, switchedAt - 0.2);
    const double after = levelDb(switchedAt + 0.3, heard.seconds() - 0.1);
    EXPECT_NEAR(boosted - flat, 12.0, 1.0) << "boosted " << boosted << " dB";
    EXPECT_NEAR(after, flat, 0.5) << "after the switch " << after << " dB";
}
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

TEST_F(EndToEnd, VolumeFiftyPlaysTwelveDecibelsLower)
{
    writeHomeFile("Nuvo.ini", "[Label]\r\nVolume=50\r\n");
    const QString tone = copyFixture("tone_1k.wav"); // 1 s
    startPlayer(player_, {tone});
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("tone_1k.wav").isEmpty(); }, 10000));
    QThread::msleep(1500); // half a second of sound at twice real time, and the end
    terminate(player_);
    const Wav played = readWav(homePath("out.wav"));
    ASSERT_EQ(played.format, 3);
    ASSERT_NEAR(played.seconds(), 1.0, 0.02);
    // A sine of peak -13 dBFS has an RMS of -16.0 dBFS; (50 / 100) squared is 40 x log10(0.5) = -12.04 dB.
    EXPECT_NEAR(20 * std::log10(played.rms(0.05, 0.95)), -16.0 - 12.04, 0.2);
}

TEST_F(EndToEnd, ADragOnTheBarShortensThePlayedOutputByTheSkippedSpan)
{
    const QString ramp = homePath("music/ramp.wav");
    writeRampWav(ramp);
    startPlayer(player_, {ramp});
    QString window;
    ASSERT_TRUE(waitUntil([&] { return !(window = windowsTitled("ramp.wav").value(0)).isEmpty(); }, 10000));
    const QString y = QString::number(kBarY);
    const int releaseX = kBarLeft + kBarWidth * 3 / 4;
    xdotool({"mousemove", "--window", window, QString::number(kBarLeft + 20), y, "mousedown", "1"});
    xdotool({"mousemove", "--window", window, QString::number(kBarLeft + kBarWidth / 2), y});
    xdotool({"mousemove", "--window", window, QString::number(releaseX), y, "mouseup", "1"});
    QThread::msleep(2500); // the last quarter at twice real time, until nothing more comes
    while (outputGrows(1000)) {
    }
    terminate(player_);

    const Wav played = readWav(homePath("out.wav"));
    ASSERT_EQ(played.format, 3);
    const std::vector<double> positions = rampPositions(played);
    std::size_t jump = 1;
    while (jump + 1 < positions.size() && positions[jump] - positions[jump - 1] < 1.0)
        ++jump;
    ASSERT_LT(jump + 1, positions.size()) << "the output jumps at the release";
    const double releasedAt = positions[jump - 1];
    const double target = positions[jump + 1];
    EXPECT_NEAR(target, double(kRampSeconds) * (releaseX - kBarLeft) / kBarWidth, 0.3) << "the point released";
    EXPECT_NEAR(played.seconds(), kRampSeconds - (target - releasedAt), 0.05) << "shorter by the skipped span";
    EXPECT_LT(played.seconds(), kRampSeconds / 2.0);
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
