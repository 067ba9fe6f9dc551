// Writing tags: an ID3v1 tag in step where the file has one, texts in their
// encodings, the file replaced safely or left exactly as it was.
#include "media.h"
#include "media_test_support.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace {

using namespace media_test;
namespace fs = std::filesystem;

TagRecord record(const std::string& title, const std::string& artist, const std::string& album,
                 const std::string& year, const std::string& comment, int genre)
{
    TagRecord tag{};
    vbmp3::media::copyField(tag.title, sizeof tag.title, title);
    vbmp3::media::copyField(tag.artist, sizeof tag.artist, artist);
    vbmp3::media::copyField(tag.album, sizeof tag.album, album);
    vbmp3::media::copyField(tag.year, sizeof tag.year, year);
    vbmp3::media::copyField(tag.comment, sizeof tag.comment, comment);
    tag.genre = genre;
    return tag;
}

std::string v1Field(const Bytes& block, std::size_t offset, std::size_t size)
{
    const auto* begin = reinterpret_cast<const char*>(block.data() + offset);
    return std::string(begin, ::strnlen(begin, size));
}

// The size of the ID3v2 tag at the start of a file, 0 without one.
std::size_t id3v2Size(const Bytes& file)
{
    if (file.size() < 10 || std::string(file.begin(), file.begin() + 3) != "ID3")
        return 0;
    return 10 + ((std::size_t{file[6]} << 21) | (std::size_t{file[7]} << 14) | (std::size_t{file[8]} << 7) | file[9]);
}

// The payload of the first frame with id in the file's ID3v2 tag: encoding
// byte and text, read straight from the bytes.
std::string id3v2FramePayload(const Bytes& file, const std::string& id)
{
    const auto at = std::search(file.begin(), file.end(), id.begin(), id.end());
    if (at == file.end())
        return {};
    const auto* p = &*at;
    const std::size_t size = (std::size_t{p[4]} << 21) | (std::size_t{p[5]} << 14) |
                             (std::size_t{p[6]} << 7) | std::size_t{p[7]}; // v2.4: sync-safe
    return std::string(reinterpret_cast<const char*>(p + 10), size);
}

TEST_F(MediaTest, WrittenFieldsReadBackAndId3v1StaysInStepWhereThereIsOne)
{
    for (const char* fixtureName : {"notag.mp3", "cbr_v1.mp3", "vbr_v2.mp3", "layer2_48k.mp2"}) {
        SCOPED_TRACE(fixtureName);
        const auto path = copyOf(fixtureName);
        const TagRecord written = record("New Title", "New Artist", "New Album", "1999", "New comment", 8);
        ASSERT_TRUE(vbmp3::media::writeTag(path, written));

        TagRecord read{};
        ASSERT_TRUE(vbmp3::media::readTag(path, read));
        EXPECT_STREQ(read.title, "New Title");
        EXPECT_STREQ(read.artist, "New Artist");
        EXPECT_STREQ(read.album, "New Album");
        EXPECT_STREQ(read.year, "1999");
        EXPECT_STREQ(read.comment, "New comment");
        EXPECT_EQ(read.genre, 8);
        EXPECT_STREQ(read.genreName, "Jazz");
        EXPECT_EQ(vbmp3::media::fileType(path), VBMP3_TYPE_MPEG | VBMP3_TYPE_HAS_TAG);

        const Bytes bytes = readBytes(path);
        ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 3), "ID3");
        // vbr_v2's own ID3v2.3 tag keeps its version; the others get a new ID3v2.4 tag.
        EXPECT_EQ(bytes[3], std::string(fixtureName) == "vbr_v2.mp3" ? 3 : 4);
        const Bytes v1 = id3v1Block(bytes);
        // Only cbr_v1 had an ID3v1 tag; no other file gets one.
        if (std::string(fixtureName) != "cbr_v1.mp3") {
            EXPECT_NE(v1Field(v1, 0, 3), "TAG");
            EXPECT_EQ(bytes.size(), fs::file_size(fixture(fixtureName)) - id3v2Size(readBytes(fixture(fixtureName))) +
                                        id3v2Size(bytes));
            continue;
        }
        ASSERT_EQ(v1Field(v1, 0, 3), "TAG");
        EXPECT_EQ(v1Field(v1, 3, 30), "New Title");
        EXPECT_EQ(v1Field(v1, 33, 30), "New Artist");
        EXPECT_EQ(v1Field(v1, 63, 30), "New Album");
        EXPECT_EQ(v1Field(v1, 93, 4), "1999");
        EXPECT_EQ(v1Field(v1, 97, 30), "New comment");
        EXPECT_EQ(v1[127], 8);

        // The audio is untouched: same frames as before.
        TagRecord tag{};
        MpegRecord before{};
        MpegRecord after{};
        ASSERT_TRUE(vbmp3::media::readFileInfo(fixture(fixtureName), tag, before));
        ASSERT_TRUE(vbmp3::media::readFileInfo(path, tag, after));
        EXPECT_EQ(after.frames, before.frames);
        EXPECT_EQ(after.seconds, before.seconds);
        EXPECT_EQ(decodeWithMpg123(path).frames, before.frames);
    }
}

TEST_F(MediaTest, NonLatinTitleIsUtf8InId3v2AndQuestionMarksInId3v1)
{
    const auto path = copyOf("cbr_v1.mp3");
    const std::string title = "日本語のタイトル";
    ASSERT_TRUE(vbmp3::media::writeTag(path, record(title, "", "", "", "", -1)));
    TagRecord read{};
    ASSERT_TRUE(vbmp3::media::readTag(path, read));
    EXPECT_EQ(std::string(read.title), title);

    const Bytes bytes = readBytes(path);
    EXPECT_EQ(id3v2FramePayload(bytes, "TIT2"), "\x03" + title); // encoding 3: UTF-8
    EXPECT_EQ(v1Field(id3v1Block(bytes), 3, 30), "????????");
}

TEST_F(MediaTest, LatinTextIsLatin1InId3v1)
{
    const auto path = copyOf("cbr_v1.mp3");
    ASSERT_TRUE(vbmp3::media::writeTag(path, record("Café", "Motörhead", "Ærø", "", "“quoted” – Łódź", -1)));
    const Bytes v1 = id3v1Block(readBytes(path));
    EXPECT_EQ(v1Field(v1, 3, 30), "Caf\xE9");
    EXPECT_EQ(v1Field(v1, 33, 30), "Mot\xF6rhead");
    EXPECT_EQ(v1Field(v1, 63, 30), "\xC6r\xF8");
    EXPECT_EQ(v1Field(v1, 97, 30), "\"quoted\" - L\xF3" "dz"); // ó is Latin-1, ź is not
    TagRecord read{};
    ASSERT_TRUE(vbmp3::media::readTag(path, read));
    EXPECT_STREQ(read.title, "Café");
    EXPECT_STREQ(read.comment, "“quoted” – Łódź"); // ID3v2 keeps it whole
}

TEST_F(MediaTest, LongFieldsAreCutTo30BytesInId3v1Only)
{
    const auto path = copyOf("cbr_v1.mp3");
    const std::string title = "A title that is much longer than thirty characters";
    ASSERT_TRUE(vbmp3::media::writeTag(path, record(title, "", "", "", "", -1)));
    EXPECT_EQ(v1Field(id3v1Block(readBytes(path)), 3, 30), title.substr(0, 30));
    TagRecord read{};
    ASSERT_TRUE(vbmp3::media::readTag(path, read));
    EXPECT_EQ(std::string(read.title), title);
}

TEST_F(MediaTest, YearAndGenreRoundTrip)
{
    const auto path = copyOf("cbr_v1.mp3");
    struct Case {
        const char* year;
        int genre;
        int v1Byte;
        const char* name;
    };
    for (const Case c : {Case{"2024", 0, 0, "Blues"}, Case{"1970", 147, 147, "Synthpop"},
                         Case{"", -1, 255, ""}, Case{"19xx", 200, 200, ""},
                         Case{"2001", 254, 254, "Tokusatsu(J)"}, Case{"2002", 255, 255, "Anime(J)"},
                         Case{"2003", 999, 255, ""}}) {
        SCOPED_TRACE(c.genre);
        ASSERT_TRUE(vbmp3::media::writeTag(path, record("T", "A", "B", c.year, "C", c.genre)));
        TagRecord read{};
        ASSERT_TRUE(vbmp3::media::readTag(path, read));
        EXPECT_STREQ(read.year, c.year);
        EXPECT_EQ(read.genre, c.genre == 999 ? -1 : c.genre);
        EXPECT_STREQ(read.genreName, c.name);
        const Bytes v1 = id3v1Block(readBytes(path));
        EXPECT_EQ(v1[127], c.v1Byte);
        EXPECT_EQ(v1Field(v1, 93, 4), c.year);
    }
}

TEST_F(MediaTest, OtherFramesAndTheTrackNumberSurvive)
{
    // vbr_v2 has an encoder (TSSE) and length (TLEN) frame.
    const auto v2 = copyOf("vbr_v2.mp3");
    ASSERT_TRUE(vbmp3::media::writeTag(v2, record("T", "", "", "", "", -1)));
    const Bytes bytes = readBytes(v2);
    EXPECT_NE(id3v2FramePayload(bytes, "TSSE").find("LAME"), std::string::npos);
    EXPECT_NE(id3v2FramePayload(bytes, "TLEN").find("3000"), std::string::npos);

    // An ID3v1.1 track number stays, and the comment keeps to 28 bytes.
    Bytes withTrack = readBytes(fixture("cbr_v1.mp3"));
    withTrack[withTrack.size() - 3] = 0;
    withTrack[withTrack.size() - 2] = 7;
    writeBytes(pathIn("track.mp3"), withTrack);
    ASSERT_TRUE(vbmp3::media::writeTag(pathIn("track.mp3"),
                                       record("T", "", "", "", "A comment of thirty characters", -1)));
    const Bytes v1 = id3v1Block(readBytes(pathIn("track.mp3")));
    EXPECT_EQ(v1[126], 7);
    EXPECT_EQ(v1Field(v1, 97, 30), "A comment of thirty characte");
}

TEST_F(MediaTest, UnterminatedAndInvalidInputFieldsAreHandled)
{
    const auto path = copyOf("notag.mp3");
    TagRecord tag{};
    std::memset(&tag, 'A', sizeof tag); // no terminating zero anywhere
    tag.title[0] = '\xFF';              // not UTF-8
    tag.genre = 3;
    ASSERT_TRUE(vbmp3::media::writeTag(path, tag));
    TagRecord read{};
    ASSERT_TRUE(vbmp3::media::readTag(path, read));
    EXPECT_EQ(std::string(read.title), "\xEF\xBF\xBD" + std::string(124, 'A')); // U+FFFD, cut to fit
    EXPECT_EQ(std::string(read.artist), std::string(127, 'A'));
    EXPECT_STREQ(read.year, "AAAA");
    EXPECT_EQ(read.genre, 3);
}

// A failed write must leave the file byte for byte as it was, and no
// temporary file behind.
class RefusedWrite : public MediaTest {
protected:
    void expectRefused(const fs::path& path, const std::vector<std::string>& names)
    {
        const Bytes before = fs::is_regular_file(path) ? readBytes(path) : Bytes{};
        EXPECT_FALSE(vbmp3::media::writeTag(path, record("X", "Y", "Z", "2000", "C", 1)));
        if (!before.empty()) {
            EXPECT_EQ(readBytes(path), before);
        }
        EXPECT_EQ(strayFiles(names), std::vector<std::string>{});
    }
};

TEST_F(RefusedWrite, ReadOnlyFile)
{
    const auto path = copyOf("cbr_v1.mp3");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    expectRefused(path, {"cbr_v1.mp3"});
}

TEST_F(RefusedWrite, MissingFileAndDirectory)
{
    expectRefused(pathIn("missing.mp3"), {});
    expectRefused(dir_, {});
}

TEST_F(RefusedWrite, KindsWithoutId3)
{
    expectRefused(copyOf("pcm16_stereo.wav"), {"pcm16_stereo.wav"});
    expectRefused(copyOf("riff_mpeg.rmp"), {"pcm16_stereo.wav", "riff_mpeg.rmp"});
}

TEST_F(RefusedWrite, BadFixtures)
{
    expectRefused(copyOf("notaudio.mp3"), {"notaudio.mp3"});
    expectRefused(copyOf("empty.mp3"), {"notaudio.mp3", "empty.mp3"});
    EXPECT_EQ(fs::file_size(pathIn("empty.mp3")), 0u);
}

TEST_F(RefusedWrite, ReadOnlyDirectory)
{
    fs::create_directory(pathIn("locked"));
    const auto path = pathIn("locked") / "song.mp3";
    fs::copy_file(fixture("notag.mp3"), path);
    fs::permissions(pathIn("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    expectRefused(path, {"locked"});
    EXPECT_EQ(std::distance(fs::directory_iterator(pathIn("locked")), fs::directory_iterator()), 1);
}

TEST_F(MediaTest, TruncatedFileCanBeTaggedAndKeepsItsFrames)
{
    const auto path = copyOf("truncated.mp3");
    ASSERT_TRUE(vbmp3::media::writeTag(path, record("Cut", "", "", "", "", -1)));
    TagRecord tag{};
    MpegRecord info{};
    ASSERT_TRUE(vbmp3::media::readFileInfo(path, tag, info));
    EXPECT_STREQ(tag.title, "Cut");
    EXPECT_EQ(info.frames, 46);
}

TEST_F(MediaTest, SuccessfulWriteKeepsPermissionsAndLeavesNoTemporaryFile)
{
    const auto path = copyOf("notag.mp3");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(vbmp3::media::writeTag(path, record("T", "", "", "", "", -1)));
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(strayFiles({"notag.mp3"}), std::vector<std::string>{});
}

TEST_F(MediaTest, WritingThroughASymbolicLinkChangesTheFileItPointsTo)
{
    const auto target = copyOf("notag.mp3");
    fs::create_symlink(target, pathIn("link.mp3"));
    ASSERT_TRUE(vbmp3::media::writeTag(pathIn("link.mp3"), record("Linked", "", "", "", "", -1)));
    EXPECT_TRUE(fs::is_symlink(pathIn("link.mp3")));
    TagRecord read{};
    ASSERT_TRUE(vbmp3::media::readTag(target, read));
    EXPECT_STREQ(read.title, "Linked");
}

// The engine keeps the playing file open; a tag written meanwhile must not
// change a byte under it.
TEST_F(MediaTest, OpenDescriptorKeepsReadingTheOldBytes)
{
    const auto path = copyOf("cbr_v1.mp3");
    const Bytes before = readBytes(path);
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    Bytes head(4096);
    ASSERT_EQ(::read(fd, head.data(), head.size()), static_cast<ssize_t>(head.size()));

    ASSERT_TRUE(vbmp3::media::writeTag(path, record("While Playing", "", "", "", "", 1)));

    Bytes rest(before.size());
    const ssize_t got = ::read(fd, rest.data(), rest.size());
    ::close(fd);
    ASSERT_GE(got, 0);
    rest.resize(static_cast<std::size_t>(got));
    Bytes seen = head;
    append(seen, rest);
    EXPECT_EQ(seen, before);
    TagRecord read{};
    ASSERT_TRUE(vbmp3::media::readTag(path, read));
    EXPECT_STREQ(read.title, "While Playing");
}

TEST_F(MediaTest, EmptyFieldsClearTheTag)
{
    const auto path = copyOf("vbr_v2.mp3");
    ASSERT_TRUE(vbmp3::media::writeTag(path, record("", "", "", "", "", -1)));
    TagRecord read{};
    ASSERT_TRUE(vbmp3::media::readTag(path, read));
    EXPECT_STREQ(read.title, "");
    EXPECT_STREQ(read.artist, "");
    EXPECT_STREQ(read.comment, "");
    EXPECT_EQ(read.genre, -1);
}

} // namespace
