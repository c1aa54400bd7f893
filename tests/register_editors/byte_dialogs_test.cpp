// The EEPROM and user-register dialogs on the fake port and the virtual clock: hexadecimal boxes,
// the frames their buttons send at once, the refusals, and the boxes a read reply fills.
#include <gtest/gtest.h>

#include <string>

#include "editor_bench.h"
#include "register_editors/analog_trim_dialog.h"
#include "register_editors/hex_box.h"
#include "register_editors/memory_dialog.h"
#include "register_editors/user_registers_dialog.h"

namespace rtceval {
namespace {

using testing::Bytes;
using testing::dataReply;
using testing::EditorBench;
using namespace std::chrono_literals;

TEST(HexBox, ReadsTheHexadecimalDigitsATextBeginsWith) {
  EXPECT_EQ(readHexBox("1ff"), 0x1FFu);
  EXPECT_EQ(readHexBox("1FF"), 0x1FFu);
  EXPECT_EQ(readHexBox("12G"), 0x12u);
  EXPECT_EQ(readHexBox("7fff "), 0x7FFFu);
  EXPECT_EQ(readHexBox("  A5"), 0xA5u);
  EXPECT_EQ(readHexBox(""), 0u);
  EXPECT_EQ(readHexBox("G1"), 0u);
  EXPECT_EQ(readHexBox("-1"), 0u);
  EXPECT_EQ(readHexBox("0x10"), 0u) << "reading stops at the x";
  EXPECT_EQ(readHexBox("00000000000000000035"), 0x35u) << "leading zeros are no overflow";
  EXPECT_EQ(readHexBox("FFFFFFF"), 0xFFFFFFFu);
}

TEST(HexBox, ALongRunOfDigitsIsOutOfEveryRangeInsteadOfWrappingAround) {
  // 0x100000035 would wrap to 0x35 in 32 bits; 2^64 + 1 to 1.
  EXPECT_EQ(readHexBox("100000035"), kHexBoxOverflow);
  EXPECT_EQ(readHexBox("10000000000000001"), kHexBoxOverflow);
  EXPECT_EQ(readHexBox(std::string(1000, 'f')), kHexBoxOverflow);
}

// ---- EEPROM bytes ----

const Bytes kRead0001{0x55, 0x00, 0x05, 0x00, 0x57, 0x00, 0x01, 0x01, 0xB3};

struct MemoryBench : EditorBench {
  MemoryBench() : EditorBench(MenuId::X1226) {}
  MemoryDialog* d = open<MemoryDialog>("MEMORY");
  void type(std::string MemoryDialog::*box, const char* text) {
    user<MemoryDialog>([box, text](MemoryDialog& dialog) { dialog.*box = text; });
  }
  void read() {
    user<MemoryDialog>([](MemoryDialog& dialog) { dialog.readClicked(); });
  }
  void write() {
    user<MemoryDialog>([](MemoryDialog& dialog) { dialog.writeClicked(); });
  }
};

TEST(Memory, AReadOfTheFirstAddressShowsTheByteReadInTheDataBox) {
  MemoryBench bench;
  ASSERT_NE(bench.d, nullptr);
  EXPECT_EQ(bench.window.OpenSubForm(), 12);
  EXPECT_EQ(bench.d->addressText, "0001");
  EXPECT_EQ(bench.d->dataText, "35");

  bench.read();
  ASSERT_EQ(bench.port.writes.size(), 1u) << "sent at once";
  EXPECT_EQ(bench.port.writes[0], kRead0001);
  EXPECT_EQ(bench.panel(2), "读存储器");
  EXPECT_TRUE(bench.link().awaitingReply()) << "with the response time-out running";

  bench.port.receive({0x55, 0x80, 0x01, 0xA5, 0x7B});
  EXPECT_EQ(bench.panel(2), "读存储器成功");
  EXPECT_EQ(bench.d->dataText, "A5");
  EXPECT_FALSE(bench.link().awaitingReply());

  bench.read();
  bench.port.receive(dataReply({0x0A}));
  EXPECT_EQ(bench.d->dataText, "0A") << "two digits, upper case";
}

TEST(Memory, AWriteGoesOutAtOnceWithoutUnlocking) {
  MemoryBench bench;
  bench.type(&MemoryDialog::addressText, "1FF");
  bench.write();
  bench.clock.advance(200ms);
  ASSERT_EQ(bench.port.writes.size(), 1u) << "no WEL or RWEL before or after it";
  EXPECT_EQ(bench.port.writes[0],
            (Bytes{0x55, 0x00, 0x06, 0x01, 0x57, 0x01, 0xFF, 0x01, 0x35, 0xE9}));
  EXPECT_EQ(bench.panel(2), "写存储器");
  bench.port.receive(testing::kAck);
  EXPECT_EQ(bench.panel(2), "写存储器成功");
}

TEST(Memory, TheWholeAddressRangeIsAcceptedAndAnythingBeyondIsRefused) {
  MemoryBench bench;
  bench.type(&MemoryDialog::addressText, "7fff");
  bench.read();
  ASSERT_EQ(bench.port.writes.size(), 1u);
  EXPECT_EQ(bench.port.writes[0], (Bytes{0x55, 0x00, 0x05, 0x00, 0x57, 0x7F, 0xFF, 0x01, 0x30}));
  bench.port.receive(dataReply({0xFF}));
  bench.port.writes.clear();

  // 8000 needs a sixteenth address bit; 100007FFF would wrap to 7FFF if read into 32 bits.
  for (const char* address : {"8000", "FFFF", "100007FFF"}) {
    SCOPED_TRACE(address);
    bench.messageBoxes.shown.clear();
    bench.type(&MemoryDialog::addressText, address);
    bench.read();
    bench.write();
    EXPECT_EQ(bench.shownTexts(), (std::vector<std::string>{"无效的地址", "无效的地址"}));
    EXPECT_TRUE(bench.port.writes.empty()) << "nothing is sent";
  }
}

TEST(Memory, ADataByteAboveFFIsRefusedAndABadAddressIsReportedFirst) {
  MemoryBench bench;
  for (const char* data : {"100", "1000000FF"}) {
    SCOPED_TRACE(data);
    bench.messageBoxes.shown.clear();
    bench.type(&MemoryDialog::dataText, data);
    bench.write();
    EXPECT_EQ(bench.shownTexts(), std::vector<std::string>{"无效的数据"});
  }
  bench.messageBoxes.shown.clear();
  bench.type(&MemoryDialog::addressText, "8000");
  bench.write();
  EXPECT_EQ(bench.shownTexts(), std::vector<std::string>{"无效的地址"}) << "one message";
  bench.clock.advance(1s);
  EXPECT_TRUE(bench.port.writes.empty());

  // The data box does not matter to a read.
  bench.type(&MemoryDialog::addressText, "10");
  bench.read();
  EXPECT_EQ(bench.port.writes.size(), 1u);
}

TEST(Memory, AFailedReadKeepsTheBoxesAndSaysSo) {
  MemoryBench bench;
  bench.read();
  bench.port.receive({0x55, 0x81, 0x01, 0x04, 0xDB});  // a board status instead of the byte
  EXPECT_EQ(bench.panel(2), "读存储器失败");
  EXPECT_EQ(bench.d->dataText, "35");

  bench.read();
  bench.port.receive(dataReply({0x12, 0x34}));  // two bytes where one is due
  EXPECT_EQ(bench.panel(2), "读存储器失败");
  EXPECT_EQ(bench.d->dataText, "35");

  bench.read();
  bench.clock.advance(2100ms);
  EXPECT_EQ(bench.panel(2), "接收超时错,评估板无应答");
  EXPECT_EQ(bench.d->dataText, "35");
}

TEST(Memory, AReplyAfterTheDialogClosedReachesOnlyTheStatusBar) {
  MemoryBench bench;
  bench.read();
  bench.window.menuClick("ATR");  // opening another dialog closes this one
  ASSERT_EQ(bench.window.dialogHost().current<MemoryDialog>(), nullptr);
  bench.port.receive({0x55, 0x80, 0x01, 0xA5, 0x7B});
  EXPECT_EQ(bench.panel(2), "读存储器成功");
  EXPECT_NE(bench.window.dialogHost().current<AnalogTrimDialog>(), nullptr);

  MemoryDialog* reopened = bench.open<MemoryDialog>("MEMORY");
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(reopened->dataText, "35") << "the initial texts return";
}

// ---- user registers ----

struct UserRegistersBench : EditorBench {
  explicit UserRegistersBench(MenuId model = MenuId::X1209) : EditorBench(model) {}
  UserRegistersDialog* d = open<UserRegistersDialog>("USERREG");
  void type(std::size_t box, const char* text) {
    user<UserRegistersDialog>(
        [box, text](UserRegistersDialog& dialog) { dialog.registerTexts[box] = text; });
  }
  void read() {
    user<UserRegistersDialog>([](UserRegistersDialog& dialog) { dialog.readClicked(); });
  }
  void write() {
    user<UserRegistersDialog>([](UserRegistersDialog& dialog) { dialog.writeClicked(); });
  }
};

TEST(UserRegisters, AReadOnAnX1209FillsBothBoxes) {
  UserRegistersBench bench;
  ASSERT_NE(bench.d, nullptr);
  EXPECT_EQ(bench.window.OpenSubForm(), 13);
  EXPECT_EQ(bench.d->registerTexts, (std::array<std::string, 2>{"01", "2A"}));
  bench.read();
  ASSERT_EQ(bench.port.writes.size(), 1u);
  EXPECT_EQ(bench.port.writes[0], (Bytes{0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x12, 0x02, 0xDC}));
  EXPECT_EQ(bench.panel(2), "读用户寄存器");
  EXPECT_TRUE(bench.link().awaitingReply());
  bench.port.receive({0x55, 0x80, 0x02, 0x5C, 0x07, 0x3A});
  EXPECT_EQ(bench.panel(2), "读用户寄存器成功");
  EXPECT_EQ(bench.d->registerTexts, (std::array<std::string, 2>{"5C", "07"}));
}

TEST(UserRegisters, AWriteSendsBothRegistersAtOnce) {
  UserRegistersBench bench(MenuId::X1208);
  bench.write();
  bench.clock.advance(200ms);
  ASSERT_EQ(bench.port.writes.size(), 1u) << "no WRTC before it";
  EXPECT_EQ(bench.port.writes[0],
            (Bytes{0x55, 0x00, 0x07, 0x01, 0x6F, 0xFF, 0x12, 0x02, 0x01, 0x2A, 0x0A}));
  EXPECT_EQ(bench.panel(2), "写用户寄存器");
  bench.port.receive(testing::kAck);
  EXPECT_EQ(bench.panel(2), "写用户寄存器成功");

  bench.port.writes.clear();
  bench.type(0, "5c");
  bench.type(1, "7 ");
  bench.write();
  ASSERT_EQ(bench.port.writes.size(), 1u);
  EXPECT_EQ(bench.port.writes[0],
            (Bytes{0x55, 0x00, 0x07, 0x01, 0x6F, 0xFF, 0x12, 0x02, 0x5C, 0x07, 0x42}));
}

TEST(UserRegisters, ARegisterAboveFFRefusesTheWholeWriteWithOneMessage) {
  UserRegistersBench bench;
  for (auto [first, second] : {std::pair{"100", "2A"}, std::pair{"01", "1FF"},
                               std::pair{"123", "456"}, std::pair{"01", "1000000002A"}}) {
    SCOPED_TRACE(std::string(first) + " " + second);
    bench.messageBoxes.shown.clear();
    bench.type(0, first);
    bench.type(1, second);
    bench.write();
    EXPECT_EQ(bench.shownTexts(), std::vector<std::string>{"无效的数据"});
  }
  bench.clock.advance(1s);
  EXPECT_TRUE(bench.port.writes.empty());
}

TEST(UserRegisters, AFailedReadKeepsTheBoxes) {
  UserRegistersBench bench;
  bench.type(0, "77");
  bench.read();
  bench.port.receive(dataReply({0x5C}));  // one byte where two are due
  EXPECT_EQ(bench.panel(2), "读用户寄存器失败");
  EXPECT_EQ(bench.d->registerTexts, (std::array<std::string, 2>{"77", "2A"}));
}

}  // namespace
}  // namespace rtceval
