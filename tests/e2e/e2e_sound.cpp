// What the settings, the curve, the volume and a seek do to the sound written by the wav output.
#include "EndToEnd.h"

namespace nuvo::e2e {
namespace {

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

} // namespace
} // namespace nuvo::e2e
