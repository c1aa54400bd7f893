// The snapshot window on the fake port and the virtual clock: one request on the line at a time,
// what happens when the board is silent or refuses, and the files it saves and opens.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "snapshot/snapshot_dialogs.h"
#include "snapshot/snapshot_file.h"
#include "snapshot/snapshot_window.h"
#include "window_bench.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::dataReply;
using testing::kAck;
using Texts = SnapshotWindow::Texts;

const Bytes kReadTimeA{0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x30, 0x08, 0x01};
const Bytes kReadAl0A{0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x00, 0x08, 0xD1};
const Bytes kChipReadFailed{0x55, 0x81, 0x01, 0x84, 0x5B};

struct SnapshotWindowTest : ::testing::Test {
  testing::WindowBench b;

  void openWith(MenuId model) {
    b.loadConnectedWith(model);
    b.window.menuClick("SNAPSHOT");
    b.port.writes.clear();
  }
  DialogHost& host() { return *b.window.toolHost(tool_window::kSnapshot); }
  SnapshotWindow* window() { return host().current<SnapshotWindow>(); }
  template <class Handler>
  void user(Handler handler) {
    host().send<SnapshotWindow>(handler);
  }
  bool shown(const std::string& part) const {
    for (const auto& s : b.messageBoxes.shown)
      if (s.text.find(part) != std::string::npos) return true;
    return false;
  }
};

TEST_F(SnapshotWindowTest, ReadsOneRequestAtATimeStartingWithTheClock) {
  openWith(MenuId::X1228);
  user([](SnapshotWindow& w) { w.readClicked(); });
  ASSERT_EQ(b.port.writes.size(), 1u);
  EXPECT_EQ(b.port.writes[0], kReadTimeA);
  EXPECT_TRUE(window()->busy());
  EXPECT_FALSE(window()->canRestore());
  // Nothing more goes out until the clock's reply is in.
  b.clock.advance(150ms);
  EXPECT_EQ(b.port.writes.size(), 1u);
  b.port.receive(dataReply({0x01, 0x02, 0x83, 0x08, 0x12, 0x26, 0x02, 0x20}));
  ASSERT_EQ(b.port.writes.size(), 2u);
  EXPECT_EQ(b.port.writes[1], kReadAl0A);
  EXPECT_EQ(window()->statusText(), std::string(Texts::kReading) + "… 1/13");
}

TEST_F(SnapshotWindowTest, ASilentBoardEndsTheReadWithTheStepNamed) {
  openWith(MenuId::X1205);
  b.messageBoxes.answers = {false, false, false};
  user([](SnapshotWindow& w) { w.readClicked(); });
  // Three tries, each with its time-out.
  b.clock.advance(4s);
  EXPECT_TRUE(window()->busy());
  b.clock.advance(1s);
  EXPECT_FALSE(window()->busy());
  EXPECT_TRUE(shown("读取芯片失败：时钟 没有得到应答"));
  EXPECT_FALSE(window()->shown());
  EXPECT_FALSE(window()->canSave());
}

TEST_F(SnapshotWindowTest, ARefusedStepIsTriedTwiceMoreThenGivenUp) {
  openWith(MenuId::X1205);
  user([](SnapshotWindow& w) { w.readClicked(); });
  for (int attempt = 0; attempt < 3; ++attempt) {
    ASSERT_EQ(b.port.writes.size(), static_cast<std::size_t>(attempt + 1));
    EXPECT_EQ(b.port.writes.back(), kReadTimeA);
    b.port.receive(kChipReadFailed);
    b.clock.advance(40ms);
  }
  EXPECT_EQ(b.port.writes.size(), 3u);
  EXPECT_FALSE(window()->busy());
  EXPECT_TRUE(shown("读取芯片失败：时钟"));
}

TEST_F(SnapshotWindowTest, NothingIsSentWithoutAModelOrABoard) {
  b.loadConnected();
  b.window.menuClick("SNAPSHOT");
  b.port.writes.clear();
  user([](SnapshotWindow& w) { w.readClicked(); });
  EXPECT_TRUE(shown(Texts::kNoModel));
  EXPECT_TRUE(b.port.writes.empty());

  b.window.menuClick(MenuId::X1226);
  b.port.close();
  user([](SnapshotWindow& w) { w.readClicked(); });
  EXPECT_TRUE(shown(Texts::kNoBoard));
  EXPECT_TRUE(b.port.writes.empty());
}

TEST_F(SnapshotWindowTest, SavesWhatItOpenedAndSaysWhenTheDiskRefuses) {
  openWith(MenuId::X1209);
  Snapshot s{"X1209", "2026-12-08 10:00:00", "1.05", {}, {}};
  for (const SnapshotSlot& slot : snapshotSlots("X1209"))
    s.registers.push_back({slot.name, slot.address, 0x42});
  b.desktop.files["/in.json"] = toJson(s);
  user([](SnapshotWindow& w) { w.openFile("/in.json"); });
  ASSERT_TRUE(window()->shown());
  EXPECT_EQ(window()->rows().size(), s.registers.size());
  EXPECT_EQ(window()->rows()[13].name, "SR");
  EXPECT_EQ(window()->rows()[13].bits, "0100 0010  XTOSCB BAT");
  EXPECT_EQ(window()->suggestedFileName(), "X1209_20040520.json");

  user([](SnapshotWindow& w) { w.saveFile("/out.json"); });
  EXPECT_EQ(b.desktop.files["/out.json"], b.desktop.files["/in.json"]);
  // A full disk: the box gives the system's reason, and no success is claimed.
  b.desktop.spaceLeft = 16;
  user([](SnapshotWindow& w) { w.saveFile("/out.json"); });
  EXPECT_TRUE(shown("无法写入文件 /out.json：No space left on device"));
  EXPECT_EQ(window()->statusText().find(Texts::kSaved), std::string::npos);
}

TEST_F(SnapshotWindowTest, RefusesWhatIsNotASnapshotFileBeforeReadingIt) {
  openWith(MenuId::X1209);
  Snapshot s{"X1209", "t", "1.05", {}, {}};
  for (const SnapshotSlot& slot : snapshotSlots("X1209"))
    s.registers.push_back({slot.name, slot.address, 0});
  b.desktop.notFiles.insert("/dev/zero");
  b.desktop.files["/big.json"] = toJson(s) + std::string(kMaxSnapshotFileBytes, ' ');
  // A long model name with control characters is quoted cut and escaped.
  s.model = "X\n" + std::string(100000, 'y');
  b.desktop.files["/odd.json"] = toJson(s);
  for (const char* path : {"/dev/zero", "/big.json", "/odd.json"})
    user([path](SnapshotWindow& w) { w.openFile(path); });
  ASSERT_EQ(b.messageBoxes.shown.size(), 3u);
  EXPECT_EQ(b.messageBoxes.shown[0].text,
            "无法读取文件 /dev/zero：不是普通文件（文件夹、设备或管道）");
  EXPECT_EQ(b.messageBoxes.shown[1].text, "/big.json：文件太大，不是寄存器快照文件");
  EXPECT_THAT(b.messageBoxes.shown[2].text,
              ::testing::StartsWith("/odd.json：快照文件中的器件型号“X\\nyyy"));
  EXPECT_LT(b.messageBoxes.shown[2].text.size(), 300u);
  EXPECT_FALSE(window()->shown());
}

TEST_F(SnapshotWindowTest, ACorruptFileLeavesTheShownSnapshotAlone) {
  openWith(MenuId::X1209);
  Snapshot s{"X1209", "t", "1.05", {}, {}};
  // A clock the chip can hold: 24-hour 00:00:00 on 01-01.
  for (const SnapshotSlot& slot : snapshotSlots("X1209"))
    s.registers.push_back(
        {slot.name, slot.address,
         static_cast<std::uint8_t>(slot.name == "HR"                        ? 0x80
                                   : slot.name == "DT" || slot.name == "MO" ? 1
                                                                            : 0)});
  b.desktop.files["/good.json"] = toJson(s);
  const std::string text = toJson(s);
  b.desktop.files["/cut.json"] = text.substr(0, text.size() / 2);
  user([](SnapshotWindow& w) { w.openFile("/good.json"); });
  user([](SnapshotWindow& w) { w.openFile("/cut.json"); });
  user([](SnapshotWindow& w) { w.openFile("/missing.json"); });
  EXPECT_TRUE(shown("/cut.json：快照文件已损坏或不完整"));
  EXPECT_TRUE(shown("无法读取文件 /missing.json"));
  EXPECT_NE(window()->sourceText().find("/good.json"), std::string::npos);

  // Comparing with a damaged file shows nothing either; the restore question answered No
  // writes nothing.
  user([](SnapshotWindow& w) { w.compareWithFile("/cut.json"); });
  EXPECT_TRUE(window()->comparisonLines.empty());
  user([](SnapshotWindow& w) { w.restoreClicked(); });
  EXPECT_TRUE(b.messageBoxes.shown.back().question);
  b.clock.advance(500ms);
  for (const Bytes& frame : b.port.writes) EXPECT_EQ(frame[3], 0x00) << "a write went out";
}

TEST_F(SnapshotWindowTest, PickingAnotherModelMidReadStopsIt) {
  openWith(MenuId::X1228);
  user([](SnapshotWindow& w) { w.readClicked(); });
  b.window.menuClick(MenuId::X1209);
  b.port.receive(dataReply({0x01, 0x02, 0x83, 0x08, 0x12, 0x26, 0x02}));
  EXPECT_FALSE(window()->busy());
  EXPECT_TRUE(shown(Texts::kModelChanged));
  EXPECT_FALSE(window()->shown());
  b.clock.advance(3s);
  for (const Bytes& frame : b.port.writes) EXPECT_NE(frame[7], 0x0C) << "the alarm was read";
}

TEST_F(SnapshotWindowTest, ClosingTheWindowMidReadStopsIt) {
  openWith(MenuId::X1228);
  user([](SnapshotWindow& w) { w.readClicked(); });
  host().close();
  b.port.receive(dataReply({0x01, 0x02, 0x83, 0x08, 0x12, 0x26, 0x02, 0x20}));
  b.clock.advance(3s);
  for (const Bytes& frame : b.port.writes) EXPECT_NE(frame, kReadAl0A);
  EXPECT_FALSE(shown("读取芯片失败"));
}

}  // namespace
}  // namespace rtceval
