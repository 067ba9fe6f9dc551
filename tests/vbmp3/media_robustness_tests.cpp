// Damaged input of every sort: the functions answer, agree with each other,
// and (under the sanitizers) touch no memory they should not.
#include "media.h"
#include "media_test_support.h"

#include <random>

namespace {

using namespace media_test;

// Every entry of the inspection part on one file; the answers must agree.
void inspectEverything(const std::filesystem::path& path)
{
    const auto kind = vbmp3::media::detectKind(path);
    const std::int32_t type = vbmp3::media::fileType(path);
    TagRecord tag{};
    MpegRecord info{};
    const bool hasInfo = vbmp3::media::readFileInfo(path, tag, info);
    EXPECT_EQ(kind.has_value(), type != -1);
    EXPECT_EQ(kind.has_value(), hasInfo);
    if (hasInfo) {
        EXPECT_GT(info.sampleRate, 0);
        EXPECT_GT(info.frames, 0);
        EXPECT_GE(info.seconds, 0);
    }
    TagRecord alone{};
    EXPECT_TRUE(vbmp3::media::readTag(path, alone));
    vbmp3::media::riffMpegData(path);
}

TEST_F(MediaTest, EveryCutOfAnMpegFileIsHandled)
{
    const Bytes mp3 = readBytes(fixture("vbr_v2.mp3"));
    for (std::size_t size = 0; size < mp3.size(); size += 313) {
        SCOPED_TRACE(size);
        writeBytes(pathIn("cut.mp3"), Bytes(mp3.begin(), mp3.begin() + static_cast<long>(size)));
        inspectEverything(pathIn("cut.mp3"));
        // Where a stream is found its frames are the ones the decoder plays.
        TagRecord tag{};
        MpegRecord info{};
        if (vbmp3::media::readFileInfo(pathIn("cut.mp3"), tag, info)) {
            EXPECT_EQ(info.frames, decodeWithMpg123(pathIn("cut.mp3")).frames);
        }
    }
}

TEST_F(MediaTest, EveryCutOfRiffFilesIsHandled)
{
    for (const char* file : {"pcm24_mono.wav", "riff_mpeg.rmp"}) {
        const Bytes whole = readBytes(fixture(file));
        for (std::size_t size = 0; size < 400; size += 7) {
            writeBytes(pathIn("cut"), Bytes(whole.begin(), whole.begin() + static_cast<long>(size)));
            inspectEverything(pathIn("cut"));
        }
    }
}

TEST_F(MediaTest, RandomDamageIsHandled)
{
    std::mt19937 random(20240601);
    const char* files[] = {"cbr_v1.mp3", "vbr_v2.mp3", "layer2_48k.mp2", "riff_mpeg.rmp",
                           "pcm16_stereo.wav", "mpeg25_8k_mono.mp3"};
    for (const char* file : files) {
        const Bytes original = readBytes(fixture(file));
        for (int round = 0; round < 25; ++round) {
            Bytes damaged = original;
            std::uniform_int_distribution<std::size_t> position(0, damaged.size() - 1);
            std::uniform_int_distribution<int> byte(0, 255);
            // Mostly near the start, where tags and headers are.
            const int hits = 1 + round % 8;
            for (int i = 0; i < hits; ++i) {
                const std::size_t at = round % 2 ? position(random) % 1024 : position(random);
                damaged[at] = static_cast<std::uint8_t>(byte(random));
            }
            writeBytes(pathIn("damaged"), damaged);
            SCOPED_TRACE(std::string(file) + " round " + std::to_string(round));
            inspectEverything(pathIn("damaged"));
            TagRecord tag{};
            vbmp3::media::copyField(tag.title, sizeof tag.title, "Damaged");
            if (vbmp3::media::writeTag(pathIn("damaged"), tag))
                inspectEverything(pathIn("damaged"));
        }
    }
}

TEST_F(MediaTest, RandomBytesAreNotAudio)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 20; ++round) {
        Bytes noise(1000 + static_cast<std::size_t>(round) * 3000);
        for (auto& b : noise)
            b = static_cast<std::uint8_t>(byte(random));
        writeBytes(pathIn("noise.mp3"), noise);
        EXPECT_EQ(vbmp3::media::fileType(pathIn("noise.mp3")), -1) << round;
    }
}

} // namespace
