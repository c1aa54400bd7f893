// The status panel frmCON on the fake port and the virtual clock: what each model lets the user
// edit, the reads on opening, the rows refreshed from replies, and the writes it sends or refuses.
#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

#include "core/cmd_state.h"
#include "register_editors/control_panel.h"
#include "window_bench.h"

namespace rtceval {
namespace {

using testing::Bytes;
using testing::dataReply;
using testing::kAck;
using testing::kReadSrA;
using testing::kReadSrB;
using testing::WindowBench;
using Row = ControlPanel::Row;
using namespace std::chrono_literals;

constexpr const char* kInvalid = "无效的数值, 只能是0或1";

struct ControlPanelTest : ::testing::Test {
  ControlPanel& open(MenuId model) {
    bench.loadConnectedWith(model);
    bench.window.menuClick("STATUS");
    ControlPanel* panel = bench.window.dialogHost().current<ControlPanel>();
    EXPECT_NE(panel, nullptr);
    return *panel;
  }
  // Opened, with the control block and SR answered, all zero.
  void openAnswered(MenuId model) {
    open(model);
    bench.port.receive(dataReply({0x00, 0x00, 0x00, 0x00}));
    bench.clock.advance(50ms);
    bench.port.receive(dataReply({0x00}));
    bench.port.writes.clear();
  }
  ControlPanel* panel() { return bench.window.dialogHost().current<ControlPanel>(); }
  // A handler of the panel as the view sends it.
  template <class Handler>
  void user(Handler handler) {
    bench.window.dialogHost().send<ControlPanel>(handler);
  }
  void type(Row row, std::size_t bit, const char* text) {
    user([&](ControlPanel& p) { p.boxChanged(row, bit, text); });
  }
  // The row as it reads from bit 7 on the left to bit 0.
  std::string shown(Row row) {
    std::string bits;
    for (std::size_t n = 8; n-- > 0;) bits += panel()->row(row).boxes[n];
    return bits;
  }
  void typeRow(Row row, const char* bits) {
    for (std::size_t n = 0; n < 8; ++n) type(row, 7 - n, std::string(1, bits[n]).c_str());
  }

  WindowBench bench;
};

// Bits each model lets the user edit, per row, as masks; and the rows whose buttons are disabled.
struct Editable {
  MenuId model;
  const char* name;
  std::array<int, 6> masks;  // SR, INT, EV, BL, ATR, DTR
  std::array<bool, 6> buttons;
};

void PrintTo(const Editable& e, std::ostream* os) {
  *os << e.name;
}

class EditableBitsTest : public ControlPanelTest, public ::testing::WithParamInterface<Editable> {};

TEST_P(EditableBitsTest, FollowTheModelAndItsLayout) {
  const Editable& e = GetParam();
  ControlPanel& p = open(e.model);
  EXPECT_EQ(p.caption, std::string("控制/状态-----") + e.name);
  for (std::size_t r = 0; r < ControlPanel::kRows; ++r) {
    const ControlPanel::RowControls& row = p.rows[r];
    int mask = 0;
    for (std::size_t n = 0; n < 8; ++n) mask |= row.boxEnabled[n] ? 1 << n : 0;
    EXPECT_EQ(mask, e.masks[r]) << "row " << r;
    EXPECT_EQ(row.readEnabled, e.buttons[r]) << "row " << r;
    EXPECT_EQ(row.writeEnabled, e.buttons[r]) << "row " << r;
    // Each named bit stands in its row's caption, bit 7 first.
    std::size_t from = 0;
    for (std::size_t n = 8; n-- > 0;) {
      if (row.bitNames[n].empty()) continue;
      from = row.bitCaption.find(row.bitNames[n], from);
      ASSERT_NE(from, std::string::npos) << row.bitNames[n] << " in " << row.bitCaption;
    }
  }
  const bool layoutB = e.masks[0] == 0xDF;
  EXPECT_EQ(p.row(Row::SR).bitCaption.rfind(layoutB ? "ARST" : "  BAT", 0), 0u);
  EXPECT_EQ(p.row(Row::EV).titleEnabled, e.masks[2] != 0);
  EXPECT_EQ(p.row(Row::BL).captionEnabled, e.masks[3] != 0);
  EXPECT_EQ(p.row(Row::INT).titleEnabled, e.masks[1] != 0);
}

INSTANTIATE_TEST_SUITE_P(
    SixModels, EditableBitsTest,
    ::testing::Values(
        Editable{MenuId::X1226, "X1226", {0x06, 0xF8, 0, 0xE0, 0x3F, 0x07}, {1, 1, 0, 1, 1, 1}},
        Editable{MenuId::X1227, "X1227", {0x06, 0, 0, 0xF8, 0x3F, 0x07}, {1, 0, 0, 1, 1, 1}},
        Editable{MenuId::X1228, "X1228", {0x06, 0xF8, 0, 0xF8, 0x3F, 0x07}, {1, 1, 0, 1, 1, 1}},
        Editable{MenuId::X1205, "X1205", {0x06, 0xE0, 0, 0, 0x3F, 0x07}, {1, 1, 0, 0, 1, 1}},
        Editable{MenuId::X1208, "X1208", {0xDF, 0xFF, 0, 0, 0xFF, 0x07}, {1, 1, 0, 0, 1, 1}},
        Editable{MenuId::X1209, "X1209", {0xDF, 0xFF, 0xFF, 0, 0xFF, 0x07}, {1, 1, 1, 0, 1, 1}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ControlPanelTest, OpeningAnX1209ReadsTheControlBlockQuietlyThenSr) {
  bench.loadConnectedWith(MenuId::X1228);
  bench.window.registers().RegBL = 0xA8;  // from an X1228 read before the switch
  bench.window.menuClick(MenuId::X1209);
  const std::string before = bench.panel(2);
  bench.window.menuClick("STATUS");
  ASSERT_EQ(bench.port.writes.size(), 1u);
  EXPECT_EQ(bench.port.writes[0], (Bytes{0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x08, 0x04, 0xD4}));
  EXPECT_EQ(bench.panel(2), before) << "the block read shows no progress";

  bench.port.receive(dataReply({0x80, 0x47, 0x1F, 0x05}));
  EXPECT_EQ(shown(Row::INT), "10000000");
  EXPECT_EQ(shown(Row::EV), "01000111");
  EXPECT_EQ(shown(Row::ATR), "00011111");
  EXPECT_EQ(shown(Row::DTR), "00000101");
  EXPECT_EQ(shown(Row::BL), "10101000") << "the image's BL, untouched by the X1209 block";
  EXPECT_EQ(bench.panel(2), before);

  bench.clock.advance(50ms);
  ASSERT_EQ(bench.port.writes.size(), 2u);
  EXPECT_EQ(bench.port.writes[1], kReadSrB);
  bench.port.receive(dataReply({0x93}));
  EXPECT_EQ(shown(Row::SR), "10010011");
  EXPECT_EQ(bench.panel(2), "读SR成功");
}

TEST_F(ControlPanelTest, AnUnansweredBlockReadArmsNoTimeOutAndSrFollowsAtItsOwnTimeOut) {
  open(MenuId::X1226);
  EXPECT_FALSE(bench.link().awaitingReply());
  bench.clock.advance(1999ms);
  EXPECT_EQ(bench.port.writes.size(), 1u) << "the SR read waits while the block reply is due";
  bench.clock.advance(1ms);
  ASSERT_EQ(bench.port.writes.size(), 2u);
  EXPECT_EQ(bench.port.writes[1], kReadSrA);
  EXPECT_TRUE(bench.link().awaitingReply()) << "the SR read has its time-out";
  EXPECT_EQ(shown(Row::INT), "00000000") << "the rows keep their 0";
}

TEST_F(ControlPanelTest, RowsFollowReadRepliesWhileOpenAndOnlyThen) {
  openAnswered(MenuId::X1228);

  // A read button: the register's read, then all five control rows from the image.
  bench.window.registers().RegATR = 0x21;
  user([](ControlPanel& p) { p.readClicked(Row::BL); });
  EXPECT_EQ(bench.port.writes.back(),
            (Bytes{0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x10, 0x01, 0xDA}));
  bench.port.receive(dataReply({0xE8}));
  EXPECT_EQ(shown(Row::BL), "11101000");
  EXPECT_EQ(shown(Row::ATR), "00100001");
  EXPECT_EQ(bench.panel(2), "读BL成功");

  // The monitor's SR read shows in the SR row.
  bench.window.autoMonitorClicked(true);
  bench.clock.advance(1s);
  bench.port.receive(dataReply({0x80}));
  EXPECT_EQ(shown(Row::SR), "10000000");

  // Closed: a reply reaches only the image.
  bench.window.menuClick("CONNECT");
  EXPECT_EQ(panel(), nullptr);
  bench.window.autoMonitorClicked(false);
  bench.replyTo(StReadINT, dataReply({0x40}));
  EXPECT_EQ(bench.window.registers().RegINT, 0x40);
}

TEST_F(ControlPanelTest, WriteGoesOutAtOnceWithoutUnlocking) {
  openAnswered(MenuId::X1228);
  typeRow(Row::INT, "10110000");
  user([](ControlPanel& p) { p.writeClicked(Row::INT); });
  ASSERT_EQ(bench.port.writes.size(), 1u) << "no WEL or RWEL before it";
  EXPECT_EQ(bench.port.writes[0],
            (Bytes{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x11, 0x01, 0xB0, 0x8D}));
  EXPECT_EQ(bench.window.registers().RegINT, 0xB0);
  EXPECT_EQ(bench.panel(2), "写INT");
  bench.port.receive(kAck);
  EXPECT_EQ(bench.panel(2), "设置INT成功");
  EXPECT_EQ(shown(Row::INT), "10110000");
}

TEST_F(ControlPanelTest, BoxesThatAreNoBitWarnAndRefuseTheWrite) {
  open(MenuId::X1209);
  bench.clock.advance(100ms);
  bench.port.writes.clear();
  bench.window.registers().RegEV = 0x5A;

  // Typing warns of a number above 1 only.
  for (const char* quiet : {"1", "0", "", " 1", "x", "-1", "0.5"}) type(Row::EV, 0, quiet);
  EXPECT_TRUE(bench.messageBoxes.shown.empty());
  for (const char* wrong : {"2", "1.5", "99999999999999999999"}) {
    type(Row::EV, 0, wrong);
    EXPECT_EQ(panel()->row(Row::EV).boxes[0], wrong) << "the text stays as typed";
  }
  EXPECT_EQ(bench.shownTexts(), std::vector<std::string>(3, kInvalid));

  // Two boxes that are no bit, neither warned of on typing: the write brings one message, sends
  // nothing and leaves the image as it was.
  type(Row::EV, 0, "-1");
  type(Row::EV, 7, "0.5");
  bench.messageBoxes.shown.clear();
  user([](ControlPanel& p) { p.writeClicked(Row::EV); });
  EXPECT_EQ(bench.shownTexts(), std::vector<std::string>{kInvalid});
  EXPECT_EQ(bench.window.registers().RegEV, 0x5A);
  bench.clock.advance(1s);
  EXPECT_TRUE(bench.port.writes.empty());

  // A box changed while the message is open brings no second one.
  bench.messageBoxes.shown.clear();
  bench.messageBoxes.whileOpen = [this] { type(Row::EV, 1, "7"); };
  type(Row::EV, 2, "5");
  EXPECT_EQ(bench.messageBoxes.shown.size(), 1u);
}

}  // namespace
}  // namespace rtceval
