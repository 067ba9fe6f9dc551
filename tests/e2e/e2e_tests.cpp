// The real nuvo and libvbmp3.so on a virtual display: what a user would see
// and hear, read from window titles, the files left behind and the sound
// written by the wav output.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QProcess>
#include <QRect>
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

// The samples of a wav file as floats, whatever the output wrote: 16-bit
// PCM or 32-bit float.
struct Wav {
    int channels = 0;
    int rate = 0;
    std::vector<float> samples;
    double seconds() const { return channels && rate ? double(samples.size()) / (channels * rate) : -1; }
};

Wav readWav(const QString& path)
{
    const QByteArray bytes = readFile(path);
    Wav wav;
    if (bytes.size() < 44 || !bytes.startsWith("RIFF"))
        return wav;
    auto u16 = [&](qsizetype at) { return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8); };
    auto u32 = [&](qsizetype at) { return quint32(u16(at) | quint32(u16(at + 2)) << 16); };
    int format = 0, bits = 0;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = u32(at + 4);
        if (id == "fmt ") {
            format = u16(at + 8);
            wav.channels = u16(at + 10);
            wav.rate = static_cast<int>(u32(at + 12));
            bits = u16(at + 22);
        } else if (id == "data") {
            const qsizetype end = std::min<qsizetype>(at + 8 + size, bytes.size());
            for (qsizetype p = at + 8; p + bits / 8 <= end; p += bits / 8) {
                if (format == 3 && bits == 32) {
                    const quint32 word = u32(p);
                    float value;
                    std::memcpy(&value, &word, sizeof value);
                    wav.samples.push_back(value);
                } else if (bits == 16) {
                    wav.samples.push_back(qint16(u16(p)) / 32768.0f);
                }
            }
            break;
        }
        at += 8 + size + (size & 1);
    }
    return wav;
}

double rms(const std::vector<float>& samples)
{
    double sum = 0;
    for (float s : samples)
        sum += double(s) * s;
    return samples.empty() ? 0 : std::sqrt(sum / samples.size());
}

// A 1 kHz tone at 8 kHz, mono 16-bit, whose level rises evenly from 0.05 to
// 0.95 over the track: the peak of any eight samples tells where in the
// track they come from.
constexpr int kRampRate = 8000;
constexpr double kRampLow = 0.05;
constexpr double kRampSpan = 0.9;

void writeRampWav(const QString& path, int seconds)
{
    const int frames = seconds * kRampRate;
    QByteArray data;
    for (int n = 0; n < frames; ++n) {
        const double level = kRampLow + kRampSpan * n / frames;
        const auto value = static_cast<qint16>(std::lround(32767 * level * std::sin(2 * M_PI * n / 8)));
        data.append(char(value & 0xff)).append(char((value >> 8) & 0xff));
    }
    auto le = [](quint32 value, int bytes) {
        QByteArray out;
        for (int i = 0; i < bytes; ++i)
            out.append(char((value >> (8 * i)) & 0xff));
        return out;
    };
    const auto size = static_cast<quint32>(data.size());
    const QByteArray file = "RIFF" + le(36 + size, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) +
                            le(kRampRate, 4) + le(kRampRate * 2, 4) + le(2, 2) + le(16, 2) + "data" + le(size, 4) + data;
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(file);
}

// Where in a ramp track each block of eight output samples came from, in seconds.
std::vector<double> rampPositions(const Wav& wav, int trackSeconds)
{
    std::vector<double> positions;
    for (std::size_t at = 0; at + 8 <= wav.samples.size(); at += 8) {
        float peak = 0;
        for (std::size_t i = at; i < at + 8; ++i)
            peak = std::max(peak, std::abs(wav.samples[i]));
        positions.push_back((peak - kRampLow) / kRampSpan * trackSeconds);
    }
    return positions;
}

QString runXdotool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(XDOTOOL), arguments);
    tool.waitForFinished(5000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

QRect geometryOf(const QString& window)
{
    QRect rect;
    for (const QString& line : runXdotool({"getwindowgeometry", "--shell", window}).split('\n')) {
        const QString value = line.section('=', 1);
        if (line.startsWith("X="))
            rect.moveLeft(value.toInt());
        else if (line.startsWith("Y="))
            rect.moveTop(value.toInt());
        else if (line.startsWith("WIDTH="))
            rect.setWidth(value.toInt());
        else if (line.startsWith("HEIGHT="))
            rect.setHeight(value.toInt());
    }
    return rect;
}

// The player's visible windows of every kind: the main window, its menus and
// its tray icon (which carries no title of its own).
QStringList playerWindows()
{
    return runXdotool({"search", "--onlyvisible", "--class", "nuvo"}).split('\n', Qt::SkipEmptyParts);
}

QString trayIcon()
{
    for (const QString& window : playerWindows()) {
        const QRect geometry = geometryOf(window);
        if (geometry.width() <= 32 && geometry.height() <= 32)
            return window;
    }
    return {};
}

// Client coordinates of the designed window: the FileList tab and the progress bar.
constexpr QPoint kFirstTab(25, 36);
constexpr int kBarLeft = 5;
constexpr int kBarWidth = 216;
constexpr int kBarY = 290;

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
        ASSERT_TRUE(tray_.waitForStarted(5000));
        ASSERT_TRUE(waitUntil([] { return !windowsTitled("panel").isEmpty(); }, 10000));
    }

    // The player's window, focused, with the keyboard on the page control.
    QString focusPageControl(const QString& title)
    {
        QString window;
        EXPECT_TRUE(waitUntil([&] { return !(window = windowsTitled(title).value(0)).isEmpty(); }, 10000));
        runXdotool({"windowfocus", "--sync", window});
        runXdotool({"mousemove", "--window", window, QString::number(kFirstTab.x()), QString::number(kFirstTab.y()),
                    "click", "1"});
        return window;
    }

    qint64 outputSize() const { return QFileInfo(homePath("out.wav")).size(); }

    // Whether the output file grows within the given time.
    bool outputGrows(int withinMs) const
    {
        const qint64 before = outputSize();
        return waitUntil([&] { return outputSize() > before; }, withinMs);
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

TEST_F(EndToEnd, TheHotKeyHidesToTheTrayAndBackAndTheTrayMenuExitSaves)
{
    startTrayHost();
    writeHomeFile("Nuvo.ini", "[HotKey]\r\nKey=k\r\n");
    startPlayer(player_, {});
    const auto shown = [] { return !windowsTitled("Nuvo").isEmpty(); };
    const auto inTray = [] { return !trayIcon().isEmpty(); };
    ASSERT_TRUE(waitUntil(shown, 10000));

    runXdotool({"key", "ctrl+alt+k"});
    ASSERT_TRUE(waitUntil([&] { return !shown(); }, 5000)) << "hidden";
    ASSERT_TRUE(waitUntil(inTray, 5000));
    // Caps Lock on: the same key still works.
    runXdotool({"key", "Caps_Lock", "ctrl+alt+k", "Caps_Lock"});
    ASSERT_TRUE(waitUntil(shown, 5000)) << "shown again";
    EXPECT_TRUE(waitUntil([&] { return !inTray(); }, 5000)) << "the icon has gone";

    // Hidden again, the icon's menu ends the program with its usual saving.
    runXdotool({"key", "ctrl+alt+k"});
    ASSERT_TRUE(waitUntil(inTray, 5000));
    runXdotool({"mousemove", "--window", trayIcon(), "8", "8", "click", "3"});
    ASSERT_TRUE(waitUntil([] { return playerWindows().size() >= 2; }, 5000)) << "the menu beside the icon";
    EXPECT_FALSE(shown());
    runXdotool({"key", "Up", "Return"}); // the last item: "Exit"
    ASSERT_TRUE(hasEnded(player_, 10000));
    EXPECT_EQ(player_.exitCode(), 0);
    const QByteArray settings = readFile(homePath("Nuvo.ini")); // the keys keep their order in the file
    EXPECT_TRUE(settings.contains("[HotKey]\r\nKey=k\r\nLock=0\r\n")) << settings.toStdString();
}

TEST_F(EndToEnd, AHotKeyTakenByAnotherProgramIsRefusedSilently)
{
    startTrayHost();
    writeHomeFile("Nuvo.ini", "[HotKey]\r\nKey=k\r\n");
    startPlayer(player_, {});
    ASSERT_TRUE(waitUntil([] { return windowsTitled("Nuvo").size() == 1; }, 10000));

    // A second player of its own (own lock, own files) asks for the same key.
    QTemporaryDir otherHome, otherRuntime;
    QFile::copy(homePath("Nuvo.ini"), QDir(otherHome.path()).filePath("Nuvo.ini"));
    QProcessEnvironment environment = environment_;
    environment.insert("NUVO_HOME", otherHome.path());
    environment.insert("XDG_RUNTIME_DIR", otherRuntime.path());
    second_.setProcessEnvironment(environment);
    second_.start(NUVO_EXECUTABLE, {});
    ASSERT_TRUE(second_.waitForStarted(5000));
    ASSERT_TRUE(waitUntil([] { return windowsTitled("Nuvo").size() == 2; }, 10000));
    QThread::msleep(300);
    terminate(second_);
    EXPECT_EQ(QString::fromLocal8Bit(second_.readAllStandardError()), "") << "nothing is said";

    // The first one still holds it.
    runXdotool({"key", "ctrl+alt+k"});
    EXPECT_TRUE(waitUntil([] { return windowsTitled("Nuvo").isEmpty(); }, 5000)) << "hidden to the tray";
    terminate(player_);
}

TEST_F(EndToEnd, KeysXCCVVPlayPauseResumeStopAndClose)
{
    const QString track = homePath("music/ramp.wav");
    writeRampWav(track, 20);
    writeHomeFile("List.m3u", (track + "\r\n").toUtf8());
    startPlayer(player_, {});
    focusPageControl("Nuvo");

    runXdotool({"key", "x"});
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("ramp.wav").isEmpty(); }, 5000));
    EXPECT_TRUE(outputGrows(3000)) << "playing";
    runXdotool({"key", "c"});
    QThread::msleep(1000); // what the output buffer still held
    EXPECT_FALSE(outputGrows(1000)) << "paused";
    runXdotool({"key", "c"});
    EXPECT_TRUE(outputGrows(3000)) << "resumed";
    runXdotool({"key", "v"});
    QThread::msleep(1000);
    EXPECT_FALSE(outputGrows(1000)) << "stopped";
    EXPECT_FALSE(windowsTitled("ramp.wav").isEmpty()) << "a stopped track stays open";
    runXdotool({"key", "v"});
    EXPECT_TRUE(waitUntil([] { return !windowsTitled("Nuvo").isEmpty(); }, 5000)) << "closed";
    terminate(player_);
}

TEST_F(EndToEnd, VolumeFiftyPlaysTwelveDecibelsLower)
{
    writeHomeFile("Nuvo.ini", "[Label]\r\nVolume=50\r\n");
    const QString tone = copyFixture("tone_1k.wav"); // 1 s at -13 dBFS peak
    startPlayer(player_, {tone});
    ASSERT_TRUE(waitUntil([] { return !windowsTitled("tone_1k.wav").isEmpty(); }, 10000));
    QThread::msleep(1500); // half a second of sound at twice real time, and the end
    terminate(player_);
    const Wav played = readWav(homePath("out.wav"));
    const Wav source = readWav(tone);
    ASSERT_NEAR(played.seconds(), 1.0, 0.02);
    // (50 / 100) squared: 40 x log10(0.5) = -12.04 dB.
    EXPECT_NEAR(20 * std::log10(rms(played.samples) / rms(source.samples)), -12.04, 0.2);
}

TEST_F(EndToEnd, ADragOnTheBarShortensThePlayedOutputByTheSkippedSpan)
{
    const int track = 20;
    const QString ramp = homePath("music/ramp.wav");
    writeRampWav(ramp, track);
    startPlayer(player_, {ramp});
    QString window;
    ASSERT_TRUE(waitUntil([&] { return !(window = windowsTitled("ramp.wav").value(0)).isEmpty(); }, 10000));
    const QString y = QString::number(kBarY);
    const int releaseX = kBarLeft + kBarWidth * 3 / 4;
    runXdotool({"mousemove", "--window", window, QString::number(kBarLeft + 20), y, "mousedown", "1"});
    runXdotool({"mousemove", "--window", window, QString::number(kBarLeft + kBarWidth / 2), y});
    runXdotool({"mousemove", "--window", window, QString::number(releaseX), y, "mouseup", "1"});
    // The rest, a quarter of the track, at twice real time; then nothing more comes.
    QThread::msleep(2500);
    while (outputGrows(1000)) {
    }
    terminate(player_);

    const Wav played = readWav(homePath("out.wav"));
    const std::vector<double> positions = rampPositions(played, track);
    ASSERT_GT(positions.size(), 10u);
    std::size_t jump = 0;
    for (std::size_t i = 1; i < positions.size() && !jump; ++i) {
        if (positions[i] - positions[i - 1] > 1.0)
            jump = i;
    }
    ASSERT_NE(jump, 0u) << "the output jumps once, at the release";
    const double releasedAt = positions[jump - 1];
    const double target = positions[jump + 1];
    EXPECT_NEAR(target, double(track) * (releaseX - kBarLeft) / kBarWidth, 0.3) << "the target under the release";
    EXPECT_NEAR(played.seconds(), track - (target - releasedAt), 0.05) << "shorter by the skipped span";
    EXPECT_LT(played.seconds(), track / 2.0);
}

} // namespace
