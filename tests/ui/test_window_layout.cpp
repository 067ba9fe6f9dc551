// The window at its designed size, measured with its own font and geometry:
// on every page every list line lies inside its view and every caption,
// label and status text fits its widget.
#include "WindowTest.h"

#include "app/ElidingLabel.h"
#include "app/WindowFont.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QHelpEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTabWidget>

#include <cstdio>

namespace nuvo::test {
namespace {

// A label's text area as QLabel lays it out: inside the frame and margin,
// less the indent a framed label keeps on its aligned side.
QRect labelTextArea(const QLabel& label)
{
    const int m = label.margin();
    QRect area = label.contentsRect().adjusted(m, m, -m, -m);
    const int indent = label.indent() >= 0 ? label.indent()
                       : label.frameWidth() > 0 ? label.fontMetrics().horizontalAdvance(u'x') / 2
                                                : 0;
    if (label.alignment() & Qt::AlignLeft)
        area.setLeft(area.left() + indent);
    if (label.alignment() & Qt::AlignRight)
        area.setRight(area.right() - indent);
    return area;
}

// Where the style puts a button's text.
QRect buttonTextArea(const QAbstractButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const bool checkBox = qobject_cast<const QCheckBox*>(&button) != nullptr;
    return button.style()->subElementRect(checkBox ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents,
                                          &option, &button);
}

QRect tabTextArea(const QTabBar& bar, int tab)
{
    QStyleOptionTab option;
    option.initFrom(&bar);
    option.rect = bar.tabRect(tab);
    option.text = bar.tabText(tab);
    option.shape = bar.shape();
    return bar.style()->subElementRect(QStyle::SE_TabBarTabText, &option, &bar);
}

void expectFits(const QWidget& widget, const QString& text, const QRect& area)
{
    const QFontMetrics metrics = widget.fontMetrics();
    EXPECT_LE(metrics.horizontalAdvance(text), area.width()) << widget.objectName().toStdString() << " \""
                                                             << text.toStdString() << '"';
    EXPECT_LE(metrics.height(), area.height()) << widget.objectName().toStdString();
}

class WindowLayoutTest : public WindowTest {
protected:
    // A bound list of tagged tracks, the last one paused at the end of its
    // 59:59, its bit rate 320: the longest usual status texts.
    void startWithTheLongestUsualTexts(const QString& listName)
    {
        QStringList paths;
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
            FakeTrack track{"Title", 3599, 2 | 16, 320};
            std::snprintf(track.tag.title, sizeof track.tag.title, "%s", "Morning Light");
            std::snprintf(track.tag.artist, sizeof track.tag.artist, "%s", "The Quiet Hours");
            std::snprintf(track.tag.genreName, sizeof track.tag.genreName, "%s", "Pop");
            track.mpeg = {1, 3, 320, 0, 1, 0, 0, 0, 0, 2, 44100, 9000000, 137000, 3599};
            paths << addTrack(QString("music/") + name, track);
        }
        const QString list = homePath("music/" + listName);
        QFile file(list);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(paths.join("\r\n").toUtf8());
        file.close();
        listPath_ = list;

        start();
        dialogs_.fileAnswers.push_back({{list}, {}});
        action("OpenList")->trigger();
        action("Play")->trigger();
        fake_->position = 3599;
        ASSERT_TRUE(waitFor([&] { return panel(2) == " 59:59/59:59"; }));
        action("Pause")->trigger();
    }

    QTabWidget* pages() const { return window_->findChild<QTabWidget*>("PageControl1"); }
    ElidingLabel* listPanel() const { return window_->findChild<ElidingLabel*>("StatusPanel3"); }

    QString listPath_;
};

TEST_F(WindowLayoutTest, OnEveryPageEveryLineAndEveryTextFitsAtTheDesignedSize)
{
    startWithTheLongestUsualTexts("one.m3u");
    ASSERT_EQ(window_->size(), QSize(300, 324));
    EXPECT_LE(window_->fontMetrics().height(), kDesignedLineHeight);
    // The progress bar fills its sunken panel inside the bevel: the seek scale is its width.
    EXPECT_EQ(window_->findChild<QWidget*>("Panel5")->geometry(), QRect(4, 4, 218, 16));
    EXPECT_EQ(window_->findChild<QWidget*>("Image2")->geometry(), QRect(1, 1, 216, 14));
    EXPECT_EQ(panel(0), " Pause");
    EXPECT_EQ(panel(1), " 320Kbps");
    EXPECT_EQ(panel(3), " one.m3u");

    // Each page with the lists that must show every line.
    const struct {
        const char* caption;
        std::vector<std::pair<const char*, int>> lists;
    } table[] = {
        {"FileList", {{"ListBox1", 3}}},
        {"TagEdit", {{"ListBox2", 16}}},
        {"Equalizer", {}},
        {"Engine", {{"CheckListBox2", 18}}},
        {"Option", {{"CheckListBox1", 18}}},
    };
    for (int page = 0; page < pages()->count(); ++page) {
        SCOPED_TRACE(table[page].caption);
        ASSERT_EQ(pages()->tabText(page), table[page].caption);
        pages()->setCurrentIndex(page);
        QApplication::processEvents();

        for (const auto& [name, lines] : table[page].lists) {
            auto* view = window_->findChild<QAbstractItemView*>(name);
            ASSERT_NE(view, nullptr) << name;
            const QAbstractItemModel* model = view->model();
            ASSERT_EQ(model->rowCount(), lines) << name;
            const QRect inside = view->viewport()->rect();
            int widest = 0;
            for (int row = 0; row < lines; ++row) {
                const QRect line = view->visualRect(model->index(row, 0));
                EXPECT_TRUE(line.top() >= inside.top() && line.bottom() <= inside.bottom())
                    << name << " line " << row << " at " << line.top() << ".." << line.bottom() << " of "
                    << inside.height();
                widest = std::max(widest, view->sizeHintForIndex(model->index(row, 0)).width());
            }
            EXPECT_FALSE(view->verticalScrollBar()->isVisible()) << name;
            if (widest <= inside.width()) {
                EXPECT_FALSE(view->horizontalScrollBar()->isVisible()) << name << ": nothing is wider than the view";
            }
        }

        for (const QLabel* label : window_->findChildren<QLabel*>()) {
            if (!label->isVisibleTo(window_.get()) || label->text().isEmpty())
                continue;
            if (auto* eliding = qobject_cast<const ElidingLabel*>(label)) {
                EXPECT_EQ(eliding->shownText(), eliding->text());
            }
            expectFits(*label, label->text(), labelTextArea(*label));
        }
        for (const QAbstractButton* button : window_->findChildren<QAbstractButton*>()) {
            const bool captioned = qobject_cast<const QPushButton*>(button) || qobject_cast<const QCheckBox*>(button);
            if (captioned && button->isVisibleTo(window_.get()))
                expectFits(*button, button->text(), buttonTextArea(*button));
        }
        const QTabBar* tabs = pages()->tabBar();
        for (int tab = 0; tab < tabs->count(); ++tab) {
            EXPECT_TRUE(tabs->rect().contains(tabs->tabRect(tab))) << "tab " << tab;
            expectFits(*tabs, tabs->tabText(tab), tabTextArea(*tabs, tab));
        }
    }
}

TEST_F(WindowLayoutTest, TheListPanelTakesTheFreeWidthAndElidesALongNameInTheMiddle)
{
    startWithTheLongestUsualTexts("A long name for the songs of a summer evening.m3u");
    ElidingLabel* shown = listPanel();
    const QStatusBar* bar = window_->statusBar();
    EXPECT_GT(shown->width(), 50);
    EXPECT_GE(shown->geometry().right(), bar->width() - 24) << "only the size grip lies right of it";

    const QString whole = " A long name for the songs of a summer evening.m3u";
    EXPECT_EQ(panel(3), whole);
    const QString elided = shown->shownText();
    EXPECT_TRUE(elided.startsWith(" A") && elided.endsWith(".m3u") && elided.contains(QChar(0x2026))) << elided.toStdString();
    QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), shown->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(shown, &tip);
    EXPECT_TRUE(tip.isAccepted());
    EXPECT_EQ(shown->toolTip(), listPath_);

    // With room for it the name shows whole, and needs no tool tip.
    window_->resize(640, 324);
    QApplication::processEvents();
    EXPECT_EQ(shown->shownText(), whole);
    QHelpEvent noTip(QEvent::ToolTip, QPoint(5, 5), shown->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(shown, &noTip);
    EXPECT_FALSE(noTip.isAccepted());
}

TEST_F(WindowLayoutTest, TheWindowFontIsTheLargestWhoseLineFitsTwelvePixels)
{
    const QFont family = QApplication::font();
    for (const int lineHeight : {12, 11, 15}) {
        const QFont chosen = fontForLineHeight(family, lineHeight);
        EXPECT_EQ(chosen.family(), family.family());
        EXPECT_LE(QFontMetrics(chosen).height(), lineHeight) << lineHeight;
        QFont larger = chosen;
        larger.setPixelSize(chosen.pixelSize() + 1);
        EXPECT_GT(QFontMetrics(larger).height(), lineHeight) << lineHeight;
    }
}

} // namespace
} // namespace nuvo::test
