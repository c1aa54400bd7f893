// Cost of the program's own share of a time read: a 12-byte reply goes through reassembly, the
// checksum test, the dispatch table and the clock decoding, as the receive event delivers it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "budget_main.h"
#include "window_bench.h"

namespace {

using rtceval::MainWindow;
using rtceval::MenuId;
using namespace rtceval::testing;

const std::vector<std::uint8_t> kTimeReply = {0x55, 0x80, 0x08, 0x30, 0x05, 0x89,
                                              0x20, 0x05, 0x04, 0x04, 0x20, 0x00};

std::vector<std::uint8_t> withChecksum(std::vector<std::uint8_t> frame) {
  unsigned sum = 0;
  for (std::size_t i = 0; i + 1 < frame.size(); ++i) sum += frame[i];
  frame.back() = static_cast<std::uint8_t>(sum);
  return frame;
}

struct Fixture : WindowBench {
  Fixture() {
    window.Form_Load();
    window.menuClick(MenuId::X1226);
    window.menuClick(MenuId::READTIME);
  }
};

void BM_TimeReplyInOneChunk(benchmark::State& state) {
  Fixture f;
  const auto reply = withChecksum(kTimeReply);
  for (auto _ : state) f.port.receive(reply);
  if (f.window.controls().timeLabel.caption != "09:05:30") state.SkipWithError("reply not shown");
}
BENCHMARK(BM_TimeReplyInOneChunk);

void BM_TimeReplyByteByByte(benchmark::State& state) {
  Fixture f;
  const auto reply = withChecksum(kTimeReply);
  for (auto _ : state)
    for (std::uint8_t b : reply) f.port.receive({b});
  if (f.window.controls().timeLabel.caption != "09:05:30") state.SkipWithError("reply not shown");
}
BENCHMARK(BM_TimeReplyByteByByte);

}  // namespace

int main(int argc, char** argv) {
  return rtceval::testing::runWithBudget(argc, argv, "reply", false);
}
