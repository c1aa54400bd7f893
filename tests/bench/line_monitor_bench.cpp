// Cost of the line monitor's share of each frame: putting it into words and appending it to the
// ring, for 100 000 frames of a time-read session (request, reply, in turn), into a fresh ring
// and into one already full.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "budget_main.h"
#include "line_monitor/line_monitor.h"
#include "line_monitor/line_monitor_dialogs.h"
#include "window_bench.h"

namespace {

using namespace rtceval;
using namespace rtceval::testing;

constexpr int kFrames = 100000;
const std::vector<std::uint8_t> kReadTime = {0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x30, 0x08, 0x01};
const std::vector<std::uint8_t> kTimeReply = {0x55, 0x80, 0x08, 0x03, 0x02, 0x81,
                                              0x08, 0x12, 0x26, 0x02, 0x20, 0xC5};

struct Fixture : WindowBench {
  Fixture() {
    window.Form_Load();
    window.menuClick(MenuId::X1226);
    window.menuClick("LINEMONITOR");
  }
  LineMonitor& monitor() {
    return *window.toolHost(tool_window::kLineMonitor)->current<LineMonitor>();
  }
};

void recordFrames(benchmark::State& state, LineMonitor& monitor) {
  bool reply = false;
  for (auto _ : state) {
    if (reply)
      monitor.record({LineFrame::Kind::Received, kTimeReply});
    else
      monitor.record({LineFrame::Kind::Sent, kReadTime});
    reply = !reply;
  }
  if (monitor.lines()[monitor.lines().size() - 1].meaning != "2026年12月08日 星期二 01:02:03")
    state.SkipWithError("reply not decoded");
}

void BM_FramesIntoAFreshRing(benchmark::State& state) {
  Fixture f;
  recordFrames(state, f.monitor());
}
BENCHMARK(BM_FramesIntoAFreshRing)->Iterations(kFrames);

void BM_FramesIntoAFullRing(benchmark::State& state) {
  Fixture f;
  for (int i = 0; i < kFrames; ++i) f.monitor().record({LineFrame::Kind::Sent, kReadTime});
  recordFrames(state, f.monitor());
}
BENCHMARK(BM_FramesIntoAFullRing)->Iterations(kFrames);

}  // namespace

// The processor time is held against the budget: on a machine whose cores are shared, the real
// time also counts the waits for a core.
int main(int argc, char** argv) {
  return rtceval::testing::runWithBudget(argc, argv, "frame", true);
}
