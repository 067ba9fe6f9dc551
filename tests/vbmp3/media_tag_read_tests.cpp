// Reading tags: ID3v1, ID3v2 (preferred), WAV tags, genres, field limits.
#include "media.h"
#include "media_test_support.h"

#include <taglib/infotag.h>
#include <taglib/wavfile.h>

#include <cstring>
#include <string_view>

namespace {

using namespace media_test;

void expectFixtureTag(const TagRecord& tag)
{
    EXPECT_STREQ(tag.title, "Fixture Title");
    EXPECT_STREQ(tag.artist, "Nuvo Tests");
    EXPECT_STREQ(tag.album, "Fixture Album");
    EXPECT_STREQ(tag.year, "2001");
    EXPECT_STREQ(tag.comment, "Fixture comment");
    EXPECT_EQ(tag.genre, 17);
    EXPECT_STREQ(tag.genreName, "Rock");
}

void expectNoTag(const TagRecord& tag)
{
    for (const char* field : {tag.title, tag.artist, tag.album, tag.year, tag.comment, tag.genreName})
        EXPECT_STREQ(field, "");
    EXPECT_EQ(tag.genre, -1);
}

TEST_F(MediaTest, Id3v1OnlyIsRead)
{
    TagRecord tag{};
    ASSERT_TRUE(vbmp3::media::readTag(copyOf("cbr_v1.mp3"), tag));
    expectFixtureTag(tag);
}

TEST_F(MediaTest, Id3v2OnlyIsRead)
{
    // ID3v2.3 with UTF-16 texts and the genre as the name "Rock".
    TagRecord tag{};
    ASSERT_TRUE(vbmp3::media::readTag(copyOf("vbr_v2.mp3"), tag));
    expectFixtureTag(tag);
}

TEST_F(MediaTest, NoTagGivesEmptyFieldsAndNoGenre)
{
    for (const char* file : {"notag.mp3", "layer2_48k.mp2", "riff_mpeg.rmp", "pcm16_stereo.wav", "notaudio.mp3"}) {
        TagRecord tag{};
        std::memset(&tag, 'x', sizeof tag);
        ASSERT_TRUE(vbmp3::media::readTag(copyOf(file), tag)) << file;
        expectNoTag(tag);
    }
}

TEST_F(MediaTest, FileInfoCarriesTheTagToo)
{
    TagRecord tag{};
    MpegRecord info{};
    ASSERT_TRUE(vbmp3::media::readFileInfo(copyOf("vbr_v2.mp3"), tag, info));
    expectFixtureTag(tag);
}

TEST_F(MediaTest, Id3v2IsPreferredFieldByField)
{
    // ID3v2 with a title of its own and no album, ID3v1 from the fixture.
    Bytes file = id3v2Tag(3, {{"TIT2", "Longer title from ID3v2"}, {"TPE1", "V2 Artist"}});
    append(file, readBytes(fixture("cbr_v1.mp3")));
    writeBytes(pathIn("both.mp3"), file);
    TagRecord tag{};
    ASSERT_TRUE(vbmp3::media::readTag(pathIn("both.mp3"), tag));
    EXPECT_STREQ(tag.title, "Longer title from ID3v2");
    EXPECT_STREQ(tag.artist, "V2 Artist");
    EXPECT_STREQ(tag.album, "Fixture Album"); // only in ID3v1
    EXPECT_EQ(tag.genre, 17);
}

struct GenreCase {
    std::string_view text;
    int genre;
    const char* name;
};

void PrintTo(const GenreCase& c, std::ostream* out)
{
    *out << '"';
    for (const char ch : c.text)
        *out << (ch ? std::string(1, ch) : std::string("\\0"));
    *out << '"';
}

class GenreText : public MediaTest, public ::testing::WithParamInterface<GenreCase> {};

TEST_P(GenreText, MapsToTheTableAndShowsTheFilesSpelling)
{
    Bytes file = id3v2Tag(3, {{"TCON", std::string(GetParam().text)}});
    append(file, readBytes(fixture("notag.mp3")));
    writeBytes(pathIn("genre.mp3"), file);
    TagRecord tag{};
    ASSERT_TRUE(vbmp3::media::readTag(pathIn("genre.mp3"), tag));
    EXPECT_EQ(tag.genre, GetParam().genre);
    EXPECT_STREQ(tag.genreName, GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Spellings, GenreText, ::testing::Values(
    GenreCase{"(17)", 17, "Rock"},
    GenreCase{"17", 17, "Rock"},
    GenreCase{"Rock", 17, "Rock"},
    GenreCase{"(9)Metal", 9, "Metal"},
    GenreCase{"0", 0, "Blues"},
    GenreCase{"rock & roll", 78, "rock & roll"},
    GenreCase{"Psychedelic", 67, "Psychedelic"},   // the usual spelling, not the table's
    GenreCase{"Psychedelic Rock", 93, "Psychedelic Rock"},
    GenreCase{"Psychadelic", 67, "Psychadelic"},
    GenreCase{"Euro-Techno", 25, "Euro-Techno"},
    GenreCase{std::string_view("Pop\0Dance", 9), 13, "Pop/Dance"}, // several values: the first one's number
    GenreCase{std::string_view("(13)\0Chillout", 13), 13, "Pop/Chillout"},
    GenreCase{"Anime(J)", 255, "Anime(J)"},
    GenreCase{"251", 251, "Seiyu(J)"},
    GenreCase{"(150)", 150, ""},                   // a number without a name
    GenreCase{"200", 200, ""},
    GenreCase{"Chillout", -1, "Chillout"},         // free text stays as written
    GenreCase{"256", -1, "256"}));

TEST_F(MediaTest, Id3v1GenreByte255MeansNone)
{
    Bytes file = readBytes(fixture("cbr_v1.mp3"));
    file.back() = 255;
    writeBytes(pathIn("none.mp3"), file);
    TagRecord tag{};
    ASSERT_TRUE(vbmp3::media::readTag(pathIn("none.mp3"), tag));
    EXPECT_EQ(tag.genre, -1);
    EXPECT_STREQ(tag.genreName, "");
    EXPECT_STREQ(tag.title, "Fixture Title");
}

TEST_F(MediaTest, LongTextsAreCutOnACharacterBoundary)
{
    // 50 three-byte characters: 150 bytes for a 128-byte field.
    std::string title;
    for (int i = 0; i < 50; ++i)
        title += "\xE6\x97\xA5"; // 日
    Bytes file = id3v2Tag(4, {{"TIT2", title}, {"TDRC", "2001-05-06"}});
    append(file, readBytes(fixture("notag.mp3")));
    writeBytes(pathIn("long.mp3"), file);
    TagRecord tag{};
    ASSERT_TRUE(vbmp3::media::readTag(pathIn("long.mp3"), tag));
    EXPECT_EQ(std::string(tag.title), title.substr(0, 126)); // 42 whole characters
    EXPECT_STREQ(tag.year, "2001");
}

TEST_F(MediaTest, CopyFieldCutsOnlyBetweenCharacters)
{
    char field[8];
    vbmp3::media::copyField(field, sizeof field, "abc");
    EXPECT_STREQ(field, "abc");
    vbmp3::media::copyField(field, sizeof field, "abcdefghij");
    EXPECT_STREQ(field, "abcdefg");
    vbmp3::media::copyField(field, sizeof field, "ab\xC3\xA9\xC3\xA9\xC3\xA9"); // abééé: 8 bytes
    EXPECT_STREQ(field, "ab\xC3\xA9\xC3\xA9");
    vbmp3::media::copyField(field, sizeof field, "\xF0\x9F\x8E\xB5\xF0\x9F\x8E\xB5"); // two 4-byte notes
    EXPECT_STREQ(field, "\xF0\x9F\x8E\xB5");
    vbmp3::media::copyField(field, sizeof field, std::string_view("a\0b", 3));
    EXPECT_STREQ(field, "a");
    char one[1] = {'x'};
    vbmp3::media::copyField(one, sizeof one, "abc");
    EXPECT_EQ(one[0], '\0');
    vbmp3::media::copyField(nullptr, 0, "abc"); // nothing to write into, nothing written
}

TEST_F(MediaTest, GenreNameFollowsTheTable)
{
    EXPECT_EQ(vbmp3::media::genreName(0), "Blues");
    EXPECT_EQ(vbmp3::media::genreName(17), "Rock");
    EXPECT_EQ(vbmp3::media::genreName(147), "Synthpop");
    EXPECT_EQ(vbmp3::media::genreName(148), "");
    EXPECT_EQ(vbmp3::media::genreName(250), "");
    EXPECT_EQ(vbmp3::media::genreName(251), "Seiyu(J)");
    EXPECT_EQ(vbmp3::media::genreName(255), "Anime(J)");
    EXPECT_EQ(vbmp3::media::genreName(-1), "");
    EXPECT_EQ(vbmp3::media::genreName(256), "");
}

TEST_F(MediaTest, WavTagIsReadAndSetsTheTagBit)
{
    const auto path = copyOf("pcm16_stereo.wav");
    {
        TagLib::RIFF::WAV::File file(path.c_str(), false);
        ASSERT_TRUE(file.isValid());
        file.InfoTag()->setTitle("Wave Title");
        file.InfoTag()->setArtist("Wave Artist");
        file.InfoTag()->setGenre("Jazz");
        ASSERT_TRUE(file.save(TagLib::RIFF::WAV::File::Info));
    }
    TagRecord tag{};
    ASSERT_TRUE(vbmp3::media::readTag(path, tag));
    EXPECT_STREQ(tag.title, "Wave Title");
    EXPECT_STREQ(tag.artist, "Wave Artist");
    EXPECT_EQ(tag.genre, 8);
    EXPECT_EQ(vbmp3::media::fileType(path),
              VBMP3_TYPE_WAV | VBMP3_TYPE_NO_TAG_WRITE | VBMP3_TYPE_HAS_TAG);
}

} // namespace
