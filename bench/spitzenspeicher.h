// The peak memory of the benchmark's process as a counter in MB. Run one benchmark at a
// time (--benchmark_filter) for the figure of that benchmark alone: the peak of a process
// never goes down. (A child's peak cannot be told apart here: a child process counts the
// pages it shares with its parent after the fork.)
#pragma once

#include <benchmark/benchmark.h>
#include <sys/resource.h>

inline void spitzenspeicherZaehlen(benchmark::State& state) {
  rusage selbst{};
  getrusage(RUSAGE_SELF, &selbst);
  state.counters["Spitze_MB"] = double(selbst.ru_maxrss) / 1024.0;
}
