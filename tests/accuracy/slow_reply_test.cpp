// The accuracy measurement on the virtual board when a relay (network or radio serial, a loaded
// USB adapter) hands every reply to the PC late while the main window reads the time five times a
// second: the chip still latches early in the round trip, so the edges are found as narrowly as on
// a prompt line and the rate comes out within its stated uncertainty.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "accuracy/accuracy_window.h"
#include "accuracy_board.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using sim::ChipModel;

struct SlowReply {
  const char* name;
  ChipModel chip;
  MenuId menu;
  int relayMs;
  // When the measurement starts against the chip's second: where the main window's reads fall.
  Millis phase;
  // Whether the edges can be bracketed at this phase: not when the main window's time and status
  // reads hold the line at the very moment of every second where the chip's second begins.
  bool measurable;
};

struct AccuracyThroughARelay : ::testing::TestWithParam<SlowReply>, testing::AccuracyBoard {
  void SetUp() override {
    const SlowReply& p = GetParam();
    startBoard({p.chip, 37.0, 6, p.relayMs, p.phase}, &p.menu);
  }
};

TEST_P(AccuracyThroughARelay, FindsTheRateOrSaysWhyTheEdgesCannotBeFound) {
  user(&AccuracyWindow::startClicked);
  clock.advance(180s);
  const AccuracyWindow& w = accuracy();
  EXPECT_TRUE(w.running());
  EXPECT_EQ(line->overlappingRequests, 0);
  if (!GetParam().measurable) {
    // The user is told why, with the round trip measured, and the measurement keeps trying.
    const std::string said = w.statusText();
    const std::string lead = "线路往返约 ";
    ASSERT_EQ(said.rfind(lead, 0), 0u) << said;
    EXPECT_NEAR(std::stoi(said.substr(lead.size())), 58, 8) << said;
    EXPECT_EQ(said, AccuracyWindow::Texts::slowLine(std::stoi(said.substr(lead.size()))));
    return;
  }
  EXPECT_GE(w.samples().size(), 16u) << w.statusText();
  clock.advance(420s);
  EXPECT_GE(w.samples().size(), 58u) << "an edge every ten seconds";
  for (const EdgeSample& e : w.samples()) EXPECT_LE(e.halfWidthMs, 5.0);
  ASSERT_TRUE(w.fit().has_value()) << w.statusText();
  ASSERT_TRUE(w.fit()->uncertaintyPpm.has_value());
  EXPECT_LT(*w.fit()->uncertaintyPpm, 1.5);
  EXPECT_NEAR(w.fit()->ppm, 37.0, 3 * *w.fit()->uncertaintyPpm);
}

INSTANTIATE_TEST_SUITE_P(
    Relays, AccuracyThroughARelay,
    ::testing::Values(SlowReply{"LayoutA40ms", ChipModel::X1226, MenuId::X1226, 40, 0ms, true},
                      SlowReply{"LayoutB40ms", ChipModel::X1209, MenuId::X1209, 40, 0ms, true},
                      SlowReply{"LayoutA25ms", ChipModel::X1226, MenuId::X1226, 25, 500ms, true},
                      SlowReply{"HeldOffEverySecond", ChipModel::X1226, MenuId::X1226, 40, 700ms,
                                false}),
    [](const ::testing::TestParamInfo<SlowReply>& param) { return param.param.name; });

}  // namespace
}  // namespace rtceval
