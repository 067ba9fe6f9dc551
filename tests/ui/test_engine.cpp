// The engine list: its two check lines, their dialogs, what reaches the
// decoder, and the exclusion with the equalizer.
#include "WindowTest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

namespace nuvo::test {
namespace {

constexpr int kBufferLine = 0;
constexpr int kDecodeLine = 6;

class EngineTest : public WindowTest {
protected:
    QListWidget* engine() const { return window_->findChild<QListWidget*>("CheckListBox2"); }
    QString line(int row) const { return engine()->item(row)->text(); }
    QStringList valueLines() const { return {line(2), line(4), line(8), line(10), line(12)}; }
    bool lineChecked(int row) const { return engine()->item(row)->checkState() == Qt::Checked; }
    // As the user's click on the check box: the list's own change, signals and all.
    void toggleLine(int row, bool checked)
    {
        engine()->setCurrentRow(row);
        engine()->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    QCheckBox* equalizerSwitch() const { return window_->findChild<QCheckBox*>("CheckBox1"); }
    int settingCalls() const { return fake_->count("setVbmp3Option") + fake_->count("setDecodeOption"); }
};

TEST_F(EngineTest, TheBufferDialogShowsTheValuesInForceAndSetSendsTheNewOnes)
{
    start();
    fake_->buffer = {40, 25, 6, 1};
    dialogs_.dialogAnswers.push_back([](QDialog& dialog) {
        const int shown[] = {40, 25, 6, 1}, chosen[] = {100, 50, 10, 2};
        for (int i = 0; i < 4; ++i) {
            auto* spin = dialog.findChild<QSpinBox*>(QStringLiteral("UpDown%1").arg(i + 1));
            EXPECT_EQ(spin->value(), shown[i]) << i;
            spin->setValue(chosen[i]);
        }
        return int(QDialog::Accepted);
    });
    toggleLine(kBufferLine, true);
    ASSERT_EQ(dialogs_.asked.size(), 1u);
    EXPECT_EQ(dialogs_.asked[0].text, "VBMP3Setting");
    EXPECT_TRUE(lineChecked(kBufferLine));
    EXPECT_EQ(fake_->buffer.outputFrames, 50);
    EXPECT_EQ(line(2), "Input 100 frames/Output 50 frames");
    EXPECT_EQ(line(4), "Input 10 mSec/Output 2 mSec");

    // Enter on the checked line opens it again; Cancel there changes nothing.
    const int calls = settingCalls();
    QTest::keyClick(engine(), Qt::Key_Return);
    ASSERT_EQ(dialogs_.asked.size(), 2u);
    EXPECT_TRUE(lineChecked(kBufferLine));
    EXPECT_EQ(settingCalls(), calls);

    toggleLine(kBufferLine, false);
    EXPECT_EQ(fake_->buffer.inputFrames, 30);
    EXPECT_EQ(fake_->buffer.inputSleepMs, 5);
    EXPECT_EQ(line(2), "Input 30 frames/Output 20 frames");
    EXPECT_EQ(line(4), "Input 5 mSec/Output 0 mSec");
}

TEST_F(EngineTest, TheDecodeDialogSetsTheFormatAndLocksTheEqualizerWhileOn)
{
    start();
    dialogs_.dialogAnswers.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "DecoderSetting");
        dialog.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(1);
        dialog.findChild<QComboBox*>("ComboBox2")->setCurrentIndex(1);
        dialog.findChild<QSpinBox*>("UpDown1")->setValue(11025);
        return int(QDialog::Accepted);
    });
    // What the decoder got, and the three lines that show it.
    auto format = [&] {
        return QStringList{QString::number(fake_->decode.downSampling), QString::number(fake_->decode.channels),
                           QString::number(fake_->decode.frequencyLimit), line(8), line(10), line(12)};
    };
    toggleLine(kDecodeLine, true);
    EXPECT_EQ(format(), (QStringList{"1", "1", "11025", "1/2", "Monaural", "11025 Hz"}));
    EXPECT_FALSE(equalizerSwitch()->isEnabled());

    // A rate below what the library takes: the line shows the rate in force.
    dialogs_.dialogAnswers.push_back([](QDialog& dialog) {
        dialog.findChild<QSpinBox*>("UpDown1")->setValue(0);
        return int(QDialog::Accepted);
    });
    emit engine()->itemDoubleClicked(engine()->item(kDecodeLine));
    EXPECT_EQ(format(), (QStringList{"1", "1", "100", "1/2", "Monaural", "100 Hz"}));

    toggleLine(kDecodeLine, false);
    EXPECT_EQ(format(), (QStringList{"0", "0", "24000", "1/1", "Stereo", "24000 Hz"}));
    EXPECT_TRUE(equalizerSwitch()->isEnabled());
}

TEST_F(EngineTest, CancelOrAnOpenTrackLeavesTheLineOffAndSendsNothing)
{
    writePlaylist({addTrack("a.mp3")});
    start();
    // The library's own values, different from the defaults, so a reset would show.
    fake_->buffer = {40, 25, 6, 1};
    fake_->decode = {2, 1, 8000};
    const QStringList lines = valueLines();
    for (int row : {kBufferLine, kDecodeLine})
        toggleLine(row, true); // both dialogs cancelled
    EXPECT_EQ(dialogs_.asked.size(), 2u);

    // A double click on a line that is off, or any toggle while a track is open, opens nothing.
    emit engine()->itemDoubleClicked(engine()->item(kDecodeLine));
    action("Play")->trigger();
    for (int row : {kBufferLine, kDecodeLine})
        toggleLine(row, true);
    EXPECT_EQ(dialogs_.asked.size(), 2u);

    EXPECT_FALSE(lineChecked(kBufferLine));
    EXPECT_FALSE(lineChecked(kDecodeLine));
    EXPECT_EQ(settingCalls(), 0);
    EXPECT_EQ(valueLines(), lines);
    EXPECT_TRUE(equalizerSwitch()->isEnabled());
}

TEST_F(EngineTest, TheEqualizerAndTheOutputFormatExcludeEachOther)
{
    writeHomeFile("Nuvo.ini", "[Equalizer]\r\nEnable=1\r\n");
    start();
    EXPECT_TRUE(equalizerSwitch()->isChecked());
    EXPECT_FALSE(engine()->item(kDecodeLine)->flags() & Qt::ItemIsEnabled);
    closeWindow();

    // Both switched on in the file: the output format wins, the equalizer stays off and locked.
    fake_ = &FakeDecoder::reset();
    writeHomeFile("Nuvo.ini", "[Equalizer]\r\nEnable=1\r\n[Engine]\r\nDecoder=1\r\nDownSample=1\r\n");
    start();
    EXPECT_TRUE(lineChecked(kDecodeLine));
    EXPECT_TRUE(engine()->item(kDecodeLine)->flags() & Qt::ItemIsEnabled);
    EXPECT_FALSE(equalizerSwitch()->isChecked());
    EXPECT_FALSE(equalizerSwitch()->isEnabled());
    EXPECT_EQ(fake_->count("setEqualizer table"), 0);
    EXPECT_EQ(fake_->decode.downSampling, 1);
    closeWindow();
    EXPECT_TRUE(readHomeFile("Nuvo.ini").contains("[Equalizer]\r\nEnable=0\r\n"));
}

TEST_F(EngineTest, TheDialogsTakeDigitsOnlyWithinTheirRanges)
{
    start();
    fake_->decode = {7, -1, 24000}; // no entries for these: the lists show their first
    for (const auto& [row, name, maximum] : {std::tuple{kBufferLine, "Edit4", 1000}, {kDecodeLine, "Edit1", 30000}}) {
        dialogs_.dialogAnswers.push_back([name, maximum](QDialog& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>(name);
            auto* spin = qobject_cast<QSpinBox*>(edit->parentWidget());
            EXPECT_EQ(edit->maxLength(), maximum == 1000 ? 4 : 5);
            edit->selectAll();
            QTest::keyClicks(edit, "1a-2 +3,");
            EXPECT_EQ(edit->text(), "123") << "typed";
            edit->selectAll();
            edit->insert("9x9");
            EXPECT_EQ(edit->text(), "123") << "pasted with a letter: refused";
            spin->setValue(maximum + 1);
            EXPECT_EQ(spin->value(), maximum);
            spin->setValue(-5);
            EXPECT_TRUE(dialog.findChild<QPushButton*>("OKBtn")->isDefault());
            EXPECT_EQ(dialog.findChild<QPushButton*>("CancelBtn")->text(), "Cancel");
            return int(QDialog::Accepted);
        });
        toggleLine(row, true);
    }
    EXPECT_EQ(fake_->buffer.outputSleepMs, 0);
    EXPECT_EQ(fake_->decodeSent.frequencyLimit, 0);
    EXPECT_EQ(line(8), "1/1");
    EXPECT_EQ(line(10), "Stereo");
}

} // namespace
} // namespace nuvo::test
