// The TagEdit page with the real decoder library on copies of the fixtures:
// what a write leaves in the file, read back independently with TagLib, and
// a rename that meets an existing name.
#include "WindowTest.h"

#include "playback/DecoderLibrary.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

namespace nuvo::test {
namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The file without its ID3v2 tag at the start and its ID3v1 tag at the end.
QByteArray audioBytes(const QByteArray& file)
{
    qsizetype from = 0;
    if (file.startsWith("ID3") && file.size() >= 10) {
        const auto b = [&](int i) { return static_cast<qsizetype>(static_cast<unsigned char>(file[i]) & 0x7F); };
        from = 10 + (b(6) << 21 | b(7) << 14 | b(8) << 7 | b(9)) + ((file[5] & 0x10) ? 10 : 0);
    }
    qsizetype to = file.size();
    if (to - from >= 128 && file.mid(to - 128, 3) == "TAG")
        to -= 128;
    return file.mid(from, to - from);
}

class TagFilesTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        qputenv("NUVO_AUDIO_DRIVER", "dummy");
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        qunsetenv("NUVO_AUDIO_DRIVER");
    }

    QString copyOf(const char* fixture, const QString& as)
    {
        const QString target = homePath(as);
        EXPECT_TRUE(QFile::copy(QStringLiteral(NUVO_FIXTURES_DIR "/") + fixture, target));
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }

    void startWithRealLibrary(const QStringList& playlist)
    {
        writePlaylist(playlist);
        DecoderBinding decoder;
        decoder.library = DecoderLibrary::load(QStringLiteral(NUVO_VBMP3_LIBRARY));
        ASSERT_NE(decoder.library, nullptr);
        decoder.api = decoder.library->api();
        decoder.loaded = true;
        startWith(std::move(decoder));
        window_->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    }

    template <class Widget>
    Widget* part(const char* name) const
    {
        return window_->findChild<QWidget*>("TabSheet2")->findChild<Widget*>(QString::fromLatin1(name));
    }

    // The user picks a line, types a new value and presses "Edit".
    void edit(int line, const QString& text)
    {
        auto* view = part<QListWidget>("ListBox2");
        view->setCurrentRow(line);
        QTest::keyClick(view, Qt::Key_Return);
        part<QLineEdit>("Edit1")->setText(text);
        part<QPushButton>("Button2")->click();
    }
    QString viewLine(int line) const { return part<QListWidget>("ListBox2")->item(line)->text(); }
};

TEST_F(TagFilesTest, AWrittenTitleLandsInTheFilesTagsAndTheAudioStaysAsItWas)
{
    // cbr_v1 has only an ID3v1 tag, vbr_v2 only an ID3v2 tag.
    for (const char* fixture : {"cbr_v1.mp3", "vbr_v2.mp3"}) {
        SCOPED_TRACE(fixture);
        const QString path = copyOf(fixture, QStringLiteral("track.mp3"));
        const QByteArray before = bytesOf(path);
        startWithRealLibrary({path});
        ASSERT_EQ(viewLine(1), "<Title>\t\tFixture Title");

        edit(1, QString::fromUtf8("Round tr\xC3\xADp"));
        EXPECT_EQ(viewLine(1), QString::fromUtf8("<Title>\t\tRound tr\xC3\xADp"));
        EXPECT_EQ(viewLine(2), "<Artist>\t\tNuvo Tests");
        EXPECT_TRUE(dialogs_.errors().isEmpty());
        closeWindow();

        const QByteArray after = bytesOf(path);
        EXPECT_EQ(audioBytes(after), audioBytes(before));
        TagLib::MPEG::File file(QFile::encodeName(path).constData());
        ASSERT_TRUE(file.isValid());
        ASSERT_NE(file.ID3v2Tag(), nullptr);
        EXPECT_EQ(file.ID3v2Tag()->title().to8Bit(true), "Round tr\xC3\xADp");
        EXPECT_EQ(file.ID3v2Tag()->artist().to8Bit(true), "Nuvo Tests");
        EXPECT_EQ(file.ID3v2Tag()->year(), 2001u);
        ASSERT_EQ(file.hasID3v1Tag(), std::string(fixture) == "cbr_v1.mp3") << "an ID3v1 tag only where there was one";
        if (file.hasID3v1Tag()) {
            EXPECT_EQ(file.ID3v1Tag()->title().to8Bit(true), "Round tr\xC3\xADp");
            EXPECT_EQ(file.ID3v1Tag()->artist().to8Bit(true), "Nuvo Tests");
        }
        QFile::remove(path);
    }
}

TEST_F(TagFilesTest, ARenameOntoAnExistingNameFailsWithBothFilesIntact)
{
    const QString first = copyOf("cbr_v1.mp3", QStringLiteral("first.mp3"));
    const QString second = copyOf("notag.mp3", QStringLiteral("second.mp3"));
    const QByteArray firstBytes = bytesOf(first);
    const QByteArray secondBytes = bytesOf(second);
    startWithRealLibrary({first, second});
    ASSERT_EQ(viewLine(15), "<FileName>\tfirst.mp3");

    edit(15, QStringLiteral("second"));
    EXPECT_EQ(bytesOf(first), firstBytes);
    EXPECT_EQ(bytesOf(second), secondBytes);
    EXPECT_EQ(playlistView()->model()->index(0, 0).data().toString(), first);
    ASSERT_EQ(dialogs_.errors().size(), 1);
    EXPECT_TRUE(dialogs_.errors()[0].startsWith("\"first.mp3\" could not be renamed to \"second.mp3\""))
        << dialogs_.errors()[0].toStdString();
    EXPECT_EQ(viewLine(15), "<FileName>\tfirst.mp3");
}

} // namespace
} // namespace nuvo::test
