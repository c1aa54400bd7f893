// The status panel against the virtual evaluation board: the user unlocks an X1228 through the
// SR row, writes INT and reads it back; without unlocking, the chip refuses and the board says so.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "fake_desktop.h"
#include "main_window/main_window.h"
#include "register_editors/control_panel.h"
#include "scripted_message_boxes.h"
#include "sim/virtual_board_port.h"
#include "virtual_clock.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using Row = ControlPanel::Row;

struct ControlPanelE2eTest : ::testing::Test {
  void SetUp() override {
    port = std::make_unique<sim::VirtualBoardPort>(clock, clock, sim::ChipModel::X1228,
                                                   sim::CivilTime{2026, 12, 8, 1, 2, 3});
    window = std::make_unique<MainWindow>(*port, clock, clock, messageBoxes, pcClock, desktop);
    window->Form_Load();
    clock.advance(250ms);
    window->menuClick(MenuId::X1228);
    window->menuClick("STATUS");
    clock.advance(100ms);  // the control block, then SR
  }

  // What the user does on the panel, each followed by the time its reply takes.
  void typeRow(Row row, const char* bits) {
    for (std::size_t n = 0; n < 8; ++n) {
      const std::string text(1, bits[n]);
      send([&](ControlPanel& p) { p.boxChanged(row, 7 - n, text); });
    }
  }
  void write(Row row) {
    send([row](ControlPanel& p) { p.writeClicked(row); });
    clock.advance(50ms);
  }
  void read(Row row) {
    send([row](ControlPanel& p) { p.readClicked(row); });
    clock.advance(50ms);
  }
  template <class Handler>
  void send(Handler handler) {
    window->dialogHost().send<ControlPanel>(handler);
  }
  std::string shown(Row row) {
    const ControlPanel* panel = window->dialogHost().current<ControlPanel>();
    std::string bits;
    for (std::size_t n = 8; n-- > 0;) bits += panel->row(row).boxes[n];
    return bits;
  }
  std::string panel2() const { return window->controls().statusBar.panel(2); }

  testing::VirtualClock clock;
  testing::ScriptedMessageBoxes messageBoxes;
  testing::FixedPcClock pcClock;
  testing::FakeDesktop desktop;
  std::unique_ptr<sim::VirtualBoardPort> port;
  std::unique_ptr<MainWindow> window;
};

TEST_F(ControlPanelE2eTest, UnlockedThroughTheSrRowAnX1228TakesIntAndReadsItBack) {
  EXPECT_EQ(shown(Row::SR), "00000001") << "RTCF stands after power-up";
  EXPECT_EQ(panel2(), "读SR成功");

  typeRow(Row::SR, "00000011");  // WEL
  write(Row::SR);
  EXPECT_EQ(panel2(), "设置SR成功");
  typeRow(Row::SR, "00000111");  // WEL and RWEL
  write(Row::SR);
  read(Row::SR);
  EXPECT_EQ(shown(Row::SR), "00000111");

  typeRow(Row::INT, "10110000");
  write(Row::INT);
  EXPECT_EQ(panel2(), "设置INT成功");
  typeRow(Row::INT, "00000000");
  read(Row::INT);
  EXPECT_EQ(panel2(), "读INT成功");
  EXPECT_EQ(shown(Row::INT), "10110000");
  EXPECT_EQ(window->registers().RegINT, 0xB0);
  EXPECT_TRUE(messageBoxes.shown.empty());
}

TEST_F(ControlPanelE2eTest, WithoutUnlockingTheChipRefusesAndTheBoardSaysSo) {
  typeRow(Row::BL, "11100000");
  write(Row::BL);
  EXPECT_EQ(panel2(), "评估板写器件错");
  read(Row::BL);
  EXPECT_EQ(panel2(), "读BL成功");
  EXPECT_EQ(shown(Row::BL), "00000000");
}

}  // namespace
}  // namespace rtceval
