// How the window's start-up and close scale with the playlist: a 100 000
// entry "List.m3u" against an empty one.
#include "FakeDecoder.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

using nuvo::DecoderBinding;
using nuvo::MainWindow;
using nuvo::StartupContext;

constexpr int kLongList = 100000;

void writeList(const QString& home, int entries)
{
    QFile file(QDir(home).filePath("List.m3u"));
    file.open(QIODevice::WriteOnly);
    QByteArray bytes;
    for (int i = 0; i < entries; ++i)
        bytes += QStringLiteral("/home/user/Music/Artist %1/Album %2/%3 - A song title.mp3\r\n")
                     .arg(i / 200).arg(i / 20).arg(i % 20).toUtf8();
    file.write(bytes);
}

std::unique_ptr<MainWindow> startWindow(const QString& home)
{
    DecoderBinding decoder;
    decoder.api = nuvo::test::FakeDecoder::api();
    decoder.loaded = true;
    auto window = std::make_unique<MainWindow>(std::move(decoder), StartupContext{home, {}, home});
    window->show();
    QCoreApplication::processEvents();
    return window;
}

// Creation, settings and list restored, first show and its first paint.
void BM_StartUp(benchmark::State& state)
{
    QTemporaryDir home;
    writeList(home.path(), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto window = startWindow(home.path());
        state.PauseTiming();
        window->close();
        window.reset();
        state.ResumeTiming();
    }
    state.SetLabel(state.range(0) ? "100000 entries" : "empty list");
}
BENCHMARK(BM_StartUp)->Arg(0)->Arg(kLongList)->Unit(benchmark::kMillisecond)->Iterations(5);

// The close: settings, the whole list and the preset names written back.
void BM_Close(benchmark::State& state)
{
    QTemporaryDir home;
    writeList(home.path(), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto window = startWindow(home.path());
        state.ResumeTiming();
        window->close();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
    state.SetLabel(state.range(0) ? "100000 entries" : "empty list");
}
BENCHMARK(BM_Close)->Arg(0)->Arg(kLongList)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
