// The equalizer page: the curve drawn pixel by pixel, edited with the
// pointer and the band steps, switched on and off, and its presets.
#include "WindowTest.h"

#include "equalizer/CurveImage.h"
#include "equalizer/EqualizerPage.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>

#include <cmath>
#include <functional>

namespace nuvo::test {
namespace {

constexpr int kEqualizerPage = 2;

// Device columns of a range of device rows holding a colour: the ink of a read-out.
struct Ink {
    int left = -1;
    int right = -1;
};

Ink inkIn(const QImage& picture, int firstRow, int rows, QRgb color, const std::vector<int>& skipColumns = {})
{
    Ink ink;
    for (int x = 0; x < picture.width(); ++x) {
        if (std::find(skipColumns.begin(), skipColumns.end(), x) != skipColumns.end())
            continue;
        for (int y = firstRow; y < firstRow + rows; ++y) {
            if (picture.pixel(x, y) == color) {
                if (ink.left < 0)
                    ink.left = x;
                ink.right = x;
                break;
            }
        }
    }
    return ink;
}

// The device columns of the given window columns.
std::vector<int> deviceColumns(const DevicePixels& device, std::initializer_list<int> columns)
{
    std::vector<int> all;
    for (const int column : columns)
        for (int x = device.first(column); x < device.first(column + 1); ++x)
            all.push_back(x);
    return all;
}

class EqualizerTest : public WindowTest {
protected:
    void startOnPage(const QByteArray& settings = {})
    {
        if (!settings.isEmpty())
            writeHomeFile("Nuvo.ini", settings);
        start();
        window_->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(kEqualizerPage);
    }

    CurveImage* image() const { return window_->findChild<CurveImage*>("Image1"); }
    QComboBox* presetBox() const { return window_->findChild<QComboBox*>("ComboBox2"); }
    QCheckBox* enable() const { return window_->findChild<QCheckBox*>("CheckBox1"); }
    QPushButton* button(const char* name) const { return window_->findChild<QPushButton*>(name); }
    QRgb windowColor() const { return image()->palette().color(QPalette::Base).rgb(); }
    QRgb textColor() const { return image()->palette().color(QPalette::Text).rgb(); }

    void pointer(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, target->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button,
                          held, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    void click(QPoint at)
    {
        pointer(image(), QEvent::MouseButtonPress, at);
        pointer(image(), QEvent::MouseButtonRelease, at);
    }

    // The read-out drawn alone at window column 10 of a picture of the same scale.
    QImage readoutAlone(const QString& text) const
    {
        CurveImage alone;
        alone.setFont(image()->font());
        alone.resize(400, 30);
        alone.text(10, 0, text, textColor());
        return alone.picture();
    }

    // Where the read-out of a band must stand, as the ink of the same text
    // drawn alone at a known place shows it.
    void expectReadout(int band, std::int32_t value, const QString& text)
    {
        const int top = bandRowTop(band);
        const int right = markerRight(value);
        const int width = image()->textWidth(text);
        const int left = right >= 96 ? right - width - 5 : right + 4;
        const QImage picture = image()->picture();
        const DevicePixels device(picture);

        const Ink reference = inkIn(readoutAlone(text), 0, device.first(12), textColor());
        ASSERT_GE(reference.left, device.first(10));
        const int shift = device.first(left) - device.first(10);

        const Ink drawn = inkIn(picture, device.first(top + 3), device.first(12), textColor(),
                                deviceColumns(device, {right - 96, right - 1}));
        // At a fractional scale a letter's place is rounded anew: a device pixel either way.
        const int slack = device.ratio == std::floor(device.ratio) ? 0 : 1;
        EXPECT_NEAR(drawn.left, reference.left + shift, slack) << text.toStdString();
        EXPECT_NEAR(drawn.right, std::min(reference.right + shift, picture.width() - 1), slack) << text.toStdString();
    }
};

TEST_F(EqualizerTest, TheMarkerCoversExactlyTheNamedPixelsWithoutAntialiasing)
{
    startOnPage();
    click({200, 40});   // band 2 at +8 dB: marker over columns 104..199, rows 38..53
    const QImage picture = image()->picture();
    const QRgb text = textColor();
    const QRgb window = windowColor();
    for (int y = 38; y <= 53; ++y) {
        EXPECT_EQ(windowPixel(picture, 104, y), text) << y;
        EXPECT_EQ(windowPixel(picture, 199, y), text) << y;
        EXPECT_EQ(windowPixel(picture, 103, y), window) << y;
        EXPECT_EQ(windowPixel(picture, 200, y), window) << y;
    }
    for (int x = 104; x <= 199; ++x) {
        EXPECT_EQ(windowPixel(picture, x, 38), text) << x;
        EXPECT_EQ(windowPixel(picture, x, 53), text) << x;
        EXPECT_EQ(windowPixel(picture, x, 37), window) << x;
        if (x > 104 && x < 199) {
            EXPECT_EQ(windowPixel(picture, x, 39), window) << x;
        }
    }
    EXPECT_EQ(windowPixel(picture, 24, 45), window) << "the row's old marker is erased";
    // Every device pixel, the letters' included: nothing is blended.
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ASSERT_TRUE(picture.pixel(x, y) == text || picture.pixel(x, y) == window) << x << "," << y;
}

TEST_F(EqualizerTest, ReadOutsStandInsideAWholeMarkerAndRightOfACutOne)
{
    startOnPage();
    // -24 leaves the marker whole (x = 96); -25 cuts one column off.
    click({96, 4});
    click({95, 21});
    click({300, 38});
    pointer(image(), QEvent::MouseButtonPress, {10, 55});
    pointer(image(), QEvent::MouseMove, {-5, 55});
    pointer(image(), QEvent::MouseButtonRelease, {-5, 55});
    expectReadout(0, -24, "60Hz [ -2.4dB ]");
    expectReadout(1, -25, "170Hz [ -2.5dB ]");
    expectReadout(2, 120, "310Hz [ 12dB ]");
    expectReadout(3, -120, "600Hz [ -12dB ]");
    const DevicePixels device(image()->picture());
    const Ink ends = inkIn(image()->picture(), device.first(bandRowTop(3)), device.first(16), textColor());
    EXPECT_GE(ends.left, device.first(4)) << "nothing of the marker at -120 is seen";
}

TEST_F(EqualizerTest, AReadOutWiderThanTheMarkerIsNotCutByItsBorder)
{
    startOnPage();
    // A larger desktop font: the read-out no longer fits inside the marker.
    QFont large = image()->font();
    large.setPixelSize(14);
    image()->setFont(large);
    const QString text = "12kHz [ -0.1dB ]";
    const int width = image()->textWidth(text);
    ASSERT_GT(width + 5, 96);
    click({119, bandRowTop(7)});   // -0.1 dB: marker over columns 23..118

    const QImage picture = image()->picture();
    const QImage alone = readoutAlone(text);
    const DevicePixels device(picture);
    const int left = 119 - width - 5;
    const int top = bandRowTop(7);
    const int textRows = std::min(image()->textHeight(), 12);
    // Within the text's line the picture is the text alone: no border runs through it.
    for (int y = 0; y < device.first(textRows); ++y)
        for (int x = device.first(left); x < device.first(23 + 1); ++x)
            ASSERT_EQ(picture.pixel(x, device.first(top + 3) + y),
                      alone.pixel(x - device.first(left) + device.first(10), y)) << x << "," << y;
    // Above and below the text, and at the right, the marker is as always.
    for (int y : {top, top + 1, top + 2, top + 15})
        EXPECT_EQ(windowPixel(picture, 23, y), textColor()) << y;
    for (int y = top; y < top + 16; ++y)
        EXPECT_EQ(windowPixel(picture, 118, y), textColor()) << y;
    expectReadout(7, -1, text);
}

TEST_F(EqualizerTest, ReadOutsUseTheUsersDecimalSeparator)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German));
    startOnPage();
    click({85, 72});
    QLocale::setDefault(saved);
    expectReadout(4, -35, "1kHz [ -3,5dB ]");
}

TEST_F(EqualizerTest, OnlyTheBandRowsTakeThePointerAlsoThroughTheScrollBox)
{
    startOnPage("[Equalizer]\r\nEnable=1\r\n");
    const QImage flat = image()->picture();
    click({150, 3});
    click({150, 174});
    EXPECT_EQ(image()->picture(), flat) << "outside the rows nothing is drawn";
    const std::size_t before = fake_->calls.size();

    pointer(image(), QEvent::MouseButtonPress, {130, 20});    // band 0 at +1 dB
    pointer(image(), QEvent::MouseMove, {140, 21});           // band 1 at +2 dB
    pointer(image(), QEvent::MouseMove, {-5, 38});            // band 2 at -12 dB
    pointer(image(), QEvent::MouseMove, {300, 173}, Qt::NoButton);
    EXPECT_EQ(fake_->callsSince(before), std::vector<std::string>{}) << "nothing is sent while drawing";
    pointer(image(), QEvent::MouseButtonRelease, {300, 173});
    EXPECT_EQ(fake_->equalizer, (std::array<int32_t, 10>{10, 20, -120, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(fake_->callsSince(before), std::vector<std::string>{"setEqualizer table"});

    // Beyond the picture the scroll box takes the pointer in the picture's coordinates.
    QWidget* viewport = window_->findChild<QScrollArea*>("ScrollBox1")->viewport();
    const QPoint origin = image()->mapTo(viewport, QPoint(0, 0));
    pointer(viewport, QEvent::MouseButtonPress, origin + QPoint(280, 100));
    pointer(viewport, QEvent::MouseButtonRelease, origin + QPoint(280, 100));
    EXPECT_EQ(fake_->equalizer[5], 120);
    pointer(viewport, QEvent::MouseButtonPress, origin + QPoint(100, 100), Qt::RightButton);
    EXPECT_EQ(fake_->equalizer[5], 120) << "only the left button edits";
}

TEST_F(EqualizerTest, AMouseEditLeavesTheKeysWithThePageControl)
{
    startOnPage("[Equalizer]\r\nEnable=1\r\n");
    focusPageControl();
    QWidget* viewport = window_->findChild<QScrollArea*>("ScrollBox1")->viewport();
    QTest::mouseClick(image(), Qt::LeftButton, Qt::NoModifier, {130, 4});   // band 0 at +1 dB
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, image()->mapTo(viewport, QPoint(280, 100)));
    EXPECT_TRUE(window_->findChild<QTabWidget*>("PageControl1")->hasFocus());

    // The keys go where the keyboard's focus is.
    typeKey(QApplication::focusWidget(), Qt::Key_1);
    EXPECT_EQ(fake_->equalizer, (std::array<int32_t, 10>{11, 0, 0, 0, 0, 120, 0, 0, 0, 0}));
    typeKey(QApplication::focusWidget(), Qt::Key_A);
    EXPECT_EQ(label("Label1")->text(), "99") << "a letter command acts too";
}

TEST_F(EqualizerTest, BandStepsRedrawWithTheKeyLabelAndStopAtTheEnds)
{
    startOnPage("[Option]\r\nEqualize=1\r\n[Equalizer]\r\nEnable=1\r\n");
    EqualizerPage& page = window_->equalizerPage();
    click({220, 4});   // +10 dB
    const std::size_t before = fake_->calls.size();
    for (int press = 0; press < 3; ++press)
        page.raiseBand(0);
    expectReadout(0, 115, "60Hz[ 11.5dB ]");
    page.raiseBand(0);
    expectReadout(0, 120, "60Hz[ 12dB ]");
    const QImage atTop = image()->picture();
    page.raiseBand(0);
    EXPECT_EQ(image()->picture(), atTop) << "at the end nothing is drawn";

    for (int press = 0; press < 24; ++press)
        page.lowerBand(9);
    expectReadout(9, -120, "16kHz[ -12dB ]");
    const QImage atBottom = image()->picture();
    page.lowerBand(9);
    EXPECT_EQ(image()->picture(), atBottom);
    EXPECT_EQ(fake_->callsSince(before), std::vector<std::string>{}) << "the key release sends the table";
    page.applyEqualizer();
    EXPECT_EQ(fake_->equalizer, (std::array<int32_t, 10>{120, 0, 0, 0, 0, 0, 0, 0, 0, -120}));
}

TEST_F(EqualizerTest, EnableSendsTheEditedCurveAndOffSendsNoneWhileATrackPlays)
{
    writePlaylist({addTrack("a.mp3")});
    startOnPage();
    click({170, 72});
    EXPECT_EQ(fake_->count("setEqualizer table"), 0) << "switched off, editing only draws";
    auto* decoderLine = window_->findChild<QListWidget*>("CheckListBox2")->item(6);

    enable()->click();
    EXPECT_EQ(fake_->equalizer[4], 50);
    EXPECT_FALSE(decoderLine->flags() & Qt::ItemIsEnabled) << "the user's output format is excluded";

    action("Play")->trigger();
    ASSERT_TRUE(window_->trackOpen());
    std::size_t before = fake_->calls.size();
    enable()->click();
    EXPECT_EQ(fake_->callsSince(before), (std::vector<std::string>{"setEqualizer off", "reload"}));
    EXPECT_TRUE(decoderLine->flags() & Qt::ItemIsEnabled);
    before = fake_->calls.size();
    enable()->click();
    EXPECT_EQ(fake_->callsSince(before), (std::vector<std::string>{"setEqualizer table", "reload"}));
    EXPECT_EQ(fake_->equalizer[4], 50);
}

// --- presets ---

class PresetTest : public EqualizerTest {
protected:
    void SetUp() override
    {
        EqualizerTest::SetUp();
        writeHomeFile("Eqlz.lst", "Default\r\nRock\r\nJazz\r\n");
        writeHomeFile("Eqlz.ini", "[Rock]\r\n60Hz=40\r\n16kHz=-20\r\n\r\n[jazz]\r\n1KHZ=300\r\n\r\n");
    }
    void type(const QString& text)
    {
        QLineEdit* edit = presetBox()->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    // As the user chooses: a click on the name in the opened list.
    void pick(int index)
    {
        QComboBox* box = presetBox();
        box->showPopup();
        QAbstractItemView* list = box->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
        const QRect item = list->visualRect(list->model()->index(index, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
        ASSERT_FALSE(list->isVisible());
    }
    // The ini file's section of a preset as Add writes it.
    static QByteArray storedSection(const QString& name, const std::array<int32_t, 10>& table)
    {
        static const char* const keys[] = {"60Hz", "170Hz", "310Hz", "600Hz", "1kHz",
                                           "3kHz", "6kHz",  "12kHz", "14kHz", "16kHz"};
        QByteArray section = "[" + name.toUtf8() + "]\r\n";
        for (std::size_t band = 0; band < table.size(); ++band)
            section += QByteArray(keys[band]) + "=" + QByteArray::number(table[band]) + "\r\n";
        return section;
    }
    QStringList items() const
    {
        QStringList names;
        for (int i = 0; i < presetBox()->count(); ++i)
            names << presetBox()->itemText(i);
        return names;
    }
};

TEST_F(PresetTest, TheSelectedPresetAndTheSwitchComeBackAtTheNextStart)
{
    startOnPage("[Equalizer]\r\nEnable=1\r\nItem=2\r\n");
    EXPECT_EQ(fake_->equalizer, (std::array<int32_t, 10>{0, 0, 0, 0, 120, 0, 0, 0, 0, 0}))
        << "the third name's curve, found in any case and kept in range";
    EXPECT_TRUE(enable()->isChecked());
    EXPECT_TRUE(button("Button3")->isEnabled());
    EXPECT_TRUE(button("Button4")->isEnabled());
    expectReadout(4, 120, "1kHz [ 12dB ]");
    closeWindow();
    EXPECT_TRUE(readHomeFile("Nuvo.ini").contains("[Equalizer]\r\nEnable=1\r\nItem=2\r\n"));

    fake_->calls.clear();
    startOnPage("[Equalizer]\r\nEnable=0\r\nItem=3\r\n");
    EXPECT_EQ(presetBox()->currentIndex(), -1) << "an index beyond the list selects nothing";
    EXPECT_EQ(fake_->count("setEqualizer table"), 0);
    expectReadout(4, 0, "1kHz [ 0dB ]");
    EXPECT_FALSE(button("Button3")->isEnabled());
}

TEST_F(PresetTest, ATypedNameLeavesThePickedPresetAndAddStoresTheCurveUnderIt)
{
    startOnPage("[Equalizer]\r\nItem=1\r\n");
    type("  Warm ");
    EXPECT_EQ(presetBox()->currentIndex(), -1) << "Del must not delete Rock now";
    EXPECT_EQ(presetBox()->currentText(), QStringLiteral("  Warm "));
    EXPECT_TRUE(button("Button3")->isEnabled());
    EXPECT_FALSE(button("Button4")->isEnabled());

    click({130, 21});
    button("Button3")->click();
    EXPECT_EQ(items(), (QStringList{"Default", "Rock", "Jazz", "Warm"}));
    EXPECT_EQ(presetBox()->currentIndex(), 3);
    EXPECT_FALSE(button("Button4")->isEnabled()) << "until the name is picked from the list";
    EXPECT_TRUE(readHomeFile("Eqlz.ini").endsWith(
        "[Warm]\r\n60Hz=40\r\n170Hz=10\r\n310Hz=0\r\n600Hz=0\r\n1kHz=0\r\n3kHz=0\r\n6kHz=0\r\n12kHz=0\r\n"
        "14kHz=0\r\n16kHz=-20\r\n\r\n"));

    // An existing name in another case is re-saved, not listed twice; the flat one is never stored.
    type("ROCK");
    button("Button3")->click();
    EXPECT_EQ(presetBox()->currentIndex(), 1);
    EXPECT_EQ(presetBox()->currentText(), QStringLiteral("Rock"));
    const QByteArray stored = readHomeFile("Eqlz.ini");
    type("default");
    button("Button3")->click();
    EXPECT_EQ(readHomeFile("Eqlz.ini"), stored);
    EXPECT_EQ(items().size(), 4);

    presetBox()->lineEdit()->selectAll();
    QTest::keyClick(presetBox()->lineEdit(), Qt::Key_Backspace);
    EXPECT_FALSE(button("Button3")->isEnabled()) << "an empty name cannot be added";
}

TEST_F(PresetTest, PickingLoadsAPresetAndDelRemovesItWithoutLoadingAnother)
{
    startOnPage("[Equalizer]\r\nEnable=1\r\n");
    pick(1);
    EXPECT_EQ(fake_->equalizer, (std::array<int32_t, 10>{40, 0, 0, 0, 0, 0, 0, 0, 0, -20}));
    EXPECT_TRUE(button("Button4")->isEnabled());
    const QImage rock = image()->picture();
    const std::size_t before = fake_->calls.size();

    button("Button4")->click();
    EXPECT_EQ(items(), (QStringList{"Default", "Jazz"}));
    EXPECT_EQ(presetBox()->currentIndex(), -1);
    EXPECT_EQ(presetBox()->currentText(), QStringLiteral("Rock")) << "the name stays as it was";
    EXPECT_FALSE(button("Button3")->isEnabled());
    EXPECT_TRUE(button("Button4")->isEnabled()) << "only Add is disabled";
    EXPECT_EQ(image()->picture(), rock) << "the curve stays";
    EXPECT_EQ(fake_->callsSince(before), std::vector<std::string>{});
    EXPECT_FALSE(readHomeFile("Eqlz.ini").contains("[Rock]"));
    EXPECT_TRUE(readHomeFile("Eqlz.ini").contains("[jazz]"));
    const QByteArray stored = readHomeFile("Eqlz.ini");
    button("Button4")->click();
    EXPECT_EQ(items(), (QStringList{"Default", "Jazz"})) << "with nothing selected Del does nothing";
    EXPECT_EQ(readHomeFile("Eqlz.ini"), stored);

    pick(0);
    EXPECT_EQ(fake_->equalizer, (std::array<int32_t, 10>{}));
    EXPECT_FALSE(button("Button4")->isEnabled());
    expectReadout(0, 0, "60Hz [ 0dB ]");
}

TEST_F(PresetTest, ATypedStoredNameKeepsTheEditedCurveAndAddStoresIt)
{
    // However the typing ends, only a choice from the list loads a preset.
    const struct {
        const char* ending;
        std::function<void()> finish;
        std::array<int32_t, 10> curve;
    } cases[] = {
        {"Enter", [this] { QTest::keyClick(presetBox()->lineEdit(), Qt::Key_Return); },
         {30, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"a click on Add", [this] { QTest::mouseClick(button("Button3"), Qt::LeftButton); },
         {30, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"a click on the curve", [this] { QTest::mouseClick(image(), Qt::LeftButton, Qt::NoModifier, {170, 157}); },
         {30, 0, 0, 0, 0, 0, 0, 0, 0, 50}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ending);
        writeHomeFile("Eqlz.ini", storedSection("Rock", {40, 0, 0, 0, 0, 0, 0, 0, 0, -20}));
        fake_ = &FakeDecoder::reset();
        startOnPage("[Equalizer]\r\nEnable=1\r\n");
        QApplication::setActiveWindow(window_.get());
        click({150, 4});   // band 0 at +3 dB
        type("Rock");
        c.finish();
        EXPECT_EQ(fake_->equalizer, c.curve) << "the stored curve is not loaded";
        EXPECT_FALSE(button("Button4")->isEnabled());

        button("Button3")->click();
        EXPECT_EQ(presetBox()->currentIndex(), 1);
        EXPECT_TRUE(readHomeFile("Eqlz.ini").startsWith(storedSection("Rock", c.curve)));
        EXPECT_EQ(fake_->equalizer, c.curve);
        closeWindow();
    }
}

TEST_F(PresetTest, AFailedWriteSaysSoAndLeavesTheList)
{
    startOnPage("[Equalizer]\r\nItem=2\r\n");
    QFile::remove(homePath("Eqlz.ini"));
    ASSERT_TRUE(QDir(home_.path()).mkdir("Eqlz.ini"));
    button("Button4")->click();
    type("New");
    button("Button3")->click();
    EXPECT_EQ(items(), (QStringList{"Default", "Rock", "Jazz"}));
    ASSERT_EQ(dialogs_.errors().size(), 2);
    EXPECT_TRUE(dialogs_.errors()[0].contains("Eqlz.ini")) << dialogs_.errors()[0].toStdString();
}

} // namespace
} // namespace nuvo::test
