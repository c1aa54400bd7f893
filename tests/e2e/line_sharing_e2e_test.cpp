// The automatic time read, the monitor and the write sequencer share one serial line with a real
// board at its end: whatever the phase between their timers, each reply is read under the request
// it answers, and a flag the chip raises is announced.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "fake_desktop.h"
#include "main_window/main_window.h"
#include "scripted_message_boxes.h"
#include "sim/virtual_board_port.h"
#include "virtual_clock.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using sim::ChipModel;
using sim::VirtualBoardPort;
using testing::FixedPcClock;
using testing::ScriptedMessageBoxes;
using testing::VirtualClock;

// The frames on the line, in the order they crossed it.
struct LineLog {
  struct Frame {
    bool outgoing;
    Bytes bytes;
  };
  std::vector<Frame> frames;

  // Every request was answered before the next one went out, and by the kind of reply it asks
  // for: a read by data of its count, a write by a status byte, a probe by an empty data reply;
  // a read may also meet the board's status reply, when the chip was busy with a write cycle.
  // Returns the first frame that breaks this, or -1.
  int firstMismatch() const {
    for (std::size_t i = 0; i < frames.size(); ++i) {
      const bool shouldBeRequest = i % 2 == 0;
      if (frames[i].outgoing != shouldBeRequest) return static_cast<int>(i);
      if (shouldBeRequest) continue;
      const Bytes& request = frames[i - 1].bytes;
      const Bytes& reply = frames[i].bytes;
      std::size_t wantLength = 0;
      std::uint8_t wantFlag = 0x80;
      if (request.size() > 7 && request[3] == 0x00) {
        wantLength = request[7];
      } else if (request.size() > 7) {
        wantLength = 1;
        wantFlag = 0x81;
      }
      const bool boardError = reply[1] == 0x81 && reply[2] == 1 && reply[3] != 0x00;
      if (wantFlag == 0x80 && wantLength > 0 && boardError) continue;
      if (reply[1] != wantFlag || reply[2] != wantLength) return static_cast<int>(i);
    }
    return -1;
  }
  std::size_t count(bool outgoing) const {
    std::size_t n = 0;
    for (const Frame& f : frames) n += f.outgoing == outgoing;
    return n;
  }
};

struct LineSharing : ::testing::Test {
  void start(ChipModel chip, MenuId menu) {
    port = std::make_unique<VirtualBoardPort>(clock, clock, chip,
                                              sim::CivilTime{2026, 12, 8, 1, 2, 3});
    window = std::make_unique<MainWindow>(*port, clock, clock, messageBoxes, pcClock, desktop);
    window->link().addFrameObserver([this](const LineFrame& frame) {
      if (frame.kind == LineFrame::Kind::Stray) return;
      line.frames.push_back(
          {frame.kind == LineFrame::Kind::Sent, Bytes(frame.bytes.begin(), frame.bytes.end())});
    });
    loadedAt = clock.now();
    window->Form_Load();
    clock.advance(250ms);  // the search finds the board on port 1
    window->menuClick(menu);
  }
  // Advances to the next tick of the main timer (every 200 ms from the load).
  void toMainTick() { clock.advance(Millis(200 - (clock.now() - loadedAt) % 200)); }
  bool announced(const char* text) const {
    for (const auto& shown : messageBoxes.shown)
      if (shown.text == text) return true;
    return false;
  }

  VirtualClock clock;
  ScriptedMessageBoxes messageBoxes;
  FixedPcClock pcClock;
  testing::FakeDesktop desktop;
  LineLog line;
  std::int64_t loadedAt = 0;
  std::unique_ptr<VirtualBoardPort> port;
  std::unique_ptr<MainWindow> window;
};

TEST_F(LineSharing, AnEventIsAnnouncedWhateverThePhaseBetweenTheTimeReadAndTheMonitor) {
  for (int phase = 0; phase < 200; ++phase) {
    SCOPED_TRACE("monitor started " + std::to_string(phase) + " ms after a time read");
    messageBoxes.shown.clear();
    start(ChipModel::X1209, MenuId::X1209);
    toMainTick();
    window->autoReadTimeClicked(true);
    clock.advance(Millis(phase));
    window->autoMonitorClicked(true);
    clock.advance(1500ms);
    ASSERT_TRUE(port->board().chip().raiseEvent());
    clock.advance(2000ms);  // two monitor ticks: the SR read that sees the flag, then the message
    EXPECT_TRUE(announced("事件发生"));
    EXPECT_EQ(line.firstMismatch(), -1);
    window.reset();
    port.reset();
    line.frames.clear();
  }
}

TEST_F(LineSharing, AnAlarmIsAnnouncedWhenTheSrReadGoesOutJustBeforeATimeRead) {
  for (int phase : {190, 193, 196, 199}) {
    SCOPED_TRACE("monitor started " + std::to_string(phase) + " ms after a time read");
    messageBoxes.shown.clear();
    start(ChipModel::X1226, MenuId::X1226);
    // Alarm 0 on every second: only the second field enabled, matching second 05 of the chip's
    // clock (it started at 01:02:03).
    window->records().Alarm0Regs = TimeRecord{0x80 | 0x05, 0, 0, 0, 0, 0, 0};
    window->events().run([this] { window->sequencer().start(StWriteAL0); });
    clock.advance(200ms);
    toMainTick();
    window->autoReadTimeClicked(true);
    clock.advance(Millis(phase));
    window->autoMonitorClicked(true);
    clock.advance(3000ms);
    EXPECT_TRUE(announced("警报0发生"));
    EXPECT_EQ(line.firstMismatch(), -1);
    window.reset();
    port.reset();
    line.frames.clear();
  }
}

TEST_F(LineSharing, FiveMinutesOfReadsMonitoringAndWritesLoseNoReply) {
  start(ChipModel::X1228, MenuId::X1228);
  window->autoReadTimeClicked(true);
  window->autoMonitorClicked(true);
  for (int second = 0; second < 300; ++second) {
    if (second % 3 == 1) {
      window->registers().RegATR = static_cast<std::uint8_t>(second & 0x3F);
      window->events().run([this] { window->sequencer().start(StWriteATR); });
    }
    clock.advance(Millis(1000 + second % 7));  // writes at every phase of the timers
  }
  clock.advance(500ms);
  EXPECT_EQ(line.firstMismatch(), -1);
  EXPECT_EQ(line.count(false), line.count(true)) << "every request answered";
  EXPECT_GT(line.count(true), 300u * 5u) << "the reads kept their pace";
  EXPECT_TRUE(messageBoxes.shown.empty()) << "no time-out, no flag";
  EXPECT_EQ(port->board().chip().peekRegister(0x12), window->registers().RegATR)
      << "the last write reached the chip";
}

}  // namespace
}  // namespace rtceval
