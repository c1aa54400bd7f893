// The accuracy measurement on the virtual board when a relay (network or radio serial, a loaded
// USB adapter) hands every reply to the PC late while the main window reads the time five times a
// second: the chip still latches early in the round trip, so the edges are found as narrowly as on
// a prompt line and the rate comes out within its stated uncertainty.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "accuracy/accuracy_dialogs.h"
#include "accuracy/accuracy_window.h"
#include "fake_desktop.h"
#include "main_window/main_window.h"
#include "noisy_line.h"
#include "scripted_message_boxes.h"
#include "sim/virtual_board_port.h"
#include "virtual_clock.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using sim::ChipModel;
using sim::CivilTime;
using sim::VirtualBoardPort;
using testing::FixedPcClock;
using testing::NoisyLine;
using testing::ScriptedMessageBoxes;
using testing::VirtualClock;

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

struct AccuracyThroughARelay : ::testing::TestWithParam<SlowReply> {
  void SetUp() override {
    board = std::make_unique<VirtualBoardPort>(clock, clock, GetParam().chip,
                                               CivilTime{2026, 12, 8, 23, 40, 3});
    board->board().chip().setCrystalPpm(37.0);
    board->board().faults().setDelayMs(GetParam().relayMs);
    line = std::make_unique<NoisyLine>(*board, clock, clock, 6, 7u);
    window = std::make_unique<MainWindow>(*line, clock, clock, messageBoxes, pcClock, desktop);
    window->Form_Load();
    clock.advance(250ms + GetParam().phase);
    window->menuClick(GetParam().menu);
    window->autoReadTimeClicked(true);
    window->autoMonitorClicked(true);
    window->menuClick("ACCURACY");
  }
  AccuracyWindow& accuracy() {
    return *window->toolHost(tool_window::kAccuracy)->current<AccuracyWindow>();
  }

  VirtualClock clock;
  ScriptedMessageBoxes messageBoxes;
  FixedPcClock pcClock;
  testing::FakeDesktop desktop;
  std::unique_ptr<VirtualBoardPort> board;
  std::unique_ptr<NoisyLine> line;
  std::unique_ptr<MainWindow> window;
};

TEST_P(AccuracyThroughARelay, FindsTheRateOrSaysWhyTheEdgesCannotBeFound) {
  window->toolHost(tool_window::kAccuracy)->send<AccuracyWindow>([](AccuracyWindow& w) {
    w.startClicked();
  });
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
