// The bit-field dialogs against the virtual evaluation board, in-process on the virtual clock:
// each write reaches the chip's register after its unlock steps, and block protection set with
// "页保护" makes the chip ignore EEPROM writes into the protected range.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "board_link/requests.h"
#include "fake_desktop.h"
#include "main_window/main_window.h"
#include "register_editors/bit_field_dialogs.h"
#include "scripted_message_boxes.h"
#include "sim/virtual_board_port.h"
#include "virtual_clock.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using sim::ChipModel;
using sim::VirtualBoardPort;
using testing::FixedPcClock;
using testing::ScriptedMessageBoxes;
using testing::VirtualClock;

// Register addresses and request codes as the chip and the board know them, written out so that
// a wrong constant in the program is caught.
constexpr std::uint16_t kBlAddress = 0x10;   // layout A
constexpr std::uint16_t kIntAddress = 0x11;  // layout A
constexpr std::uint16_t kEvAddress = 0x09;   // layout B

struct BitFieldBoardTest : ::testing::Test {
  void start(ChipModel chip, MenuId menu) {
    port =
        std::make_unique<VirtualBoardPort>(clock, clock, chip, sim::CivilTime{2026, 1, 2, 3, 4, 5});
    window = std::make_unique<MainWindow>(*port, clock, clock, messageBoxes, pcClock, desktop);
    window->Form_Load();
    clock.advance(250ms);
    window->menuClick(menu);
  }

  // Opens the dialog, leaves its boxes as `pattern` ('x' ticked), presses OK and lets the unlock
  // steps, the write and the chip's write cycle run.
  void confirm(const char* entry, const std::string& pattern) {
    window->menuClick(entry);
    ASSERT_NE(window->dialogHost().current<BitFieldDialog>(), nullptr);
    for (std::size_t i = 0; i < pattern.size(); ++i)
      window->dialogHost().send<BitFieldDialog>(
          [i, on = pattern[i] == 'x'](BitFieldDialog& d) { d.boxClicked(i, on); });
    window->dialogHost().send<BitFieldDialog>([](BitFieldDialog& d) { d.okClicked(); });
    clock.advance(200ms);
  }

  // One EEPROM byte as the EEPROM dialog sends it: at once, without unlock steps.
  void writeEeprom(std::uint16_t address, std::uint8_t value) {
    window->events().run([&] {
      const std::uint8_t byte[] = {value};
      window->link().request(requests::writeEeprom(address, byte));
    });
    clock.advance(50ms);
  }
  std::uint8_t readEeprom(std::uint16_t address) {
    window->events().run([&] { window->link().request(requests::readEeprom(address)); });
    clock.advance(50ms);
    EXPECT_EQ(panel(2), "读存储器成功");
    return window->reads().memoryByte;
  }

  std::string panel(int n) const { return window->controls().statusBar.panel(n); }
  const sim::RtcChip& chip() { return port->board().chip(); }

  VirtualClock clock;
  ScriptedMessageBoxes messageBoxes;
  FixedPcClock pcClock;
  testing::FakeDesktop desktop;
  std::unique_ptr<VirtualBoardPort> port;
  std::unique_ptr<MainWindow> window;
};

TEST_F(BitFieldBoardTest, InterruptAndFrequencyBitsSetInTwoDialogsReachAnX1228) {
  start(ChipModel::X1228, MenuId::X1228);
  confirm("mINT", "x...-x");  // IM, AL0E
  EXPECT_EQ(panel(2), "设置INT成功");
  EXPECT_EQ(chip().peekRegister(kIntAddress), 0xA0);

  confirm("FOUT", "..xx");  // FO1, FO0: 1 Hz
  EXPECT_EQ(panel(2), "设置INT成功");
  EXPECT_EQ(chip().peekRegister(kIntAddress), 0xB8) << "the interrupt bits were kept";

  // A read of INT brings the chip's value back into the image.
  window->registers().RegINT = 0;
  window->events().run(
      [this] { window->link().request(*requests::readRegister(Layout::A, RegisterId::INT)); });
  clock.advance(50ms);
  EXPECT_EQ(panel(2), "读INT成功");
  EXPECT_EQ(window->registers().RegINT, 0xB8);
  EXPECT_TRUE(messageBoxes.shown.empty());
}

TEST_F(BitFieldBoardTest, AnEventWriteReachesAnX1209AfterWrtc) {
  start(ChipModel::X1209, MenuId::X1209);
  confirm("mEVENT", "-x-x-x-x");  // EVIENB off, EVBATB on, EVEN, EHYS0, ESMP0
  EXPECT_EQ(panel(2), "设置EV成功");
  EXPECT_EQ(chip().peekRegister(kEvAddress), 0x95);
}

TEST_F(BitFieldBoardTest, ProtectedEepromBytesIgnoreWritesUntilTheProtectionIsLifted) {
  start(ChipModel::X1226, MenuId::X1226);
  confirm("BP", "--x");  // BP0: the upper quarter of the array
  EXPECT_EQ(panel(2), "设置BL成功");
  ASSERT_EQ(chip().peekRegister(kBlAddress), 0x20);

  // The chip acknowledges a write to a protected byte but does not store it.
  writeEeprom(0x01F0, 0x5A);
  EXPECT_EQ(panel(2), "写存储器成功");
  EXPECT_EQ(readEeprom(0x01F0), 0xFF);
  EXPECT_EQ(chip().peekEeprom(0x01F0), 0xFF);

  writeEeprom(0x0010, 0xA5);
  EXPECT_EQ(readEeprom(0x0010), 0xA5);

  confirm("BP", "---");
  EXPECT_EQ(chip().peekRegister(kBlAddress), 0x00);
  writeEeprom(0x01F0, 0x5A);
  EXPECT_EQ(readEeprom(0x01F0), 0x5A);
}

}  // namespace
}  // namespace rtceval
