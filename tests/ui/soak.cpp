// A seeded random soak of the real window with the fake decoder: thousands
// of user actions (enabled commands, keys, wheel, clicks and drags, drops,
// dialogs answered at random, tracks ending, files vanishing, restarts from
// the written files), with the rules that must always hold checked after
// each one. A failure prints its seed and the actions; that seed replays
// them exactly: window_soak --seed SEED [--actions N].
#include "FakeDecoder.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "playlist/LongScan.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <qpa/qplatformdrag.h>
#include <qpa/qwindowsysteminterface.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace nuvo::test {
namespace {

class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}
    int below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(engine_); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T>
    const T& pick(const std::vector<T>& from) { return from[static_cast<std::size_t>(below(int(from.size())))]; }

private:
    std::mt19937_64 engine_;
};

// Answers every dialog of the program at random: cancel, or a plausible choice.
class RandomDialogs final : public Dialogs {
public:
    RandomDialogs(Random& random, const QString& home, const std::function<QStringList()>& tracks)
        : random_(random), home_(home), tracks_(tracks)
    {
    }

    void showError(QWidget*, const QString&) override {}

    FileDialogAnswer openFiles(QWidget*, const FileDialogRequest& request) override
    {
        if (random_.chance(20))
            return {};
        const QStringList all = tracks_() + QStringList{home_ + "/music/mix.m3u", home_ + "/saved.pls"};
        QStringList chosen;
        for (int n = 1 + random_.below(3); n > 0 && !all.isEmpty(); --n)
            chosen << all.at(random_.below(int(all.size())));
        return {chosen, request.nameFilters.value(0)};
    }

    FileDialogAnswer saveFile(QWidget*, const FileDialogRequest& request) override
    {
        if (random_.chance(30) || request.nameFilters.isEmpty())
            return {};
        const QString filter = request.nameFilters.at(random_.below(int(request.nameFilters.size())));
        return {{home_ + (random_.chance(50) ? "/saved.pls" : "/saved.m3u")}, filter};
    }

    QString existingDirectory(QWidget*, const QString&, const QString&) override
    {
        if (random_.chance(30))
            return {};
        return home_ + (random_.chance(50) ? "/music" : "/music/a");
    }

    std::optional<QColor> color(QWidget*, const QColor&) override
    {
        if (random_.chance(50))
            return std::nullopt;
        return QColor::fromRgb(random_.below(256), random_.below(256), random_.below(256));
    }

    int exec(QDialog&) override { return random_.chance(50) ? QDialog::Accepted : QDialog::Rejected; }
    void cancelOpenDialog() override {}

private:
    Random& random_;
    QString home_;
    std::function<QStringList()> tracks_;
};

class Soak {
public:
    explicit Soak(std::uint64_t seed) : seed_(seed), random_(seed), dialogs_(random_, home_.path(), [this] { return pool_; })
    {
        qputenv("NUVO_HOME", home_.path().toLocal8Bit());
        fake_ = &FakeDecoder::reset();
        installDialogs(&dialogs_);
        // The folders here are small; a progress window only where a test wants one.
        setScanProgressDelay(std::chrono::seconds(30));
        for (const char* folder : {"music", "music/a", "music/a/deep", "music/b"})
            QDir().mkpath(home_.filePath(folder));
        for (int i = 0; i < 12; ++i)
            makeTrack(i);
        writeFile("music/mix.m3u", "a/t1.mp3\r\n../music/b/t2.mp3\r\n/nowhere/x.mp3\r\n");
        start();
    }

    ~Soak()
    {
        stop();
        installDialogs(nullptr);
    }

    // Runs the actions; false (after printing what happened) when a rule broke.
    bool run(int actions)
    {
        for (int i = 0; i < actions; ++i) {
            const QString action = act();
            log_ << action;
            settle();
            const QString broken = checkRules();
            if (!broken.isEmpty()) {
                std::fprintf(stderr, "window soak: seed %llu, action %d broke a rule: %s\n",
                             static_cast<unsigned long long>(seed_), i + 1, qPrintable(broken));
                const qsizetype from = std::max<qsizetype>(0, log_.size() - 40);
                for (qsizetype k = from; k < log_.size(); ++k)
                    std::fprintf(stderr, "  %lld: %s\n", static_cast<long long>(k + 1), qPrintable(log_.at(k)));
                std::fprintf(stderr, "replay: scripts/soak %llu %d\n", static_cast<unsigned long long>(seed_), i + 1);
                return false;
            }
            if (fake_->calls.size() > 10000)
                fake_->calls.clear();
        }
        return true;
    }

private:
    template <typename T>
    T* find(const char* name) const
    {
        return window_->findChild<T*>(QString::fromLatin1(name));
    }

    void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(home_.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    void makeTrack(int i)
    {
        static const char* folders[] = {"music", "music/a", "music/a/deep", "music/b"};
        const QString name = QStringLiteral("%1/t%2.%3").arg(folders[i % 4]).arg(i).arg(i % 5 == 4 ? "wav" : "mp3");
        writeFile(name, {});
        const QString path = home_.filePath(name);
        // Every third file is one the decoder cannot open.
        if (i % 3 != 2)
            fake_->tracks[path.toStdString()] = FakeTrack{i % 2 ? "Title " + std::to_string(i) : "",
                                                          3 + i * 7 % 40, i % 2 ? 18 : 2, 128};
        if (!pool_.contains(path))
            pool_ << path;
    }

    void start()
    {
        DecoderBinding decoder;
        decoder.api = FakeDecoder::api();
        decoder.loaded = true;
        window_ = std::make_unique<MainWindow>(std::move(decoder), StartupContext{home_.path(), {}, home_.path()});
        window_->show();
        window_->activateWindow();
        // The play timer ticks at once, so that thousands of actions see it run.
        if (auto* timer = window_->findChild<QTimer*>(QStringLiteral("Timer1")))
            timer->setInterval(1);
        QApplication::processEvents();
    }

    void stop()
    {
        if (!window_)
            return;
        window_->close();
        window_.reset();
        // A new start finds a fresh library.
        fake_->openPath.clear();
        fake_->state = 0;
    }

    void restart()
    {
        stop();
        start();
    }

    void settle()
    {
        if (window_ && !window_->isVisible())
            restart(); // "Exit", or a close from a command: the next start reads what was written
        for (int i = 0; i < 3; ++i) {
            QApplication::processEvents();
            QTest::qWait(1);
        }
    }

    QString act()
    {
        switch (random_.below(16)) {
        case 0:
        case 1:
        case 2:
            return triggerAction();
        case 3:
        case 4:
            return pressKey();
        case 5:
            return wheel();
        case 6:
            return onProgressBar();
        case 7:
            return onCurve();
        case 8:
            return select();
        case 9:
            return toggleOption();
        case 10:
            return dropPaths();
        case 11:
            return endTrack();
        case 12:
            return vanishOrReturn();
        case 13:
            return clickButton();
        case 14:
            return switchPage();
        default:
            if (random_.chance(10)) {
                restart();
                return "restart";
            }
            return typeSearch();
        }
    }

    QString triggerAction()
    {
        std::vector<QAction*> enabled;
        for (QAction* action : window_->findChildren<QAction*>()) {
            if (action->isEnabled() && !action->objectName().isEmpty() && !action->isSeparator() && !action->menu())
                enabled.push_back(action);
        }
        if (enabled.empty())
            return "no action";
        QAction* action = random_.pick(enabled);
        const QString name = action->objectName();
        action->trigger();
        return "action " + name;
    }

    QString pressKey()
    {
        static const std::vector<Qt::Key> keys = {Qt::Key_Q, Qt::Key_W, Qt::Key_Z, Qt::Key_X, Qt::Key_B, Qt::Key_C,
                                                  Qt::Key_V, Qt::Key_D, Qt::Key_F, Qt::Key_A, Qt::Key_S, Qt::Key_1,
                                                  Qt::Key_5, Qt::Key_0, Qt::Key_Return};
        const Qt::Key key = random_.pick(keys);
        const Qt::KeyboardModifiers modifiers = random_.chance(15) ? Qt::ControlModifier : Qt::NoModifier;
        QWidget* target = random_.chance(80) ? static_cast<QWidget*>(find<QTabWidget>("PageControl1"))
                                             : static_cast<QWidget*>(find<QListView>("ListBox1"));
        target->setFocus();
        const int repeats = random_.chance(20) ? 3 : 1;
        for (int i = 0; i < repeats; ++i)
            QTest::keyPress(target, key, modifiers);
        QTest::keyRelease(target, key, modifiers);
        return QStringLiteral("key %1%2 x%3 on %4")
            .arg(modifiers ? "Ctrl+" : "")
            .arg(QKeySequence(key).toString())
            .arg(repeats)
            .arg(target->objectName());
    }

    QString wheel()
    {
        find<QTabWidget>("PageControl1")->setFocus();
        const int delta = random_.chance(50) ? 120 : -120;
        QWheelEvent event(QPointF(10, 10), window_->mapToGlobal(QPointF(10, 10)), {}, {0, delta}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window_.get(), &event);
        return QStringLiteral("wheel %1").arg(delta);
    }

    QString onProgressBar()
    {
        QWidget* bar = find<QWidget>("Image2");
        const int from = random_.below(std::max(1, bar->width()));
        const int to = random_.below(std::max(1, bar->width() + 20)) - 10;
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(from, bar->height() / 2));
        QTest::mouseMove(bar, QPoint(to, bar->height() / 2));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(to, bar->height() / 2));
        return QStringLiteral("drag on the bar %1 -> %2").arg(from).arg(to);
    }

    QString onCurve()
    {
        QWidget* curve = find<QWidget>("Image1");
        const QPoint from(random_.below(300), random_.below(210));
        const QPoint to(random_.below(300), random_.below(210));
        QTest::mousePress(curve, Qt::LeftButton, {}, from);
        QTest::mouseMove(curve, to);
        QTest::mouseRelease(curve, Qt::LeftButton, {}, to);
        return QStringLiteral("drag on the curve (%1,%2) -> (%3,%4)").arg(from.x()).arg(from.y()).arg(to.x()).arg(to.y());
    }

    QString select()
    {
        QListView* view = find<QListView>("ListBox1");
        const int rows = view->model()->rowCount();
        if (rows == 0 || random_.chance(10)) {
            view->clearSelection();
            return "clear the selection";
        }
        const int row = random_.below(rows);
        const QModelIndex at = view->model()->index(row, 0);
        if (random_.chance(20)) {
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(at).center());
            return QStringLiteral("double click row %1").arg(row);
        }
        const auto mode = random_.chance(30) ? QItemSelectionModel::Toggle : QItemSelectionModel::ClearAndSelect;
        view->selectionModel()->setCurrentIndex(at, mode);
        return QStringLiteral("select row %1%2").arg(row).arg(mode == QItemSelectionModel::Toggle ? " (toggle)" : "");
    }

    QString toggleOption()
    {
        const bool engine = random_.chance(20);
        auto* list = find<QListWidget>(engine ? "CheckListBox2" : "CheckListBox1");
        static const std::vector<int> options = {1, 2, 3, 5, 7, 9, 11, 12, 14, 16, 17};
        static const std::vector<int> lines = {0, 6};
        const int row = random_.pick(engine ? lines : options);
        QListWidgetItem* item = list->item(row);
        if (!(item->flags() & Qt::ItemIsEnabled) || !list->isEnabled() || !list->isVisibleTo(window_.get()))
            return "option not usable";
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        return QStringLiteral("toggle %1 line %2").arg(list->objectName()).arg(row);
    }

    QString dropPaths()
    {
        QList<QUrl> urls;
        QStringList names;
        const QStringList choices = pool_ + QStringList{home_.filePath("music/a"), home_.filePath("music/mix.m3u")};
        for (int n = 1 + random_.below(3); n > 0; --n) {
            const QString path = choices.at(random_.below(int(choices.size())));
            urls << QUrl::fromLocalFile(path);
            names << QFileInfo(path).fileName();
        }
        QMimeData data;
        data.setUrls(urls);
        QWindow* window = window_->windowHandle();
        const QPoint at = window_->rect().center();
        const auto entered = QWindowSystemInterface::handleDrag(window, &data, at, Qt::CopyAction | Qt::MoveAction,
                                                                Qt::LeftButton, Qt::NoModifier);
        if (entered.isAccepted())
            QWindowSystemInterface::handleDrop(window, &data, at, Qt::CopyAction | Qt::MoveAction, Qt::NoButton,
                                               Qt::NoModifier);
        else
            QWindowSystemInterface::handleDrag(window, nullptr, at, Qt::IgnoreAction, Qt::NoButton, Qt::NoModifier);
        return "drop " + names.join(", ");
    }

    QString endTrack()
    {
        if (fake_->state == 1 && random_.chance(70)) {
            fake_->endTrack();
            return "the track ends";
        }
        fake_->position += random_.below(5);
        return "time passes";
    }

    QString vanishOrReturn()
    {
        const int i = random_.below(12);
        if (random_.chance(50)) {
            makeTrack(i);
            return QStringLiteral("track %1 is there").arg(i);
        }
        const QString path = pool_.value(random_.below(int(pool_.size())));
        QFile::remove(path);
        fake_->tracks.erase(path.toStdString());
        return "the file " + QFileInfo(path).fileName() + " vanishes";
    }

    QString clickButton()
    {
        std::vector<QPushButton*> usable;
        for (QPushButton* button : window_->findChildren<QPushButton*>()) {
            if (button->isEnabled() && button->isVisible())
                usable.push_back(button);
        }
        if (usable.empty())
            return "no button";
        QPushButton* button = random_.pick(usable);
        const QString name = button->objectName();
        button->click();
        return "click " + name;
    }

    QString switchPage()
    {
        auto* pages = find<QTabWidget>("PageControl1");
        const int page = random_.below(pages->count());
        pages->setCurrentIndex(page);
        return QStringLiteral("page %1").arg(page);
    }

    QString typeSearch()
    {
        QLineEdit* edit = find<QLineEdit>("Edit2");
        if (!edit->isEnabled())
            return "search box off";
        edit->setFocus();
        if (random_.chance(30))
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, random_.chance(50) ? "t" : "1");
        return "type in the search box";
    }

    QString timerState() const
    {
        const auto* timer = window_->findChild<QTimer*>(QStringLiteral("Timer1"));
        return QStringLiteral(" (play timer %1, %2 ms)").arg(timer->isActive() ? "on" : "off").arg(timer->interval());
    }

    // The rules that hold after every action, from what the window shows.
    QString checkRules() const
    {
        const MainWindow& w = *window_;
        const int count = find<QListView>("ListBox1")->model()->rowCount();
        const int current = w.currentIndex();
        if (count == 0 ? current != 0 : current < 0 || current >= count)
            return QStringLiteral("CurrentIndex %1 with %2 entries").arg(current).arg(count);
        if (find<QLabel>("Label3")->text() != QStringLiteral("/%1").arg(count))
            return "Label3 reads " + find<QLabel>("Label3")->text() + QStringLiteral(" for %1 entries").arg(count);

        const auto enabled = [&](const char* action) { return find<QAction>(action)->isEnabled(); };
        for (const char* action : {"Play", "Clear", "SweepIvld", "SaveList"}) {
            if (enabled(action) != (count > 0))
                return QStringLiteral("%1 %2 with %3 entries").arg(action, enabled(action) ? "on" : "off").arg(count);
        }
        for (const char* action : {"Sort", "Shuffle", "DuplicateP"}) {
            if (enabled(action) != (count >= 2))
                return QStringLiteral("%1 %2 with %3 entries").arg(action, enabled(action) ? "on" : "off").arg(count);
        }
        if (count < 2 && (enabled("Previous") || enabled("Next")))
            return QStringLiteral("a navigation pair on with %1 entries").arg(count);
        const bool selected = find<QListView>("ListBox1")->selectionModel()->hasSelection();
        if (enabled("Delete") != selected)
            return QStringLiteral("RemoveSelected %1 with%2 a selection").arg(enabled("Delete") ? "on" : "off", selected ? "" : "out");

        const bool open = w.trackOpen();
        if (open != !fake_->openPath.empty())
            return QStringLiteral("PlayState %1 but the decoder has %2 open").arg(w.playState()).arg(QString::fromStdString(fake_->openPath));
        const QString panel = w.statusText(0);
        const bool engineOn = find<QWidget>("TabSheet4")->isEnabled();
        if (!open) {
            if (panel != " Close" || enabled("Pause") || enabled("Stop") || enabled("OpenSearch") || !engineOn)
                return "closed, but panel \"" + panel + "\" and the transport do not say so";
            return {};
        }
        if (engineOn || !enabled("Stop") || !enabled("OpenSearch"))
            return "a track is open, but the transport or the Engine page do not say so";
        const QString pause = find<QAction>("Pause")->text();
        const QString stop = find<QAction>("Stop")->text();
        switch (fake_->state) {
        case 1:
            if (panel != " Play" || !enabled("Pause") || pause != "Pause" || stop != "Stop")
                return "playing, but panel \"" + panel + "\", " + pause + ", " + stop;
            break;
        case 2:
            if (panel != " Pause" || !enabled("Pause") || pause != "Resume" || stop != "Stop")
                return "paused, but panel \"" + panel + "\", " + pause + ", " + stop;
            break;
        default:
            if (panel != " Stop" || enabled("Pause") || stop != "Close")
                return "stopped, but panel \"" + panel + "\", " + pause + ", " + stop + timerState();
            break;
        }
        return {};
    }

    std::uint64_t seed_;
    QTemporaryDir home_;
    Random random_;
    RandomDialogs dialogs_;
    FakeDecoder* fake_ = nullptr;
    QStringList pool_;
    QStringList log_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace
} // namespace nuvo::test

namespace {

// The offscreen platform says what it cannot do; that is no failure.
void quietOffscreenWarnings(QtMsgType, const QMessageLogContext&, const QString& message)
{
    if (!message.contains(QLatin1String("does not support")))
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietOffscreenWarnings);
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/nuvo-tests");
    QApplication app(argc, argv);
    std::uint64_t seed = 1;
    int actions = 10000;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments.at(i) == QLatin1String("--seed"))
            seed = arguments.at(i + 1).toULongLong();
        else if (arguments.at(i) == QLatin1String("--actions"))
            actions = arguments.at(i + 1).toInt();
    }
    std::printf("window soak: seed %llu, %d actions\n", static_cast<unsigned long long>(seed), actions);
    nuvo::test::Soak soak(seed);
    return soak.run(actions) ? 0 : 1;
}
