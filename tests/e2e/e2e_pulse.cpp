// The real player on a PulseAudio server: what the null sink's monitor hears
// at the commands, at a gapless join, at half volume and across a restart of
// the server.
#include "EndToEnd.h"
#include "PulseServer.h"

namespace nuvo::e2e {
namespace {

constexpr double kToneHz = 440;

// A 440 Hz tone, 16-bit stereo at the sink's rate, whose level at second t is level(t).
void writeToneWav(const QString& path, double seconds, const std::function<double(double)>& level)
{
    const int frames = static_cast<int>(seconds * kSinkRate);
    QByteArray data;
    data.reserve(frames * 4);
    for (int n = 0; n < frames; ++n) {
        const double t = double(n) / kSinkRate;
        const auto sample = qint16(std::lround(32767 * level(t) * std::sin(2 * M_PI * kToneHz * t)));
        for (int channel = 0; channel < 2; ++channel) {
            data.append(char(sample & 0xff));
            data.append(char((sample >> 8) & 0xff));
        }
    }
    auto le = [](quint32 value, int bytes) {
        QByteArray out;
        for (int i = 0; i < bytes; ++i)
            out.append(char((value >> (8 * i)) & 0xff));
        return out;
    };
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("RIFF" + le(36 + data.size(), 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(2, 2) + le(kSinkRate, 4) +
              le(kSinkRate * 4, 4) + le(4, 2) + le(16, 2) + "data" + le(data.size(), 4) + data);
}

// The largest step a tone of this peak makes between two samples; a cut or a
// jump that is not faded makes a larger one.
float largestNaturalStep(float peak)
{
    return static_cast<float>(peak * 2 * M_PI * kToneHz / kSinkRate);
}

class PulsePlayer : public EndToEnd {
protected:
    void SetUp() override
    {
        EndToEnd::SetUp();
        if (!server_.start())
            GTEST_SKIP() << "no PulseAudio server could be started: " << server_.problem().toStdString();
        ASSERT_TRUE(server_.startRecording()) << "the null sink's monitor is recorded";
        ASSERT_TRUE(server_.openToPlayer());
        environment_.insert("NUVO_AUDIO_DRIVER", "pulse");
        environment_.remove("NUVO_AUDIO_DEVICE");
        environment_.remove("NUVO_AUDIO_SPEED");
        server_.addClientEnvironment(environment_);
    }

    // Starts the player on files and waits for the window titled title; the
    // player's standard error is kept.
    void play(const QStringList& files, const QString& title)
    {
        player_.setProcessEnvironment(environment_);
        player_.setProcessChannelMode(QProcess::SeparateChannels);
        player_.start(NUVO_EXECUTABLE, files);
        ASSERT_TRUE(player_.waitForStarted(5000));
        ASSERT_TRUE(waitUntil([&] { return !(window_ = windowsTitled(title).value(0)).isEmpty(); }, 10000));
    }

    // Waits until the sink sounds; false when it stays silent.
    bool waitForSound(int withinMs)
    {
        return waitUntil(
            [&] {
                const Recording heard = server_.recording();
                return heard.firstSound(0) < heard.frames();
            },
            withinMs);
    }

    // Plays files until the sink has sounded for ms, then closes the player
    // and gives what the sink heard.
    void listen(const QStringList& files, const QString& title, int ms, Recording& heard)
    {
        play(files, title);
        ASSERT_TRUE(waitForSound(5000));
        QThread::msleep(ms);
        terminate(player_);
        server_.stopRecording();
        heard = server_.recording();
    }

    // The keys go to the window's page control, as a user's would.
    void focusPlayer()
    {
        xdotool({"windowfocus", "--sync", window_});
        xdotool({"mousemove", "--window", window_, QString::number(kTabX), QString::number(kTabY), "click", "1"});
    }

    PulseServer server_;
    QString window_;
};

TEST_F(PulsePlayer, PauseResumeSeekNextAndStopFadeWithoutAClickAndSilenceTheSinkQuickly)
{
    const QString tone = homePath("music/tone.wav"), second = homePath("music/next.wav");
    writeToneWav(tone, 30, [](double) { return 0.5; });
    writeToneWav(second, 30, [](double) { return 0.5; });
    play({tone, second}, "tone.wav");
    focusPlayer();
    ASSERT_TRUE(waitForSound(5000));
    QThread::msleep(1000);

    struct Command {
        const char* key;
        const char* name;
        bool silences;
    };
    const Command commands[] = {
        {"c", "pause", true}, {"c", "resume", false}, {"f", "seek", false}, {"b", "next track", false},
        {"v", "stop", true}};
    std::vector<std::size_t> marks;
    for (const Command& command : commands) {
        marks.push_back(server_.recordedFrames());
        xdotool({"key", command.key});
        QThread::msleep(1200);
    }
    marks.push_back(server_.recordedFrames());
    EXPECT_FALSE(windowsTitled("next.wav").isEmpty()) << "the next track was played";
    terminate(player_);
    server_.stopRecording();

    const Recording heard = server_.recording();
    const std::size_t start = heard.firstSound(0);
    ASSERT_LT(start, marks.front()) << "the tone was heard before the first command";
    const float bound = 1.5f * largestNaturalStep(0.5f);
    for (std::size_t i = 0; i < std::size(commands); ++i) {
        SCOPED_TRACE(commands[i].name);
        const std::size_t at = marks[i], next = marks[i + 1];
        EXPECT_LE(heard.largestStep(at, next), bound) << "a click";
        if (commands[i].silences) {
            ASSERT_GT(heard.peak(at - Recording::framesOf(50), at), 0.4f) << "it sounded when the command came";
            const double silentAfterMs = Recording::msOf(heard.silentFrom(at, next) - at);
            EXPECT_LE(silentAfterMs, 150.0) << "silent after " << silentAfterMs << " ms";
        } else {
            const double soundAfterMs = Recording::msOf(heard.firstSound(at) - at);
            EXPECT_LE(soundAfterMs, 300.0) << "sound after " << soundAfterMs << " ms";
            EXPECT_GT(heard.peak(next - Recording::framesOf(200), next), 0.4f) << "and it plays on";
        }
    }
}

TEST_F(PulsePlayer, GaplessHalvesJoinWithoutAQuietMillisecondOrAClick)
{
    // Two halves of one 2 s tone at 440 Hz, each encoded on its own.
    Recording heard;
    listen({copyFixture("gapless_a.mp3"), copyFixture("gapless_b.mp3")}, "gapless_a.mp3", 3000, heard);
    const std::size_t start = heard.firstSound(0);
    const std::size_t end = heard.silentFrom(start, heard.frames());
    ASSERT_LT(start, end);
    EXPECT_NEAR(Recording::msOf(end - start), 2000.0, 30.0) << "nothing added, nothing lost";
    // The encoder's own edges at both ends of the whole are left out.
    const std::size_t from = start + Recording::framesOf(30), to = end - Recording::framesOf(30);
    const float peak = heard.peak(from, to);
    ASSERT_GT(peak, 0.1f);
    const std::size_t millisecond = Recording::framesOf(1);
    for (std::size_t at = from; at + millisecond <= to; at += millisecond / 2)
        ASSERT_GT(heard.peak(at, at + millisecond), peak / 4) << "quiet at " << Recording::msOf(at - start) << " ms";
    EXPECT_LE(heard.largestStep(from, to), 1.5f * largestNaturalStep(peak));
}

TEST_F(PulsePlayer, VolumeFiftyIsHeardTwelveDecibelsLower)
{
    writeHomeFile("Nuvo.ini", "[Label]\r\nVolume=50\r\n");
    // 1 s of 1 kHz at -13 dBFS: an RMS of -16.0 dBFS.
    Recording heard;
    listen({copyFixture("tone_1k.wav")}, "tone_1k.wav", 1500, heard);
    const std::size_t start = heard.firstSound(0);
    ASSERT_GT(heard.frames(), start + Recording::framesOf(900));
    // (50 / 100) squared: 40 x log10(0.5) = -12.04 dB.
    EXPECT_NEAR(heard.rmsDb(start + Recording::framesOf(100), start + Recording::framesOf(900)), -16.0 - 12.04, 0.2);
}

TEST_F(PulsePlayer, ARestartOfTheServerBringsTheSoundBackWithinASecondWhereTheTrackIs)
{
    // The level tells the place: it rises evenly from 0.05 to 0.95 over 30 s.
    constexpr double kSeconds = 30;
    const QString tone = homePath("music/rising.wav");
    writeToneWav(tone, kSeconds, [&](double t) { return 0.05 + 0.9 * t / kSeconds; });
    play({tone}, "rising.wav");
    ASSERT_TRUE(waitForSound(5000));
    QElapsedTimer playing;
    playing.start();
    QThread::msleep(2000);
    server_.stopRecording();
    server_.kill();
    QThread::msleep(1500);
    ASSERT_TRUE(server_.start()) << server_.problem().toStdString();
    ASSERT_TRUE(server_.startRecording());
    // The recording keeps up once it runs; then the player is let in.
    QThread::msleep(500);
    QElapsedTimer back;
    back.start();
    ASSERT_TRUE(server_.openToPlayer());
    QThread::msleep(2500);
    // The frames recorded by now tell when each frame was heard.
    const std::size_t recorded = server_.recordedFrames();
    const double backMs = back.elapsed(), playingMs = playing.elapsed();
    const Recording heard = server_.recording();
    terminate(player_);
    ASSERT_GE(heard.frames(), recorded);

    const std::size_t sound = heard.firstSound(0);
    ASSERT_LT(sound, recorded) << "the sound came back";
    const double soundMs = backMs - Recording::msOf(recorded - sound);
    EXPECT_LE(soundMs, 1000.0) << "the sound came back after " << soundMs << " ms";
    // Half a second after it came back, a few cycles show the level, and so the place.
    const std::size_t at = sound + Recording::framesOf(500);
    ASSERT_GT(recorded, at + Recording::framesOf(10));
    const double place = (heard.peak(at, at + Recording::framesOf(10)) - 0.05) / 0.9 * kSeconds;
    const double expected = (playingMs - Recording::msOf(recorded - at)) / 1000.0;
    EXPECT_NEAR(place, expected, 0.5) << "the track went on meanwhile";
    EXPECT_LE(heard.largestStep(sound, heard.frames()), 1.5f * largestNaturalStep(0.95f)) << "no click on return";

    const QString errors = QString::fromLocal8Bit(player_.readAllStandardError());
    EXPECT_EQ(errors.count(QRegularExpression("^sound output lost: .+$", QRegularExpression::MultilineOption)), 1)
        << errors.toStdString();
    EXPECT_EQ(errors.count(QRegularExpression("^sound output back$", QRegularExpression::MultilineOption)), 1)
        << errors.toStdString();
}

} // namespace
} // namespace nuvo::e2e
