// The list's editing commands and one search press on a 100 000-entry
// playlist, each as the user runs it: the action triggered in the window,
// then the list view laid out and painted again.
#include "FakeDecoder.h"
#include "bench_main.h"
#include "app/MainWindow.h"
#include "playlist/PlaylistModel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using nuvo::DecoderBinding;
using nuvo::MainWindow;
using nuvo::PlaylistModel;
using nuvo::StartupContext;

constexpr int kEntries = 100000;

// Entries in a scrambled order, every tenth one twice: the sort has work to
// do and the duplicates are spread over the list.
QStringList longList()
{
    QStringList paths;
    paths.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        const int n = (i * 7919) % kEntries;
        const int song = n % 10 == 9 ? n - 1 : n;
        paths << QStringLiteral("/home/user/Music/Artist %1/Album %2/%3 - Song %4.mp3")
                     .arg(song / 200).arg(song / 20).arg(song % 20).arg(song);
    }
    return paths;
}

class Window {
public:
    Window()
    {
        QByteArray bytes;
        for (const QString& path : paths_)
            bytes += path.toUtf8() + "\r\n";
        QFile file(QDir(home_.path()).filePath("List.m3u"));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        file.close();
        DecoderBinding decoder;
        decoder.api = nuvo::test::FakeDecoder::api();
        decoder.loaded = true;
        window_ = std::make_unique<MainWindow>(std::move(decoder), StartupContext{home_.path(), {}, home_.path()});
        window_->resize(300, 600);
        window_->show();
        QCoreApplication::processEvents();
        view_ = window_->findChild<QListView*>("ListBox1");
        model_ = qobject_cast<PlaylistModel*>(view_->model());
    }
    ~Window() { window_->close(); }

    // The list as it was, nothing selected, the middle entry current.
    void restore()
    {
        model_->replaceAll(paths_);
        model_->setCurrentIndex(kEntries / 2);
        QCoreApplication::processEvents();
    }
    void trigger(const char* name) { window_->findChild<QAction*>(name)->trigger(); }
    // The view's share: its layout and one paint of what shows.
    void updateView()
    {
        QCoreApplication::processEvents();
        view_->viewport()->repaint();
    }

    QListView& view() { return *view_; }
    PlaylistModel& model() { return *model_; }
    MainWindow& window() { return *window_; }

private:
    QTemporaryDir home_;
    QStringList paths_ = longList();
    std::unique_ptr<MainWindow> window_;
    QListView* view_ = nullptr;
    PlaylistModel* model_ = nullptr;
};

// One window for all benchmarks, closed before the application goes.
std::unique_ptr<Window> shared;

Window& window()
{
    if (!shared) {
        shared = std::make_unique<Window>();
        // The window goes while the application is still there.
        nuvo::bench::whenFinished([] { shared.reset(); });
    }
    return *shared;
}

void runCommand(benchmark::State& state, const char* action)
{
    Window& w = window();
    for (auto _ : state) {
        state.PauseTiming();
        w.restore();
        state.ResumeTiming();
        w.trigger(action);
        w.updateView();
    }
    state.counters["entries_after"] = w.model().count();
}

void BM_RemoveDuplicateFullPath(benchmark::State& state) { runCommand(state, "DuplicateP"); }
void BM_RemoveDuplicateFileName(benchmark::State& state) { runCommand(state, "DuplicateN"); }
void BM_SortAscend(benchmark::State& state) { runCommand(state, "Sort"); }
void BM_SortDescend(benchmark::State& state) { runCommand(state, "SortD"); }
void BM_Shuffle(benchmark::State& state) { runCommand(state, "Shuffle"); }

// 50 000 selected entries: one block, or every other entry (50 000 ranges).
void BM_RemoveSelected(benchmark::State& state)
{
    const bool alternate = state.range(0) != 0;
    Window& w = window();
    for (auto _ : state) {
        state.PauseTiming();
        w.restore();
        QItemSelection selection;
        if (alternate) {
            for (int row = 0; row < kEntries; row += 2)
                selection.append(QItemSelectionRange(w.model().index(row)));
        } else {
            selection.select(w.model().index(kEntries / 4), w.model().index(kEntries / 4 + kEntries / 2 - 1));
        }
        w.view().selectionModel()->select(selection, QItemSelectionModel::Select);
        w.view().selectionModel()->setCurrentIndex(w.model().index(kEntries / 4), QItemSelectionModel::NoUpdate);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        w.trigger("Delete");
        w.updateView();
    }
    state.counters["entries_after"] = w.model().count();
    state.SetLabel(alternate ? "every other entry" : "one block");
}

// One press that walks the whole list: the only match is the last entry.
void BM_SearchPress(benchmark::State& state)
{
    Window& w = window();
    w.restore();
    const QString last = w.model().path(w.model().lastIndex());
    auto* edit = w.window().findChild<QLineEdit*>("Edit2");
    edit->setText(last.mid(last.lastIndexOf('/') - 8).toLower());
    auto* button = w.window().findChild<QPushButton*>("Button1");
    button->setEnabled(true);
    for (auto _ : state) {
        state.PauseTiming();
        w.view().clearSelection();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        button->click();
        w.updateView();
    }
    state.counters["found_row"] = w.view().selectionModel()->currentIndex().row();
}

BENCHMARK(BM_RemoveDuplicateFullPath)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RemoveDuplicateFileName)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SortAscend)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SortDescend)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Shuffle)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RemoveSelected)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SearchPress)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
