// A file system that is really full (a tiny tmpfs as the program directory):
// every file the program writes says so in words and keeps its old content.
#include "WindowTest.h"

#include <QComboBox>
#include <QDialog>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>

#include <sys/mount.h>

#include <functional>

namespace nuvo::test {
namespace {

class FullDiskTest : public WindowTest, public ::testing::WithParamInterface<int> {
public:
    // What the table of writers below uses.
    using WindowTest::action;
    using WindowTest::dialogs_;
    using WindowTest::homePath;
    using WindowTest::window_;

protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        // Mounting needs the right to; without it the test has no full disk to use.
        mounted_ = ::mount("tmpfs", QFile::encodeName(home_.path()).constData(), "tmpfs", 0, "size=512k") == 0;
        if (!mounted_)
            GTEST_SKIP() << "no tmpfs can be mounted here (needs root)";
    }

    void TearDown() override
    {
        WindowTest::TearDown();
        if (mounted_)
            ::umount2(QFile::encodeName(home_.path()).constData(), MNT_DETACH);
    }

    // Takes what room is left, so the next write of a byte fails with ENOSPC.
    void fillTheDisk()
    {
        QFile filler(homePath("filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write("x", 1) == 1) {
        }
    }

    bool mounted_ = false;
};

struct Writer {
    const char* file;
    const char* settings;                       // Nuvo.ini of the start
    std::function<void(FullDiskTest&)> write;  // what the user does on the full disk
};

const Writer kWriters[] = {
    {"Nuvo.ini", "", [](FullDiskTest&) {}},   // written, with the two below, by the close itself
    {"List.m3u", "", [](FullDiskTest&) {}},
    {"Eqlz.lst", "", [](FullDiskTest&) {}},
    {"saved.m3u", "",
     [](FullDiskTest& test) {
         test.dialogs_.fileAnswers.push_back({{test.homePath("saved.m3u")}, "M3U (*.m3u)"});
         test.action("SaveList")->trigger();
     }},
    {"bound.pls", "[List]\r\nOpenedList=%1/bound.pls\r\nListChanged=1\r\n",
     [](FullDiskTest& test) { test.action("UpDateC")->trigger(); }},
    {"Eqlz.ini", "",
     [](FullDiskTest& test) {
         QLineEdit* name = test.window_->findChild<QComboBox*>("ComboBox2")->lineEdit();
         name->setFocus();
         QTest::keyClicks(name, "Loud");
         test.window_->findChild<QPushButton*>("Button3")->click();
     }},
    {"FDir.lst", "",
     [](FullDiskTest& test) {
         test.dialogs_.dialogAnswers.push_back([&test](QDialog& editor) {
             QMimeData data;
             data.setUrls({QUrl::fromLocalFile(test.homePath("music"))});
             QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             static_cast<QObject&>(editor).event(&drop);
             return int(QDialog::Accepted);
         });
         test.window_->findChild<QMenu*>("Favorite1")->actions().at(0)->trigger(); // "Edit"
     }},
};

TEST_P(FullDiskTest, AWriterSaysSoAndKeepsTheOldFile)
{
    const Writer& writer = kWriters[GetParam()];
    const QByteArray old = "old content, written before the disk was full\r\n";
    for (const char* name : {"Nuvo.ini", "List.m3u", "Eqlz.lst", "saved.m3u", "bound.pls", "Eqlz.ini", "FDir.lst"})
        writeHomeFile(name, old);
    QDir(home_.path()).mkdir("music");
    if (*writer.settings)
        writeHomeFile("Nuvo.ini", QString::fromLatin1(writer.settings).arg(home_.path()).toUtf8());
    writePlaylist({addTrack("music/a.mp3")});
    const QByteArray before = readHomeFile(writer.file);
    start();
    fillTheDisk();
    writer.write(*this);
    closeWindow();

    EXPECT_EQ(readHomeFile(writer.file), before) << writer.file;
    const QString said = dialogs_.errors().join('\n');
    EXPECT_TRUE(said.contains("Cannot write " + homePath(writer.file))) << writer.file << ": " << said.toStdString();
    EXPECT_TRUE(said.contains("No space left on device")) << said.toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, FullDiskTest, ::testing::Range(0, int(std::size(kWriters))),
                         [](const ::testing::TestParamInfo<int>& info) {
                             QString name = QString::fromLatin1(kWriters[info.param].file);
                             return name.remove('.').toStdString();
                         });

} // namespace
} // namespace nuvo::test
