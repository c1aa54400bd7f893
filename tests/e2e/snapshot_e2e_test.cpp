// Register snapshots against the virtual evaluation board, in-process on the virtual clock: a
// snapshot reads what the chip holds, and restoring a file writes it back, block protection,
// alarms, user registers and (when ticked) the clock included, each within twice the time its
// bytes take on the line (plus the chip's write cycles), on a line that loses a reply now and then.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <memory>
#include <string>

#include "fake_desktop.h"
#include "main_window/main_window.h"
#include "register_editors/memory_dialog.h"
#include "scripted_message_boxes.h"
#include "sim/virtual_board_port.h"
#include "snapshot/snapshot_dialogs.h"
#include "snapshot/snapshot_file.h"
#include "snapshot/snapshot_plan.h"
#include "snapshot/snapshot_window.h"
#include "time_alarms/set_time_dialog.h"
#include "virtual_clock.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using sim::ChipModel;
using sim::CivilTime;
using sim::VirtualBoardPort;

// What the steps' frames and their replies take on a 19200-baud line (ten bits a byte), and the
// chip's write cycles after them: a read's reply carries its count of bytes, a write's is an
// acknowledgement.
std::chrono::milliseconds lineTime(const std::vector<SnapshotStep>& steps) {
  constexpr std::size_t kFrame = 4;
  constexpr std::size_t kAck = 5;
  std::size_t bytes = 0;
  std::chrono::milliseconds cycles{0};
  for (const SnapshotStep& step : steps) {
    for (const Request& r : step.requests)
      bytes += r.payload.size() + kFrame + (r.payload[0] == 0x00 ? r.payload[4] + kFrame : kAck);
    cycles += step.pauseAfter;
  }
  return std::chrono::milliseconds(bytes * 10 * 1000 / 19200) + cycles;
}

struct SnapshotOnTheBoard : ::testing::Test {
  void start(ChipModel chip, MenuId menu) {
    port = std::make_unique<VirtualBoardPort>(clock, clock, chip, CivilTime{2026, 12, 8, 1, 2, 3});
    window = std::make_unique<MainWindow>(*port, clock, clock, messageBoxes, pcClock, desktop);
    window->Form_Load();
    clock.advance(250ms);
    window->menuClick(menu);
    window->menuClick("SNAPSHOT");
    ASSERT_NE(snapshots(), nullptr);
  }
  SnapshotWindow* snapshots() {
    return window->toolHost(tool_window::kSnapshot)->current<SnapshotWindow>();
  }
  template <class Handler>
  void user(Handler handler) {
    window->toolHost(tool_window::kSnapshot)->send<SnapshotWindow>(handler);
  }
  // Lets the chain run to its end. Returns the time it took, to 10 ms.
  std::chrono::milliseconds runOut() {
    std::chrono::milliseconds took{0};
    for (int i = 0; i < 6000 && snapshots()->busy(); ++i) {
      clock.advance(10ms);
      took += 10ms;
    }
    EXPECT_FALSE(snapshots()->busy());
    return took;
  }
  Snapshot readChip() {
    user([](SnapshotWindow& w) { w.readClicked(); });
    readTook = runOut();
    EXPECT_EQ(snapshots()->statusText(), SnapshotWindow::Texts::kReadDone);
    return snapshots()->shown().value_or(Snapshot{});
  }
  void restoreFile(const Snapshot& s, bool withClock) {
    desktop.files["/home/user/s.json"] = toJson(s);
    user([](SnapshotWindow& w) { w.openFile("/home/user/s.json"); });
    user([withClock](SnapshotWindow& w) { w.restoreClockTicked(withClock); });
    messageBoxes.answers.push_back(true);
    user([](SnapshotWindow& w) { w.restoreClicked(); });
    restoreTook = runOut();
  }
  static void set(Snapshot& s, const std::string& name, std::uint8_t value) {
    for (SnapshotRegister& r : s.registers)
      if (r.name == name) r.value = value;
  }
  sim::RtcChip& chip() { return port->board().chip(); }

  testing::VirtualClock clock;
  testing::ScriptedMessageBoxes messageBoxes;
  testing::FixedPcClock pcClock;
  testing::FakeDesktop desktop;
  std::unique_ptr<VirtualBoardPort> port;
  std::unique_ptr<MainWindow> window;
  std::chrono::milliseconds readTook{0};
  std::chrono::milliseconds restoreTook{0};
};

TEST_F(SnapshotOnTheBoard, ReadsEveryRegisterAndTheWholeEepromOfAnX1228) {
  start(ChipModel::X1228, MenuId::X1228);
  const Snapshot s = readChip();
  ASSERT_EQ(s.model, "X1228");
  EXPECT_EQ(s.takenAt, "2004-05-20 10:11:12");
  EXPECT_FALSE(s.programVersion.empty());
  ASSERT_EQ(s.registers.size(), 8u + 8u + 8u + 1u + 4u);
  for (const SnapshotRegister& r : s.registers) {
    if (r.address >= 0x30 && r.address <= 0x37) continue;  // the clock runs on
    // SR: the flags a read clears may differ from a later look; the chip starts with RTCF only.
    EXPECT_EQ(r.value, chip().peekRegister(r.address)) << r.name;
  }
  // The clock as the chip held it: 01:xx in 24-hour mode, 8 December 2026.
  EXPECT_EQ(s.find("HR")->value, 0x81);
  EXPECT_EQ(s.find("DT")->value, 0x08);
  EXPECT_EQ(s.find("MO")->value, 0x12);
  EXPECT_EQ(s.find("YR")->value, 0x26);
  EXPECT_EQ(s.find("Y2K")->value, 0x20);
  ASSERT_EQ(s.eeprom.size(), 512u);
  for (std::size_t a = 0; a < 512; ++a) ASSERT_EQ(s.eeprom[a], 0xFF) << a;
  EXPECT_TRUE(messageBoxes.shown.empty());
  // A page per request, beside the main window's time reads; no step waits for a time-out.
  const std::chrono::milliseconds wire = lineTime(readPlan(window->profile()));
  EXPECT_LE(readTook, 2 * wire) << readTook.count() << " ms for " << wire.count() << " ms";
  std::cout << "snapshot read: " << readTook.count() << " ms, line time " << wire.count()
            << " ms\n";
}

TEST_F(SnapshotOnTheBoard, RestoresControlAlarmsAndAProtectedEepromButNotTheClockUnticked) {
  start(ChipModel::X1228, MenuId::X1228);
  const Snapshot first = readChip();
  Snapshot s = first;
  set(s, "INT", 0x98);  // IM, FO1, FO0
  set(s, "ATR", 0x25);
  set(s, "DTR", 0x05);
  set(s, "BL", 0x38);    // BP0 (upper quarter protected) and both watchdog bits
  set(s, "SCA0", 0xB0);  // alarm 0 on second 30, enabled
  set(s, "MNA1", 0x85);
  set(s, "HR", 0x92);  // 12:xx, which must not reach the chip
  for (std::size_t a = 0; a < s.eeprom.size(); ++a) s.eeprom[a] = static_cast<std::uint8_t>(a * 7);
  restoreFile(s, false);

  EXPECT_EQ(snapshots()->statusText(), SnapshotWindow::Texts::kRestoreDone);
  EXPECT_EQ(chip().peekRegister(0x11), 0x98);
  EXPECT_EQ(chip().peekRegister(0x12), 0x25);
  EXPECT_EQ(chip().peekRegister(0x13), 0x05);
  EXPECT_EQ(chip().peekRegister(0x10), 0x38);
  EXPECT_EQ(chip().peekRegister(0x00), 0xB0);
  EXPECT_EQ(chip().peekRegister(0x09), 0x85);
  EXPECT_EQ(chip().peekRegister(0x32), 0x81);
  // The upper quarter too: protection was lifted for the array and set again afterwards.
  for (std::uint16_t a = 0; a < 512; ++a)
    ASSERT_EQ(chip().peekEeprom(a), static_cast<std::uint8_t>(a * 7)) << a;
  const std::chrono::milliseconds wire = lineTime(restorePlan(window->profile(), s, false));
  EXPECT_LE(restoreTook, 2 * wire) << restoreTook.count() << " ms for " << wire.count() << " ms";
  std::cout << "snapshot restore: " << restoreTook.count() << " ms, line time and write cycles "
            << wire.count() << " ms\n";

  // Read back and compared with the file: only the running clock differs.
  desktop.files["/home/user/s.json"] = toJson(s);
  user([](SnapshotWindow& w) { w.openFile("/home/user/s.json"); });
  user([](SnapshotWindow& w) { w.compareWithChipClicked(); });
  const std::chrono::milliseconds compareTook = runOut();
  EXPECT_LE(compareTook, 2 * lineTime(readPlan(window->profile()))) << compareTook.count();
  std::cout << "snapshot compare: " << compareTook.count() << " ms\n";
  const auto onlyTheClockDiffers = [this] {
    const std::vector<std::string>& lines = snapshots()->comparisonLines;
    ASSERT_GE(lines.size(), 2u);
    for (std::size_t i = 1; i < lines.size(); ++i) {
      const std::string name = lines[i].substr(0, lines[i].find(' '));
      EXPECT_TRUE(name == "SC" || name == "MN" || name == "HR") << lines[i];
    }
  };
  onlyTheClockDiffers();

  // The snapshot taken at power-up, compared with the chip, shows what the restore changed;
  // restoring it brings the comparison up to date again.
  desktop.files["/home/user/first.json"] = toJson(first);
  user([](SnapshotWindow& w) { w.openFile("/home/user/first.json"); });
  user([](SnapshotWindow& w) { w.compareWithChipClicked(); });
  runOut();
  bool atrShown = false;
  for (const std::string& line : snapshots()->comparisonLines)
    atrShown = atrShown || line.rfind("ATR ", 0) == 0;
  EXPECT_TRUE(atrShown);
  messageBoxes.answers.push_back(true);
  user([](SnapshotWindow& w) { w.restoreClicked(); });
  runOut();
  EXPECT_EQ(snapshots()->statusText(), SnapshotWindow::Texts::kRestoreDone);
  EXPECT_EQ(chip().peekRegister(0x12), 0x00);
  onlyTheClockDiffers();
}

TEST_F(SnapshotOnTheBoard, ALossyLineDelaysARestoreAndTheEepromDialogsReadIsNoSnapshotPage) {
  start(ChipModel::X1226, MenuId::X1226);
  Snapshot s = readChip();
  for (std::size_t a = 0; a < s.eeprom.size(); ++a) s.eeprom[a] = static_cast<std::uint8_t>(~a);
  desktop.files["/home/user/s.json"] = toJson(s);
  user([](SnapshotWindow& w) { w.openFile("/home/user/s.json"); });
  messageBoxes.answers.push_back(true);
  user([](SnapshotWindow& w) { w.restoreClicked(); });
  // Five replies with a wrong checksum, each once the step before has been tried again: more
  // than a step's three tries in all, never two on one step.
  std::chrono::milliseconds took{0};
  for (int lost = 0; lost < 5; ++lost) {
    const std::chrono::milliseconds gap = lost == 0 ? 200ms : RequestChain::kStepTimeout + 200ms;
    clock.advance(gap);
    took += gap;
    const int before = messageBoxes.beeps;
    port->board().faults().set(sim::ReplyFault::Corrupt);
    for (int i = 0; i < 100 && messageBoxes.beeps == before; ++i) {
      clock.advance(1ms);
      took += 1ms;
    }
    port->board().faults().set(sim::ReplyFault::None);
  }
  ASSERT_TRUE(snapshots()->busy());
  took += runOut();
  std::cout << "restore on a lossy line: " << took.count() << " ms, " << messageBoxes.beeps
            << " replies lost\n";
  EXPECT_EQ(messageBoxes.beeps, 5) << "checksum errors";
  EXPECT_EQ(snapshots()->statusText(), SnapshotWindow::Texts::kRestoreDone);
  for (std::uint16_t a = 0; a < 512; ++a)
    ASSERT_EQ(chip().peekEeprom(a), static_cast<std::uint8_t>(~a)) << a;

  // The dialog reads byte 0x1A5 while the snapshot reads its pages: each gets its own reply.
  window->menuClick("MEMORY");
  user([](SnapshotWindow& w) { w.readClicked(); });
  clock.advance(150ms);
  window->dialogHost().send<MemoryDialog>([](MemoryDialog& d) {
    d.addressText = "1A5";
    d.readClicked();
  });
  runOut();
  ASSERT_EQ(snapshots()->statusText(), SnapshotWindow::Texts::kReadDone);
  EXPECT_EQ(snapshots()->shown()->eeprom, s.eeprom);
  EXPECT_EQ(window->dialogHost().current<MemoryDialog>()->dataText, "5A");
}

TEST_F(SnapshotOnTheBoard, ACancelledRestoreSaysHowFarItGot) {
  start(ChipModel::X1226, MenuId::X1226);
  Snapshot s = readChip();
  for (std::size_t a = 0; a < s.eeprom.size(); ++a) s.eeprom[a] = 0x00;
  desktop.files["/home/user/s.json"] = toJson(s);
  user([](SnapshotWindow& w) { w.openFile("/home/user/s.json"); });
  messageBoxes.answers.push_back(true);
  user([](SnapshotWindow& w) { w.restoreClicked(); });
  clock.advance(300ms);
  const SnapshotWindow::Progress progress = snapshots()->progress();
  ASSERT_GT(progress.done, 0u);
  ASSERT_LT(progress.done, progress.total);
  user([](SnapshotWindow& w) { w.cancelClicked(); });
  EXPECT_FALSE(snapshots()->busy());
  const std::string status = snapshots()->statusText();
  EXPECT_EQ(status.rfind(SnapshotWindow::Texts::kRestoreCancelled, 0), 0u) << status;
  EXPECT_NE(status.find(std::to_string(progress.done) + "/" + std::to_string(progress.total)),
            std::string::npos)
      << status;
  clock.advance(1s);
  // The pages before the one on the line when it stopped are written, the last one not.
  EXPECT_EQ(chip().peekEeprom(0x000), 0x00);
  EXPECT_EQ(chip().peekEeprom(0x1FF), 0xFF);
}

TEST_F(SnapshotOnTheBoard, TheTickedClockIsWrittenBackToo) {
  start(ChipModel::X1228, MenuId::X1228);
  Snapshot s = readChip();
  set(s, "HR", 0x92);
  set(s, "MN", 0x34);
  set(s, "YR", 0x30);
  restoreFile(s, true);
  EXPECT_EQ(snapshots()->statusText(), SnapshotWindow::Texts::kRestoreDone);
  EXPECT_EQ(chip().peekRegister(0x32), 0x92);
  EXPECT_EQ(chip().peekRegister(0x31), 0x34);
  EXPECT_EQ(chip().peekRegister(0x35), 0x30);
}

TEST_F(SnapshotOnTheBoard, AnX1209KeepsUserRegistersAndItsOneAlarm) {
  start(ChipModel::X1209, MenuId::X1209);
  Snapshot s = readChip();
  ASSERT_EQ(s.registers.size(), 7u + 6u + 1u + 4u + 2u);
  EXPECT_TRUE(s.eeprom.empty());
  set(s, "USR1", 0x5A);
  set(s, "USR2", 0xA5);
  set(s, "EV", 0x13);
  set(s, "ATR", 0xC7);  // BMATR bits too
  set(s, "DWA", 0x83);
  restoreFile(s, false);
  EXPECT_EQ(snapshots()->statusText(), SnapshotWindow::Texts::kRestoreDone);
  EXPECT_EQ(chip().peekRegister(0x12), 0x5A);
  EXPECT_EQ(chip().peekRegister(0x13), 0xA5);
  EXPECT_EQ(chip().peekRegister(0x09), 0x13);
  EXPECT_EQ(chip().peekRegister(0x0A), 0xC7);
  EXPECT_EQ(chip().peekRegister(0x11), 0x83);
}

TEST_F(SnapshotOnTheBoard, AFileOfAnotherModelIsNeitherRestoredNorComparedWithTheChip) {
  start(ChipModel::X1228, MenuId::X1228);
  Snapshot s = readChip();
  s.model = "X1226";
  set(s, "ATR", 0x11);
  desktop.files["/home/user/x1226.json"] = toJson(s);
  user([](SnapshotWindow& w) { w.openFile("/home/user/x1226.json"); });
  ASSERT_EQ(snapshots()->shown()->model, "X1226");
  messageBoxes.answers.push_back(true);
  user([](SnapshotWindow& w) { w.restoreClicked(); });
  user([](SnapshotWindow& w) { w.compareWithChipClicked(); });
  EXPECT_FALSE(snapshots()->busy());
  ASSERT_EQ(messageBoxes.shown.size(), 2u);
  EXPECT_NE(messageBoxes.shown[0].text.find("X1226"), std::string::npos);
  EXPECT_NE(messageBoxes.shown[0].text.find("X1228"), std::string::npos);
  EXPECT_FALSE(messageBoxes.shown[0].question);
  clock.advance(1s);
  EXPECT_EQ(chip().peekRegister(0x12), 0x00);
}

}  // namespace
}  // namespace rtceval

namespace rtceval {
namespace {

struct RestoreInterrupted : SnapshotOnTheBoard {
  // The set-time dialog's OK with 2031-07-04 13:14:15; the write sequencer takes it from there.
  void setTime() {
    window->menuClick("SETTIME");
    SetTimeDialog* d = window->dialogHost().current<SetTimeDialog>();
    ASSERT_NE(d, nullptr);
    d->yearText = "2031";
    d->monthText = "7";
    d->dateText = "4";
    d->weekdayText = "5";
    d->hourText = "13";
    d->minuteText = "14";
    d->secondText = "15";
    window->events().run([d] { d->okClicked(); });
  }
  void startRestore(const Snapshot& s) {
    desktop.files["/home/user/s.json"] = toJson(s);
    user([](SnapshotWindow& w) { w.openFile("/home/user/s.json"); });
    messageBoxes.answers.push_back(true);
    user([](SnapshotWindow& w) { w.restoreClicked(); });
  }
};

TEST_F(RestoreInterrupted, AStallMidRestoreSaysWhatItLeftAndOffersToLockTheChipAgain) {
  start(ChipModel::X1226, MenuId::X1226);
  // The main window reads the time on and on: its first accepted reply after the stall tells
  // that the board is back (its time-out question is answered No: the reads go on).
  window->autoReadTimeClicked(true);
  const std::uint8_t blBefore = chip().peekRegister(0x10);
  Snapshot s = readChip();
  for (std::uint8_t& b : s.eeprom) b = 0x11;
  set(s, "BL", 0x0C);
  startRestore(s);
  clock.advance(300ms);
  port->board().faults().set(sim::ReplyFault::Stall);
  runOut();
  const std::string status = snapshots()->statusText();
  EXPECT_EQ(status.rfind(SnapshotWindow::Texts::kRestoreFailed, 0), 0u) << status;
  EXPECT_NE(status.find("块保护已解除；写使能仍打开；EEPROM 已改写 0x0000–"), std::string::npos)
      << status;
  EXPECT_NE(chip().peekRegister(0x3F) & 0x06, 0) << "the restore left the chip unlocked";

  // The board answers again: the question comes once, Yes locks the chip as it was.
  port->board().faults().set(sim::ReplyFault::None);
  const std::size_t questionsBefore = messageBoxes.shown.size();
  messageBoxes.answers.push_back(true);
  for (int i = 0; i < 300; ++i) clock.advance(10ms);
  std::size_t asked = 0;
  for (std::size_t i = questionsBefore; i < messageBoxes.shown.size(); ++i)
    asked += messageBoxes.shown[i].text == SnapshotWindow::Texts::kRelockQuestion ? 1U : 0U;
  EXPECT_EQ(asked, 1u);
  EXPECT_EQ(snapshots()->statusText(), SnapshotWindow::Texts::kRelocked);
  EXPECT_EQ(chip().peekRegister(0x10), blBefore);
  EXPECT_EQ(chip().peekRegister(0x3F) & 0x06, 0);
}

TEST_F(RestoreInterrupted, ASetTimeDuringARestoreGoesOutAfterItAndOneBeforeItFirst) {
  for (const bool setTimeFirst : {false, true}) {
    SCOPED_TRACE(setTimeFirst ? "set time, then restore" : "restore, then set time");
    window.reset();  // before the port it works with
    start(ChipModel::X1226, MenuId::X1226);
    Snapshot s = readChip();
    if (setTimeFirst) setTime();
    startRestore(s);
    if (!setTimeFirst) {
      clock.advance(300ms);
      ASSERT_TRUE(snapshots()->busy());
      setTime();
    }
    clock.advance(50ms);
    runOut();
    clock.advance(500ms);
    EXPECT_EQ(snapshots()->statusText(), SnapshotWindow::Texts::kRestoreDone);
    // The chip keeps the user's time: hour 13 in 24-hour format, year 31.
    EXPECT_EQ(chip().peekRegister(0x32), 0x93);
    EXPECT_EQ(chip().peekRegister(0x35), 0x31);
    for (const auto& box : messageBoxes.shown)
      EXPECT_EQ(box.text.find("状态85"), std::string::npos) << box.text;
  }
}

}  // namespace
}  // namespace rtceval
