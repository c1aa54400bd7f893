#pragma once

// The main() of a benchmark with a budget: `--budget_us=N` fails the run when the slowest mean
// time per iteration reaches N µs, or when a benchmark reports an error.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace rtceval::testing {

// Records the slowest mean time per iteration, in real or processor time.
class BudgetReporter : public benchmark::ConsoleReporter {
 public:
  explicit BudgetReporter(bool cpuTime) : cpuTime_(cpuTime) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) failed = true;
      const double t = cpuTime_ ? run.GetAdjustedCPUTime() : run.GetAdjustedRealTime();
      const double us = t * (run.time_unit == benchmark::kNanosecond ? 1e-3 : 1.0);
      if (us > worstUs) worstUs = us;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double worstUs = 0;
  bool failed = false;

 private:
  bool cpuTime_;
};

// `what` names one iteration in the closing line ("reply", "frame").
inline int runWithBudget(int argc, char** argv, const char* what, bool cpuTime) {
  double budgetUs = 0;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--budget_us=", 12) == 0)
      budgetUs = std::stod(argv[i] + 12);
    else
      args.push_back(argv[i]);
  }
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  BudgetReporter reporter(cpuTime);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  if (reporter.failed) return 1;
  if (budgetUs > 0) {
    std::printf("slowest: %.3f us per %s (budget %.0f us)\n", reporter.worstUs, what, budgetUs);
    if (reporter.worstUs >= budgetUs) return 1;
  }
  return 0;
}

}  // namespace rtceval::testing
