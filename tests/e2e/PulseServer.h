// A PulseAudio server of the test's own, with one null sink whose monitor is
// recorded, so that the sound a user would hear can be read back sample by
// sample. The server refuses to run as root; as root it is run as "nobody".
#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace nuvo::e2e {

constexpr int kSinkRate = 44100;

// Stereo float frames as the null sink's monitor gave them.
struct Recording {
    std::vector<float> left;

    std::size_t frames() const { return left.size(); }
    static std::size_t framesOf(double ms) { return static_cast<std::size_t>(ms * kSinkRate / 1000.0); }
    static double msOf(std::size_t frames) { return frames * 1000.0 / kSinkRate; }
    bool silentBetween(std::size_t from, std::size_t to, float below = 1e-3f) const
    {
        for (std::size_t i = from; i < std::min(to, frames()); ++i)
            if (std::abs(left[i]) >= below)
                return false;
        return true;
    }
    // The first sounding frame at or after from (frames() when none).
    std::size_t firstSound(std::size_t from, float above = 1e-3f) const
    {
        while (from < frames() && std::abs(left[from]) < above)
            ++from;
        return from;
    }
    // Where the sound stops for good before until: the frame after the last sounding one.
    std::size_t silentFrom(std::size_t from, std::size_t until, float below = 1e-3f) const
    {
        std::size_t end = std::min(until, frames());
        while (end > from && std::abs(left[end - 1]) < below)
            --end;
        return end;
    }
    // The largest step from one sample to the next between two frames.
    float largestStep(std::size_t from, std::size_t to) const
    {
        float largest = 0;
        for (std::size_t i = std::max<std::size_t>(from, 1); i < std::min(to, frames()); ++i)
            largest = std::max(largest, std::abs(left[i] - left[i - 1]));
        return largest;
    }
    float peak(std::size_t from, std::size_t to) const
    {
        float largest = 0;
        for (std::size_t i = from; i < std::min(to, frames()); ++i)
            largest = std::max(largest, std::abs(left[i]));
        return largest;
    }
    double rmsDb(std::size_t from, std::size_t to) const
    {
        double sum = 0;
        for (std::size_t i = from; i < std::min(to, frames()); ++i)
            sum += double(left[i]) * left[i];
        return 10 * std::log10(std::max(sum / double(std::max<std::size_t>(to - from, 1)), 1e-20));
    }
};

class PulseServer {
public:
    PulseServer()
    {
        QDir dir(folder_.path());
        dir.mkpath("home");
        QFile script(dir.filePath("server.pa"));
        if (script.open(QIODevice::WriteOnly))
            // The loopback asks for a short latency from the start, as a sound
            // card's server would have: an idle null sink otherwise works in
            // two-second blocks, and its monitor with it.
            script.write(QStringLiteral("load-module module-null-sink sink_name=null format=float32le rate=%1 channels=2\n"
                                        "load-module module-null-sink sink_name=elsewhere\n"
                                        "load-module module-loopback source=null.monitor sink=elsewhere latency_msec=5\n"
                                        "load-module module-native-protocol-unix auth-anonymous=1 socket=%2\n")
                             .arg(kSinkRate)
                             .arg(toolSocket())
                             .toUtf8());
        QFile client(dir.filePath("client.conf"));
        if (client.open(QIODevice::WriteOnly))
            client.write("autospawn = no\n");
        // The server takes its folder only when it owns it.
        if (::geteuid() == 0) {
            for (const QString& path : {folder_.path(), dir.filePath("home"), dir.filePath("server.pa")})
                if (::chown(QFile::encodeName(path).constData(), 65534, 65534) != 0)
                    problem_ = "cannot hand the server's folder to nobody";
        }
    }
    ~PulseServer()
    {
        stopRecording();
        stop();
    }
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    // The player connects through its own socket, which opens when the test
    // says so; the test's tools have theirs from the start.
    QString socket() const { return QDir(folder_.path()).filePath("player"); }
    QString toolSocket() const { return QDir(folder_.path()).filePath("tools"); }
    QString problem() const { return problem_; }

    // What a client of this server needs: the server, and nothing of the user's own.
    void addClientEnvironment(QProcessEnvironment& environment, bool tool = false) const
    {
        environment.insert("PULSE_SERVER", "unix:" + (tool ? toolSocket() : socket()));
        environment.insert("PULSE_CLIENTCONFIG", QDir(folder_.path()).filePath("client.conf"));
        environment.insert("PULSE_COOKIE", QDir(folder_.path()).filePath("cookie"));
        environment.insert("HOME", QDir(folder_.path()).filePath("home"));
    }

    // Starts the server and waits until it answers; false (see problem()) when it does not.
    bool start()
    {
        if (!problem_.isEmpty())
            return false;
        const QString pulseaudio = QStandardPaths::findExecutable("pulseaudio");
        const QString setpriv = QStandardPaths::findExecutable("setpriv");
        if (pulseaudio.isEmpty() || QStandardPaths::findExecutable("parec").isEmpty() ||
            QStandardPaths::findExecutable("pactl").isEmpty()) {
            problem_ = "pulseaudio, parec or pactl is not installed";
            return false;
        }
        QProcessEnvironment environment;
        environment.insert("PATH", qEnvironmentVariable("PATH"));
        const QString home = QDir(folder_.path()).filePath("home");
        environment.insert("HOME", home);
        environment.insert("XDG_RUNTIME_DIR", folder_.path());
        environment.insert("PULSE_RUNTIME_PATH", folder_.path());
        environment.insert("XDG_CONFIG_HOME", home);
        QStringList arguments{"-n",
                              "--daemonize=no",
                              "--system=false",
                              "--exit-idle-time=-1",
                              "--realtime=false",
                              "--high-priority=false",
                              "--log-target=stderr",
                              "-F",
                              QDir(folder_.path()).filePath("server.pa")};
        QString program = pulseaudio;
        if (::geteuid() == 0) {
            if (setpriv.isEmpty()) {
                problem_ = "running as root and setpriv is missing";
                return false;
            }
            arguments = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", pulseaudio} + arguments;
            program = setpriv;
        }
        server_.setProcessEnvironment(environment);
        server_.setStandardOutputFile(QProcess::nullDevice());
        server_.setStandardErrorFile(QDir(folder_.path()).filePath("server.log"), QIODevice::Append);
        server_.start(program, arguments);
        if (!server_.waitForStarted(5000)) {
            problem_ = "the server did not start";
            return false;
        }
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 10000) {
            if (answers())
                return true;
            if (server_.state() == QProcess::NotRunning)
                break;
            QThread::msleep(20);
        }
        problem_ = "the server did not answer: " + QString::fromUtf8(readLog().right(600));
        stop();
        return false;
    }

    // Lets the player in.
    bool openToPlayer()
    {
        return pactl({"load-module", "module-native-protocol-unix", "auth-anonymous=1", "socket=" + socket()});
    }

    // Ends the server at once, as a crash would.
    void kill()
    {
        if (server_.state() != QProcess::NotRunning) {
            server_.kill();
            server_.waitForFinished(5000);
        }
        QFile::remove(socket());
        QFile::remove(toolSocket());
    }
    void stop()
    {
        if (server_.state() != QProcess::NotRunning) {
            server_.terminate();
            if (!server_.waitForFinished(5000))
                kill();
        }
    }

    bool startRecording()
    {
        QFile::remove(recordingPath());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        addClientEnvironment(environment, true);
        recorder_.setProcessEnvironment(environment);
        recorder_.setStandardOutputFile(recordingPath());
        recorder_.setStandardErrorFile(QProcess::nullDevice());
        recorder_.start("parec", {"-d", "null.monitor", "--raw", "--latency-msec=5", "--format=float32le",
                                  QStringLiteral("--rate=%1").arg(kSinkRate), "--channels=2"});
        if (!recorder_.waitForStarted(5000))
            return false;
        // The monitor of an idle null sink records silence: the file grows from the start.
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 5000 && recordedFrames() == 0)
            QThread::msleep(5);
        return recordedFrames() > 0;
    }
    // Frames recorded so far: where in the recording "now" is.
    std::size_t recordedFrames() const
    {
        return static_cast<std::size_t>(QFileInfo(recordingPath()).size() / 8);
    }
    void stopRecording()
    {
        if (recorder_.state() != QProcess::NotRunning) {
            recorder_.terminate();
            if (!recorder_.waitForFinished(3000)) {
                recorder_.kill();
                recorder_.waitForFinished(3000);
            }
        }
    }
    Recording recording() const
    {
        QFile file(recordingPath());
        Recording result;
        if (!file.open(QIODevice::ReadOnly))
            return result;
        const QByteArray bytes = file.readAll();
        result.left.resize(static_cast<std::size_t>(bytes.size() / 8));
        for (std::size_t i = 0; i < result.left.size(); ++i)
            std::memcpy(&result.left[i], bytes.constData() + i * 8, 4);
        return result;
    }

private:
    QString recordingPath() const { return QDir(folder_.path()).filePath("monitor.raw"); }
    QByteArray readLog() const
    {
        QFile log(QDir(folder_.path()).filePath("server.log"));
        return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
    }
    bool answers() const { return pactl({"info"}); }
    bool pactl(const QStringList& arguments) const
    {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        addClientEnvironment(environment, true);
        tool.setProcessEnvironment(environment);
        tool.setStandardOutputFile(QProcess::nullDevice());
        tool.start("pactl", arguments);
        return tool.waitForFinished(3000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    }

    QTemporaryDir folder_;
    QString problem_;
    QProcess server_;
    QProcess recorder_;
};

} // namespace nuvo::e2e
