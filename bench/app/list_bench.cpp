// The list-file commands and the folder scan as the user runs them on a
// 100 000-entry playlist, view update included: each command is an action
// of the window, its dialogs answered in process.
#include "FakeDecoder.h"
#include "ScriptedDialogs.h"
#include "app/MainWindow.h"
#include "playlist/LongScan.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace {

using nuvo::DecoderBinding;
using nuvo::MainWindow;
using nuvo::StartupContext;
using nuvo::test::ScriptedDialogs;

constexpr int kLongList = 100000;
constexpr int kTreeFiles = 20000;

QByteArray longListBytes()
{
    QByteArray bytes;
    for (int i = 0; i < kLongList; ++i)
        bytes += QStringLiteral("/home/user/Music/Artist %1/Album %2/%3 - A song title.mp3\r\n")
                     .arg(i / 200).arg(i / 20).arg(i % 20).toUtf8();
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

// Resident memory of the process in kB.
long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
    }
    return 0;
}

class Session {
public:
    explicit Session(bool longList, const QByteArray& settings = {})
    {
        qputenv("NUVO_HOME", home_.path().toLocal8Bit());
        if (longList)
            writeFile(path("List.m3u"), longListBytes());
        if (!settings.isEmpty())
            writeFile(path("Nuvo.ini"), settings);
        nuvo::installDialogs(&dialogs_);
        nuvo::test::FakeDecoder::reset();
        DecoderBinding decoder;
        decoder.api = nuvo::test::FakeDecoder::api();
        decoder.loaded = true;
        window_ = std::make_unique<MainWindow>(std::move(decoder), StartupContext{home_.path(), {}, home_.path()});
        window_->show();
        QCoreApplication::processEvents();
    }
    ~Session()
    {
        window_->close();
        window_.reset();
        nuvo::installDialogs(nullptr);
    }

    QString path(const QString& name) const { return QDir(home_.path()).filePath(name); }
    int entries() const { return window_->findChild<QAbstractItemView*>("ListBox1")->model()->rowCount(); }
    void run(const char* action)
    {
        window_->findChild<QAction*>(QString::fromLatin1(action))->trigger();
        QCoreApplication::processEvents(); // the view's update
    }

    ScriptedDialogs dialogs_;

private:
    QTemporaryDir home_;
    std::unique_ptr<MainWindow> window_;
};

void BM_SaveListAs(benchmark::State& state)
{
    Session session(true);
    const QString filter = state.range(0) ? "PLS (*.pls)" : "M3U (*.m3u)";
    for (auto _ : state) {
        session.dialogs_.fileAnswers.push_back({{session.path("saved.lst")}, filter});
        session.run("SaveList");
    }
    state.SetLabel(state.range(0) ? "100000 entries as PLS" : "100000 entries as M3U");
}
BENCHMARK(BM_SaveListAs)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_UpDateList(benchmark::State& state)
{
    QTemporaryDir lists;
    const QString bound = QDir(lists.path()).filePath("bound.m3u");
    writeFile(bound, "old\r\n");
    Session session(true, "[List]\r\nListChanged=1\r\nOpenedList=" + bound.toUtf8() + "\r\n");
    for (auto _ : state) {
        state.PauseTiming();
        // A change of the list, so that "UpDateList" can run again.
        session.dialogs_.fileAnswers.push_back({{"/home/user/Music/one more.mp3"}, {}});
        session.run("AddFile");
        state.ResumeTiming();
        session.run(state.range(0) ? "UpDateR" : "UpDateC");
    }
    state.SetLabel(state.range(0) ? "100000 entries, relative" : "100000 entries, complete");
}
BENCHMARK(BM_UpDateList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

// OpenList of a 100 000-line M3U into an empty list, until the view shows it.
void BM_OpenList(benchmark::State& state)
{
    QTemporaryDir lists;
    const QString list = QDir(lists.path()).filePath("long.m3u");
    writeFile(list, longListBytes());
    long added = 0;
    int entries = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto session = std::make_unique<Session>(false);
        const long before = residentKb();
        session->dialogs_.fileAnswers.push_back({{list}, {}});
        state.ResumeTiming();
        session->run("OpenList");
        state.PauseTiming();
        // Later rounds reuse what the first one freed; the first says what the list costs.
        added = std::max(added, residentKb() - before);
        entries = session->entries();
        session.reset();
        state.ResumeTiming();
    }
    state.counters["entries"] = entries;
    state.counters["memory_added_MB"] = double(added) / 1024;
}
BENCHMARK(BM_OpenList)->Unit(benchmark::kMillisecond)->Iterations(5);

// AddDirectory on a tree of 20 000 tracks in 400 folders, the file system's cache warm.
void BM_AddDirectory(benchmark::State& state)
{
    QTemporaryDir tree;
    for (int i = 0; i < kTreeFiles; ++i)
        writeFile(QDir(tree.path()).filePath(QStringLiteral("artist %1/album %2/%3 - track.mp3").arg(i / 1000).arg(i / 50).arg(i)), {});
    {
        Session warm(false);
        warm.dialogs_.directoryAnswers.push_back(tree.path());
        warm.run("AddDir");
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto session = std::make_unique<Session>(false);
        session->dialogs_.directoryAnswers.push_back(tree.path());
        state.ResumeTiming();
        session->run("AddDir");
        state.PauseTiming();
        state.counters["entries"] = session->entries();
        session.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddDirectory)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
