// The entry of the window benchmarks: a widget application on the offscreen
// platform, then Google Benchmark.
#include "bench_main.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <vector>

namespace nuvo::bench {

namespace {

std::vector<std::function<void()>>& finishingSteps()
{
    static std::vector<std::function<void()>> steps;
    return steps;
}

} // namespace

void whenFinished(std::function<void()> step)
{
    finishingSteps().push_back(std::move(step));
}

} // namespace nuvo::bench

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& step : nuvo::bench::finishingSteps())
        step();
    return 0;
}
