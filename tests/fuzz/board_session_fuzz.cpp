// Both sides of the line: the program's logic on the virtual clock against the virtual board, with
// the board's line faults, the user's actions and waits of any length between them, so that the
// program's timers meet the board's replies at every offset. Then the line heals (pieces of a
// split reply still arrive apart: that is no fault), and a flag is raised on the chip: an event on
// the X1209, else alarm 0, set through the program a few seconds ahead. With the monitor ticked,
// the flag must be announced within a bounded time. Input format: fuzz_input.h, board_session.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "fake_desktop.h"
#include "fuzz_input.h"
#include "main_window/main_window.h"
#include "scripted_message_boxes.h"
#include "sim/virtual_board_port.h"
#include "time_alarms/set_time_dialog.h"
#include "virtual_clock.h"

using namespace rtceval;
using namespace rtceval::fuzz;
using namespace rtceval::fuzz::board_session;
using namespace rtceval::testing;
using namespace std::chrono_literals;
using rtceval::sim::ChipModel;
using rtceval::sim::ReplyFault;

namespace {

struct Model {
  ChipModel chip;
  MenuId menu;
};
constexpr Model kModels[] = {{ChipModel::X1226, MenuId::X1226}, {ChipModel::X1227, MenuId::X1227},
                             {ChipModel::X1228, MenuId::X1228}, {ChipModel::X1205, MenuId::X1205},
                             {ChipModel::X1208, MenuId::X1208}, {ChipModel::X1209, MenuId::X1209}};
constexpr ReplyFault kFaults[] = {ReplyFault::None, ReplyFault::Drop, ReplyFault::Corrupt,
                                  ReplyFault::Stall, ReplyFault::Split};

// Virtual time the faulty part of a session may spend.
constexpr std::int64_t kFaultyTimeMs = 8'000;
// After the line heals: the sequencer's queued steps (three per write, 50 ms apart, for every
// operation of the input at most), then the time-out of a reply lost just before.
constexpr int kMaxQueuedSteps = 3 * 256;
constexpr auto kSettle = 2100ms;
// The alarm is set this far ahead, enough for the unlock steps and the write to reach the chip.
constexpr int kAlarmLeadSeconds = 3;
// From the flag to its announcement: the alarm's lead, a poll that reads the flag, the tick that
// announces it, and a second to spare.
constexpr auto kAnnounceWithin = 6s;

std::uint8_t bcd(int v) {
  return static_cast<std::uint8_t>((v / 10) << 4 | v % 10);
}
int fromBcd(std::uint8_t b) {
  return (b >> 4) * 10 + (b & 0x0F);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  ByteReader in(data, size);
  const std::uint8_t config = in.next();
  const Model& model = kModels[(config & 0x07) % 6];
  const bool layoutB = model.chip == ChipModel::X1208 || model.chip == ChipModel::X1209;
  const bool event = model.chip == ChipModel::X1209 && (config & kEventBit);

  VirtualClock clock;
  ScriptedMessageBoxes
      messageBoxes;  // the time-out question is answered No: the automation goes on
  FixedPcClock pcClock;
  sim::VirtualBoardPort port(clock, clock, model.chip, sim::CivilTime{2026, 12, 8, 1, 2, 3});
  FakeDesktop desktop;
  MainWindow window(port, clock, clock, messageBoxes, pcClock, desktop);
  window.Form_Load();
  clock.advance(250ms);
  check(!window.isDetecting(), "the search finds the board on port 1");
  window.menuClick(model.menu);
  window.autoMonitorClicked(true);
  window.autoReadTimeClicked((config & kAutoReadBit) != 0);

  const auto pass = [&](std::int64_t ms) {
    const std::int64_t span = std::min<std::int64_t>(ms, kFaultyTimeMs - clock.now());
    if (span > 0) clock.advance(Millis(span));
  };
  while (!in.empty()) {
    const std::uint8_t h = in.next();
    const std::uint8_t arg = h & 0x1F;
    switch (static_cast<Op>(h >> 5)) {
      case Op::Wait:
        pass(arg * 37);
        break;
      case Op::LongWait:
        pass(arg * 500);
        break;
      case Op::Fault:
        port.board().faults().set(kFaults[arg % 5], arg / 5u);
        break;
      case Op::Toggle:
        window.autoReadTimeClicked((arg & 1) != 0);
        window.autoMonitorClicked((arg & 2) != 0);
        break;
      case Op::ReadTime:
        window.menuClick(MenuId::READTIME);
        break;
      case Op::Event:
        port.board().chip().raiseEvent();
        break;
      case Op::SetTime:
        window.menuClick("SETTIME");
        window.dialogHost().send<SetTimeDialog>([](SetTimeDialog& d) { d.okClicked(); });
        break;
      case Op::Menu: {
        // Not the device menu: a model other than the chip on the board is a wrong setup, not a
        // poor line.
        const auto& menus = window.controls().menus;
        const MenuControl& item = menus[static_cast<std::size_t>(arg) % menus.size()];
        if (item.id != MenuId::MDEVICE && item.parent != MenuId::MDEVICE)
          window.menuClick(item.name);
        break;
      }
    }
  }

  // The line heals; the monitor is ticked again if the session unticked it.
  if (port.board().faults().fault() != ReplyFault::Split)
    port.board().faults().set(ReplyFault::None);
  window.autoMonitorClicked(true);
  // Writes the session handed the sequencer go out first: a time set among them would move the
  // chip's clock under the alarm. Then a reply lost just before may still hold the link.
  for (int i = 0; i < kMaxQueuedSteps && window.writeTimer().isEnabled(); ++i) clock.advance(50ms);
  clock.advance(kSettle);
  const std::size_t shownBefore = messageBoxes.shown.size();
  // A flag the chip keeps set is announced once; ticking the monitor afresh announces what stands,
  // so a flag raised again on top of one announced during the session is announced too.
  window.autoMonitorClicked(false);
  window.autoMonitorClicked(true);

  const char* announcement = event ? "事件发生" : layoutB ? "警报发生" : "警报0发生";
  if (event) {
    port.board().chip().raiseEvent();
  } else {
    // Alarm 0 on one second only (bit 7 enables a field), a few seconds from the chip's time.
    port.board().chip().advanceTo(clock.now());
    const int second = (fromBcd(port.board().chip().time().second) + kAlarmLeadSeconds) % 60;
    window.records().Alarm0Regs =
        TimeRecord{static_cast<std::uint8_t>(0x80 | bcd(second)), 0, 0, 0, 0, 0, 0};
    window.events().run([&window] { window.sequencer().start(StWriteAL0); });
  }
  const std::int64_t deadline = clock.now() + Millis(kAnnounceWithin).count();
  const auto announced = [&] {
    for (std::size_t i = shownBefore; i < messageBoxes.shown.size(); ++i)
      if (messageBoxes.shown[i].text == announcement) return true;
    return false;
  };
  while (!announced() && clock.now() < deadline) clock.advance(100ms);
  if (!announced()) {
    std::fprintf(stderr, "after the line healed: %zu boxes, none '%s'; link panel '%s'\n",
                 messageBoxes.shown.size() - shownBefore, announcement,
                 window.controls().statusBar.panel(2).c_str());
    fail("a flag raised on the chip is announced in time once the line is sound");
  }
  return 0;
}
