#include "tag/TagFields.h"
#include "tag/TagLines.h"

#include "TestSupport.h"

#include <algorithm>
#include <cstring>

namespace nuvo {
namespace {

TagRecord taggedRecord()
{
    TagRecord tag{};
    std::strcpy(tag.title, "Fixture Title");
    std::strcpy(tag.artist, "Nuvo Tests");
    std::strcpy(tag.album, "Fixture Album");
    std::strcpy(tag.year, "2001");
    std::strcpy(tag.comment, "Fixture comment");
    tag.genre = 17;
    std::strcpy(tag.genreName, "Rock");
    return tag;
}

MpegRecord stream(int mode)
{
    MpegRecord mpeg{};
    mpeg.version = 1;
    mpeg.layer = 3;
    mpeg.mode = mode;
    mpeg.sampleRate = 44100;
    mpeg.fileSize = 48761;
    mpeg.frames = 116;
    mpeg.seconds = 3;
    return mpeg;
}

TEST(TagLines, SixteenLinesWithTheirValuesWhenTheFileHasATag)
{
    EXPECT_EQ(tagViewLines(taggedRecord(), stream(1), true, "a:b.mp3"),
              QStringList({"-ID3Tag-", "<Title>\t\tFixture Title", "<Artist>\t\tNuvo Tests",
                           "<Album>\t\tFixture Album", "<Year>\t\t2001", "<Genre>\t\tRock",
                           "<Comment>\tFixture comment", "", "-MPEGInfo-", "<Version>\tMPEG 1 layer 3",
                           "<Size>\t\t48761 bytes", "<Length>\t3 seconds", "<Frame>\t\t116 frames",
                           "<SampleRate>\t44100 Hz", "<Mode>\t\tJoint Stereo", "<FileName>\ta:b.mp3"}));
}

TEST(TagLines, BareLabelsWithoutATagAndEmptyValuesKeepTheirTabs)
{
    const QStringList bare = tagViewLines(taggedRecord(), stream(0), false, "x.mp3");
    EXPECT_EQ(bare.mid(1, 6), QStringList({"<Title>", "<Artist>", "<Album>", "<Year>", "<Genre>", "<Comment>"}));
    EXPECT_EQ(bare.size(), kTagViewLineCount);

    TagRecord unnamed = taggedRecord();
    unnamed.genreName[0] = '\0';
    EXPECT_EQ(tagViewLines(unnamed, stream(4), true, "x.mp3")[5], "<Genre>\t\t");
    EXPECT_EQ(tagViewLines(unnamed, stream(4), true, "x.mp3")[14], "<Mode>\t\t");
}

TEST(TagLines, ModeTexts)
{
    EXPECT_EQ(QStringList({channelModeText(0), channelModeText(1), channelModeText(2), channelModeText(3),
                           channelModeText(-1)}),
              QStringList({"Stereo", "Joint Stereo", "Dual Channel", "Monaural", ""}));
}

TEST(TagFields, WrittenTextFitsItsFieldAndIsCutOnACharacterBoundary)
{
    struct Case {
        TagField field;
        QString text;
        QByteArray stored;
    };
    const QString longTitle = QString(126, u'a') + QString::fromUtf8("\xC3\xA9");  // 128 bytes
    const Case cases[] = {
        {TagField::Year, "1999", "1999"},
        {TagField::Year, "19999", "1999"},
        {TagField::Year, QString::fromUtf8("19\xE2\x82\xAC"), "19"},          // the euro sign needs 3 bytes
        {TagField::Title, longTitle, QByteArray(126, 'a')},                   // the two-byte letter does not fit
        {TagField::Title, QString(125, u'a') + QString::fromUtf8("\xC3\xA9\xC3\xA9"), QByteArray(125, 'a') + "\xC3\xA9"},
        {TagField::Comment, QString(200, u'c'), QByteArray(130, 'c')},
        {TagField::Artist, "", ""},
    };
    for (const Case& c : cases) {
        TagRecord record = taggedRecord();
        setFieldText(record, c.field, c.text);
        EXPECT_EQ(fieldText(record, c.field).toUtf8(), c.stored) << c.text.toStdString();
    }
    TagRecord record = taggedRecord();
    setFieldText(record, TagField::Year, "12");
    EXPECT_EQ(QByteArray(record.year, sizeof record.year), QByteArray("12\0\0\0", 5)) << "no old bytes remain";
    EXPECT_STREQ(record.title, "Fixture Title") << "other fields untouched";
}

TEST(TagFields, ArtistValuesComeFromTheListBehindTheTextOnlyWhenItIsThatTextsOwn)
{
    struct Case {
        QByteArray field;  // the artist field's bytes; the rest stays zero
        QStringList values;
    };
    const Case cases[] = {
        {QByteArray("Alice/Bob/Carol\0Alice\0Bob\0Carol\0", 32), {"Alice", "Bob", "Carol"}},
        {QByteArray("AC/DC"), {"AC/DC"}},                                      // no list: one artist
        {QByteArray("Dave\0Alice\0Bob\0", 15), {"Dave"}},                  // an older value's list
        {QByteArray("Alice/Bob\0Alice\0", 16), {"Alice/Bob"}},               // one value is no list
        {QByteArray(""), {}},
        {QByteArray("A/") + QByteArray(1, '\0') + QByteArray(124, 'x') + QByteArray("/", 1), {"A/"}},  // not ended
    };
    for (const Case& c : cases) {
        TagRecord record{};
        std::memcpy(record.artist, c.field.constData(), std::min<std::size_t>(c.field.size(), sizeof record.artist));
        EXPECT_EQ(artistValues(record), c.values) << c.field.toStdString();
    }
}

TEST(TagFields, EditingGuardAndGenreNumbers)
{
    for (int type : {2, 18, 4, 0, -2, -1, -65})
        EXPECT_TRUE(tagsEditable(type)) << type;
    for (int type : {3, 19, 64, 66, 82})
        EXPECT_FALSE(tagsEditable(type)) << type;
    EXPECT_EQ(genreIndexOf(17), 17);
    EXPECT_EQ(genreIndexOf(255), 255);
    EXPECT_EQ(genreIndexOf(256), -1);
    EXPECT_EQ(genreIndexOf(-1), -1);
}

} // namespace
} // namespace nuvo
