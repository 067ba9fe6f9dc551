// Which files are audio, of which kind, and the bits the player reads.
#include "media.h"
#include "media_test_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

using namespace media_test;
using vbmp3::media::Kind;
namespace fs = std::filesystem;

struct KindCase {
    const char* file;
    std::optional<Kind> kind;
    std::int32_t type;   // for a writable copy
};

void PrintTo(const KindCase& c, std::ostream* out) { *out << c.file; }

class KindOfFixture : public MediaTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(KindOfFixture, KindAndTypeBitsComeFromTheContent)
{
    const auto& c = GetParam();
    const auto path = copyOf(c.file);
    EXPECT_EQ(vbmp3::media::detectKind(path), c.kind);
    EXPECT_EQ(vbmp3::media::fileType(path), c.type);
}

TEST_P(KindOfFixture, ReadOnlyFileHasBitOne)
{
    const auto& c = GetParam();
    const auto path = copyOf(c.file);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(vbmp3::media::fileType(path), c.type < 0 ? -1 : c.type | VBMP3_TYPE_READ_ONLY);
}

constexpr std::int32_t mpeg = VBMP3_TYPE_MPEG;
constexpr std::int32_t tagged = VBMP3_TYPE_MPEG | VBMP3_TYPE_HAS_TAG;
constexpr std::int32_t wav = VBMP3_TYPE_WAV | VBMP3_TYPE_NO_TAG_WRITE;
constexpr std::int32_t rmp = VBMP3_TYPE_RIFF_MPEG | VBMP3_TYPE_NO_TAG_WRITE;

INSTANTIATE_TEST_SUITE_P(Fixtures, KindOfFixture, ::testing::Values(
    KindCase{"cbr_v1.mp3", Kind::Mpeg, tagged},
    KindCase{"vbr_v2.mp3", Kind::Mpeg, tagged},
    KindCase{"notag.mp3", Kind::Mpeg, mpeg},
    KindCase{"layer2_48k.mp2", Kind::Mpeg, mpeg},
    KindCase{"mpeg2_22k_mono.mp3", Kind::Mpeg, mpeg},
    KindCase{"mpeg25_8k_mono.mp3", Kind::Mpeg, mpeg},
    KindCase{"layer1_32k_mono.mp1", Kind::Mpeg, mpeg},
    KindCase{"tone_1k.mp3", Kind::Mpeg, mpeg},
    KindCase{"truncated.mp3", Kind::Mpeg, mpeg},
    KindCase{"riff_mpeg.rmp", Kind::RiffMpeg, rmp},
    KindCase{"pcm16_stereo.wav", Kind::Wav, wav},
    KindCase{"pcm24_mono.wav", Kind::Wav, wav},
    KindCase{"tone_100.wav", Kind::Wav, wav},
    KindCase{"empty.mp3", std::nullopt, -1},
    KindCase{"notaudio.mp3", std::nullopt, -1}),
    nameOfFileCase<KindCase>);

// The content decides, not the name.
TEST_F(MediaTest, KindIgnoresTheExtension)
{
    EXPECT_EQ(vbmp3::media::detectKind(copyOf("pcm16_stereo.wav", "wave.mp3")), Kind::Wav);
    EXPECT_EQ(vbmp3::media::detectKind(copyOf("notag.mp3", "mpeg.wav")), Kind::Mpeg);
    EXPECT_EQ(vbmp3::media::detectKind(copyOf("riff_mpeg.rmp", "rmp.mp3")), Kind::RiffMpeg);
    EXPECT_EQ(vbmp3::media::detectKind(copyOf("notaudio.mp3", "text.wav")), std::nullopt);
}

TEST_F(MediaTest, ThingsThatAreNotAudioFilesGiveMinusOne)
{
    EXPECT_EQ(vbmp3::media::fileType(pathIn("missing.mp3")), -1);
    EXPECT_EQ(vbmp3::media::fileType(""), -1);
    EXPECT_EQ(vbmp3::media::fileType(dir_), -1);
    EXPECT_EQ(vbmp3::media::fileType("/dev/zero"), -1);
    const auto fifo = pathIn("fifo.mp3");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(vbmp3::media::fileType(fifo), -1); // and does not wait for a writer
}

TEST_F(MediaTest, DamagedOrFakeMpegDataIsRefused)
{
    const Bytes mp3 = readBytes(fixture("notag.mp3"));
    const auto check = [&](const std::string& name, const Bytes& bytes) {
        writeBytes(pathIn(name), bytes);
        EXPECT_EQ(vbmp3::media::fileType(pathIn(name)), -1) << name;
    };
    // Sync bytes alone, and single valid-looking headers that do not chain.
    check("ff.mp3", Bytes(4096, 0xFF));
    Bytes lonely(4096, 'x');
    const Bytes header = {0xFF, 0xFB, 0x90, 0x64};
    for (std::size_t at = 0; at + 4 < lonely.size(); at += 700)
        std::copy(header.begin(), header.end(), lonely.begin() + static_cast<long>(at));
    check("lonely_headers.mp3", lonely);
    // An ID3v2 tag and nothing after it; one that claims more than the file holds.
    check("tag_only.mp3", id3v2Tag(3, {{"TIT2", "Only a tag"}}));
    Bytes huge = id3v2Tag(3, {{"TIT2", "x"}});
    huge[6] = huge[7] = huge[8] = huge[9] = 0x7F;
    append(huge, mp3);
    check("huge_tag.mp3", huge);
    // Less than one whole frame after the Info frame.
    check("cut_early.mp3", Bytes(mp3.begin(), mp3.begin() + 600));
    // A Latin-1 text file may contain 0xFF ('ÿ').
    check("latin1.mp3", asBytes("Caf\xE9 \xFF\xFB\x90\x64 na\xEFve \xFF\xFF text\n"));
}

TEST_F(MediaTest, StreamWithJunkOrTagsAroundIsStillMpeg)
{
    const Bytes mp3 = readBytes(fixture("notag.mp3"));
    Bytes junkFirst(3000, 0);
    append(junkFirst, mp3);
    writeBytes(pathIn("junk.mp3"), junkFirst);
    EXPECT_EQ(vbmp3::media::fileType(pathIn("junk.mp3")), VBMP3_TYPE_MPEG);

    Bytes twoTags = id3v2Tag(3, {{"TIT2", "First"}});
    append(twoTags, id3v2Tag(4, {{"TIT2", "Second"}}));
    append(twoTags, mp3);
    writeBytes(pathIn("two_tags.mp3"), twoTags);
    EXPECT_EQ(vbmp3::media::fileType(pathIn("two_tags.mp3")), VBMP3_TYPE_MPEG | VBMP3_TYPE_HAS_TAG);
}

TEST_F(MediaTest, TheFixturesRmpDataChunkIsFound)
{
    const auto range = vbmp3::media::riffMpegData(copyOf("riff_mpeg.rmp"));
    ASSERT_TRUE(range);
    EXPECT_EQ(range->offset, 20);
    EXPECT_EQ(range->size, static_cast<std::int64_t>(fs::file_size(fixture("notag.mp3"))));
    EXPECT_FALSE(vbmp3::media::riffMpegData(copyOf("notag.mp3")));
    EXPECT_FALSE(vbmp3::media::riffMpegData(copyOf("pcm16_stereo.wav")));
    EXPECT_FALSE(vbmp3::media::riffMpegData(pathIn("missing.rmp")));
}

// A RIFF file of the given form: each chunk with its declared size, payload
// and the pad byte odd sizes need.
Bytes riff(const std::string& form, const std::vector<std::pair<std::string, Bytes>>& chunks,
           std::optional<std::uint32_t> declaredDataSize = std::nullopt)
{
    Bytes body = asBytes(form);
    for (const auto& [id, payload] : chunks) {
        append(body, asBytes(id));
        const bool isData = id == "data";
        appendLittleEndian32(body, isData && declaredDataSize ? *declaredDataSize
                                                              : static_cast<std::uint32_t>(payload.size()));
        append(body, payload);
        if (payload.size() % 2)
            body.push_back(0);
    }
    Bytes file = asBytes("RIFF");
    appendLittleEndian32(file, static_cast<std::uint32_t>(body.size()));
    append(file, body);
    return file;
}

TEST_F(MediaTest, RiffChunksArePaddedToEvenSizesAndBoundedByTheFile)
{
    const Bytes mp3 = readBytes(fixture("notag.mp3"));
    const auto rangeOf = [&](const std::string& name, const Bytes& bytes) {
        writeBytes(pathIn(name), bytes);
        return vbmp3::media::riffMpegData(pathIn(name));
    };
    // An odd-sized chunk before the data: its pad byte must be skipped.
    const auto padded = rangeOf("padded.rmp", riff("RMP3", {{"JUNK", Bytes(3, 'j')}, {"data", mp3}}));
    ASSERT_TRUE(padded);
    EXPECT_EQ(padded->offset, 12 + 8 + 4 + 8);
    EXPECT_EQ(padded->size, static_cast<std::int64_t>(mp3.size()));
    EXPECT_EQ(vbmp3::media::detectKind(pathIn("padded.rmp")), Kind::RiffMpeg);

    // A data chunk that claims more than the file holds is cut at its end.
    const auto cut = rangeOf("cut.rmp", riff("RMP3", {{"data", mp3}}, 0xFFFFFFF0u));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->size, static_cast<std::int64_t>(mp3.size()));

    // A chunk whose size runs past the end hides everything after it.
    Bytes runaway = riff("RMP3", {{"LIST", Bytes(10, 0)}, {"data", mp3}});
    runaway[16] = runaway[17] = runaway[18] = runaway[19] = 0xFF;
    EXPECT_FALSE(rangeOf("runaway.rmp", runaway));
    EXPECT_EQ(vbmp3::media::fileType(pathIn("runaway.rmp")), -1);

    // No data chunk, an empty one, a cut header, another form.
    EXPECT_FALSE(rangeOf("nodata.rmp", riff("RMP3", {{"LIST", Bytes(4, 0)}})));
    EXPECT_FALSE(rangeOf("emptydata.rmp", riff("RMP3", {{"data", {}}})));
    EXPECT_FALSE(rangeOf("header.rmp", Bytes{'R', 'I', 'F', 'F', 4, 0}));
    EXPECT_FALSE(rangeOf("avi.rmp", riff("AVI ", {{"data", mp3}})));
    EXPECT_EQ(vbmp3::media::fileType(pathIn("avi.rmp")), -1);
    // A data chunk of text is no MPEG, whatever the form says.
    EXPECT_TRUE(rangeOf("text.rmp", riff("RMP3", {{"data", readBytes(fixture("notaudio.mp3"))}})));
    EXPECT_EQ(vbmp3::media::fileType(pathIn("text.rmp")), -1);
}

TEST_F(MediaTest, MpegInsideAWaveFileIsRiffMpeg)
{
    const Bytes mp3 = readBytes(fixture("notag.mp3"));
    // WAVEFORMATEX with format tag 0x0055 (MPEG layer 3).
    Bytes format = {0x55, 0x00, 2, 0, 0x00, 0x7D, 0, 0, 0xB8, 0x2E, 0, 0, 1, 0, 0, 0, 0, 0};
    writeBytes(pathIn("mp3.wav"), riff("WAVE", {{"fmt ", format}, {"data", mp3}}));
    EXPECT_EQ(vbmp3::media::detectKind(pathIn("mp3.wav")), Kind::RiffMpeg);
    const auto range = vbmp3::media::riffMpegData(pathIn("mp3.wav"));
    ASSERT_TRUE(range);
    EXPECT_EQ(range->size, static_cast<std::int64_t>(mp3.size()));
}

TEST_F(MediaTest, WavWithoutSamplesOrWithBrokenHeaderIsRefused)
{
    const Bytes wav = readBytes(fixture("pcm16_stereo.wav"));
    writeBytes(pathIn("header_only.wav"), Bytes(wav.begin(), wav.begin() + 44));
    EXPECT_EQ(vbmp3::media::fileType(pathIn("header_only.wav")), -1);
    writeBytes(pathIn("cut_header.wav"), Bytes(wav.begin(), wav.begin() + 30));
    EXPECT_EQ(vbmp3::media::fileType(pathIn("cut_header.wav")), -1);
    Bytes badFormat = wav;
    badFormat[20] = 0x34; // format tag nobody knows
    badFormat[21] = 0x12;
    writeBytes(pathIn("bad_format.wav"), badFormat);
    EXPECT_EQ(vbmp3::media::fileType(pathIn("bad_format.wav")), -1);
}

TEST_F(MediaTest, ReadOnlyDirectoryMakesTheFileReadOnly)
{
    fs::create_directory(pathIn("locked"));
    const auto path = pathIn("locked") / "song.mp3";
    fs::copy_file(fixture("notag.mp3"), path);
    fs::permissions(pathIn("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(vbmp3::media::fileType(path), VBMP3_TYPE_MPEG | VBMP3_TYPE_READ_ONLY);
}

} // namespace
