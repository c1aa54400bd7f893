// The trimming, EEPROM and user-register dialogs against the virtual evaluation board,
// in-process on the virtual clock: what a dialog writes reaches the chip and reads back.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "board_link/requests.h"
#include "core/register_map.h"
#include "fake_desktop.h"
#include "main_window/main_window.h"
#include "register_editors/analog_trim_dialog.h"
#include "register_editors/digital_trim_dialog.h"
#include "register_editors/memory_dialog.h"
#include "register_editors/user_registers_dialog.h"
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
using testing::ScriptedMessageBoxes;
using testing::VirtualClock;

struct EditorsOnTheBoard : ::testing::Test {
  void start(ChipModel chip, MenuId menu) {
    port = std::make_unique<VirtualBoardPort>(clock, clock, chip, CivilTime{2026, 12, 8, 1, 2, 3});
    window = std::make_unique<MainWindow>(*port, clock, clock, messageBoxes, pcClock, desktop);
    window->Form_Load();
    clock.advance(250ms);
    window->menuClick(menu);
  }

  template <class Dialog>
  Dialog& open(const char* item) {
    window->menuClick(item);
    Dialog* dialog = window->dialogHost().current<Dialog>();
    EXPECT_NE(dialog, nullptr);
    return *dialog;
  }
  // A user event in the open dialog, then time for its requests and their replies.
  template <class Dialog, class Handler>
  void user(Handler handler, std::chrono::milliseconds wait = 200ms) {
    window->dialogHost().send<Dialog>(handler);
    clock.advance(wait);
  }

  // Reads one register back from the chip into the register image, after clearing the image.
  std::uint8_t readBack(RegisterId id) {
    const RegisterInfo& reg = registerOf(id);
    window->registers().*reg.image = 0;
    const auto request = requests::readRegister(layoutOf(window->profile().Is1208Family), id);
    window->events().run([&] { window->link().request(*request); });
    clock.advance(50ms);
    EXPECT_EQ(panel(2), reg.read.doneText);
    return window->registers().*reg.image;
  }

  std::string panel(int n) const { return window->controls().statusBar.panel(n); }

  VirtualClock clock;
  ScriptedMessageBoxes messageBoxes;
  FixedPcClock pcClock;
  testing::FakeDesktop desktop;
  std::unique_ptr<VirtualBoardPort> port;
  std::unique_ptr<MainWindow> window;
};

TEST_F(EditorsOnTheBoard, DtrSetOnAnX1226ReadsBack) {
  start(ChipModel::X1226, MenuId::X1226);
  DigitalTrimDialog& d = open<DigitalTrimDialog>("DTR");
  EXPECT_EQ(d.valueText, "0");
  user<DigitalTrimDialog>([](DigitalTrimDialog& dialog) {
    dialog.dtr2Clicked(true);
    dialog.dtr0Clicked(true);
    dialog.okClicked();
  });
  EXPECT_EQ(panel(2), "设置DTR成功");
  EXPECT_EQ(port->board().chip().peekRegister(0x13), 0x05);
  EXPECT_EQ(readBack(RegisterId::DTR), 0x05);

  // Reopened, the dialog shows what was read.
  EXPECT_EQ(open<DigitalTrimDialog>("DTR").valueText, "-20");
}

TEST_F(EditorsOnTheBoard, DtrSetOnAnX1208ReadsBack) {
  start(ChipModel::X1208, MenuId::X1208);
  open<DigitalTrimDialog>("DTR");
  user<DigitalTrimDialog>([](DigitalTrimDialog& dialog) {
    dialog.dtr1Clicked(true);
    dialog.okClicked();
  });
  EXPECT_EQ(panel(2), "设置DTR成功");
  EXPECT_EQ(readBack(RegisterId::DTR), 0x02);
  EXPECT_EQ(open<DigitalTrimDialog>("DTR").valueText, "20");
}

TEST_F(EditorsOnTheBoard, AtrWithBmatrOnAnX1209ReadsBack) {
  start(ChipModel::X1209, MenuId::X1209);
  open<AnalogTrimDialog>("ATR");
  user<AnalogTrimDialog>([](AnalogTrimDialog& dialog) {
    dialog.bmatr1Clicked(true);
    dialog.atrClicked(0, true);  // ATR5
    dialog.atrClicked(5, true);  // ATR0
    dialog.okClicked();
  });
  EXPECT_EQ(panel(2), "设置ATR成功");
  EXPECT_EQ(readBack(RegisterId::ATR), 0xA1);
  AnalogTrimDialog& reopened = open<AnalogTrimDialog>("ATR");
  EXPECT_TRUE(reopened.bmatr1Ticked);
  EXPECT_EQ(reopened.valueText, "3.25");
}

TEST_F(EditorsOnTheBoard, UserRegistersOnAnX1209RoundTrip) {
  start(ChipModel::X1209, MenuId::X1209);
  open<UserRegistersDialog>("USERREG");
  user<UserRegistersDialog>([](UserRegistersDialog& dialog) {
    dialog.registerTexts = {"c3", "7E"};
    dialog.writeClicked();
  });
  EXPECT_EQ(panel(2), "写用户寄存器成功");

  // A fresh dialog starts from its own texts and reads the chip's.
  UserRegistersDialog& reopened = open<UserRegistersDialog>("USERREG");
  EXPECT_EQ(reopened.registerTexts, (std::array<std::string, 2>{"01", "2A"}));
  user<UserRegistersDialog>([](UserRegistersDialog& dialog) { dialog.readClicked(); });
  EXPECT_EQ(panel(2), "读用户寄存器成功");
  EXPECT_EQ(reopened.registerTexts, (std::array<std::string, 2>{"C3", "7E"}));
}

TEST_F(EditorsOnTheBoard, AnEepromByteOnAnX1226IsWrittenOnceWelIsSetAndReadsBack) {
  start(ChipModel::X1226, MenuId::X1226);
  MemoryDialog& d = open<MemoryDialog>("MEMORY");
  const auto writeByte = [this] {
    user<MemoryDialog>([](MemoryDialog& dialog) {
      dialog.addressText = "1FF";
      dialog.dataText = "5a";
      dialog.writeClicked();
    });
  };
  // The dialog sends no WEL of its own: the chip refuses the byte, as the real one would.
  writeByte();
  EXPECT_EQ(panel(2), "评估板写器件错");
  EXPECT_EQ(port->board().chip().peekEeprom(0x1FF), 0xFF);

  window->events().run([this] { window->commands().CmdSetWEL(); });
  clock.advance(50ms);
  writeByte();
  EXPECT_EQ(panel(2), "写存储器成功");

  user<MemoryDialog>([](MemoryDialog& dialog) {
    dialog.dataText = "00";
    dialog.readClicked();
  });
  EXPECT_EQ(panel(2), "读存储器成功");
  EXPECT_EQ(d.dataText, "5A");
}

}  // namespace
}  // namespace rtceval
