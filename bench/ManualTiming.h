#pragma once

#include <benchmark/benchmark.h>

// A benchmark that times itself (State::SetIterationTime), reported in milliseconds: the given
// number of timed runs per repetition, and only the aggregates of the repetitions.
inline benchmark::internal::Benchmark* timedRuns(benchmark::internal::Benchmark* b,
                                                 int iterations, int repetitions) {
    return b->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations)
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true);
}
