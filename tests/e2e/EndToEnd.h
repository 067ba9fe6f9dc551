// The real nuvo and libvbmp3.so on a virtual display: what a user would see
// and hear, read from window titles, the files left behind and the sound
// written by the wav output.
#pragma once

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

namespace nuvo::e2e {

inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs)
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
inline QStringList windowsTitled(const QString& title)
{
    QProcess search;
    search.start(QStringLiteral(XDOTOOL),
                 {"search", "--onlyvisible", "--name", "^" + QRegularExpression::escape(title) + "$"});
    search.waitForFinished(5000);
    return QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// The visible windows of a process.
inline QStringList windowsOf(const QProcess& process)
{
    QProcess search;
    search.start(QStringLiteral(XDOTOOL), {"search", "--onlyvisible", "--pid", QString::number(process.processId())});
    search.waitForFinished(5000);
    return QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// Keys as the user presses them, one after the other, to the window that has the focus.
inline void pressKeys(const QStringList& keys)
{
    for (const QString& key : keys) {
        QProcess::execute(XDOTOOL, {"key", key});
        QThread::msleep(150);
    }
}

// waitForFinished says false for a process that has already ended.
inline bool hasEnded(QProcess& process, int timeoutMs)
{
    return process.state() == QProcess::NotRunning || process.waitForFinished(timeoutMs);
}

inline QByteArray readFile(const QString& path)
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

inline Wav readWav(const QString& path)
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

inline void writeRampWav(const QString& path)
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
inline std::vector<double> rampPositions(const Wav& wav)
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

inline QString xdotool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(XDOTOOL), arguments);
    tool.waitForFinished(5000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// Every visible window of the player: the main window, its menus and the
// tray icon (which has no title of its own).
inline qsizetype playerWindows()
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

} // namespace nuvo::e2e
