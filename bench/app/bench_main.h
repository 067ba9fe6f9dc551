// The entry of the window benchmarks (bench_main.cpp), and what a benchmark
// wants done once they have run, while the application still exists.
#pragma once

#include <functional>

namespace nuvo::bench {

void whenFinished(std::function<void()> step);

} // namespace nuvo::bench
