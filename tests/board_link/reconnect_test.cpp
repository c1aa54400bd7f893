// The board's device pulled out and plugged back, and a board that stops answering.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "board_link/reconnect.h"
#include "window_bench.h"

namespace rtceval::testing {
namespace {

using ::testing::ElementsAre;

const Bytes kTime0905{0x55, 0x80, 0x08, 0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20, 0xE8};
constexpr const char* kGone = "评估板已断开,正在重连…";

SerialDeviceFacts adapter(std::string device, std::string serial) {
  return {std::move(device), "FT232R USB UART", "FTDI", 0x0403, 0x6001, std::move(serial)};
}

int countOf(const std::vector<Bytes>& writes, const Bytes& frame) {
  return static_cast<int>(std::count(writes.begin(), writes.end(), frame));
}

// A main window connected to the board through a USB adapter on port 1, a chip chosen, and both
// automatic modes ticked.
struct Unplugged : ::testing::Test {
  WindowBench b;

  void SetUp() override {
    b.port.assignDevice(1, "/dev/ttyUSB0");
    b.desktop.devices = {adapter("/dev/ttyUSB0", "A1B2C3")};
    b.loadConnectedWith(MenuId::X1226);
    b.window.autoReadTimeClicked(true);
    b.window.autoMonitorClicked(true);
  }
  // The adapter is pulled out just after a time read went out.
  void pullOut() {
    b.clock.advance(200ms);
    ASSERT_EQ(b.port.writes.back(), kReadTimeA);
    b.desktop.devices.clear();
    b.port.unplug();
    b.port.writes.clear();
  }
  void plugBackAs(const std::string& device, const std::string& serial = "A1B2C3") {
    b.desktop.devices.push_back(adapter(device, serial));
    b.port.openableDevices.insert(device);
  }
  int questionsAndMessages() const { return static_cast<int>(b.messageBoxes.shown.size()); }
};

TEST_F(Unplugged, WaitsQuietlyWithoutAskingAnything) {
  pullOut();
  EXPECT_EQ(b.panel(2), kGone);
  EXPECT_EQ(b.panel(6), "") << "the port panel no longer claims a board";
  EXPECT_TRUE(b.window.isReconnecting());
  EXPECT_FALSE(b.link().awaitingReply()) << "the read that went out is not awaited";

  // Far past the response time-out and many monitor ticks: no question, no alarm message, no
  // request into the void, and the automatic modes stay ticked.
  b.clock.advance(30s);
  EXPECT_EQ(questionsAndMessages(), 0);
  EXPECT_TRUE(b.port.writes.empty());
  EXPECT_EQ(b.panel(2), kGone);
  EXPECT_TRUE(b.controls().autoReadTime.checked);
  EXPECT_TRUE(b.controls().autoMonitor.checked);
  EXPECT_TRUE(b.window.isReconnecting());

  // A read the user asks for meanwhile goes nowhere; its time-out asks nothing either.
  b.window.menuClick(MenuId::READTIME);
  b.clock.advance(3000ms);
  EXPECT_EQ(questionsAndMessages(), 0);
  EXPECT_EQ(b.panel(2), kGone);
}

TEST_F(Unplugged, BackUnderTheSameNameOnTheNextSecondAndBothModesGoOn) {
  pullOut();
  b.clock.advance(2500ms);
  plugBackAs("/dev/ttyUSB0");
  const auto attempts = b.port.openAttempts.size();
  b.clock.advance(400ms);
  EXPECT_EQ(b.port.openAttempts.size(), attempts) << "looked for once a second, not at once";
  b.clock.advance(100ms);
  EXPECT_EQ(b.port.openPort(), 1);
  EXPECT_THAT(b.port.writes, ElementsAre(kProbe));
  EXPECT_EQ(b.panel(2), kGone) << "reopened, but the board has not answered yet";

  b.port.receive(kProbeAnswer);
  EXPECT_EQ(b.panel(2), "成功连接评估板于串口1");
  EXPECT_EQ(b.panel(6), "1");
  EXPECT_FALSE(b.window.isReconnecting());

  b.port.writes.clear();
  b.clock.advance(200ms);
  EXPECT_EQ(countOf(b.port.writes, kReadTimeA), 1) << "the time is read again";
  b.port.receive(kTime0905);
  EXPECT_EQ(b.controls().timeLabel.caption, "09:05:30");
  // The board answers every read as it goes out.
  std::size_t answered = b.port.writes.size();
  for (int ms = 0; ms < 1000; ++ms) {
    b.clock.advance(1ms);
    for (; answered < b.port.writes.size(); ++answered)
      b.port.receive(b.port.writes[answered] == kReadTimeA ? kTime0905 : dataReply({0x00}));
  }
  EXPECT_GE(countOf(b.port.writes, kReadSrA), 1) << "the monitor polls again";
  EXPECT_EQ(questionsAndMessages(), 0);
}

TEST_F(Unplugged, BackUnderAnotherNameWhileAnotherAdapterTookTheOldOne) {
  pullOut();
  // Another adapter now answers to the old name; ours comes back as ttyUSB1.
  plugBackAs("/dev/ttyUSB0", "ZZZ999");
  plugBackAs("/dev/ttyUSB1");
  b.clock.advance(1000ms);
  EXPECT_EQ(b.link().deviceName(1), "/dev/ttyUSB1") << "port 1 keeps its number";
  EXPECT_EQ(b.port.openPort(), 1);
  EXPECT_THAT(b.port.writes, ElementsAre(kProbe));
  b.port.receive(kProbeAnswer);
  EXPECT_EQ(b.panel(2), "成功连接评估板于串口1");

  // Pulled out once more, it is looked for under its new name.
  b.desktop.devices.clear();
  b.port.unplug();
  plugBackAs("/dev/ttyUSB1");
  b.clock.advance(1000ms);
  EXPECT_EQ(b.port.openPort(), 1);
  EXPECT_EQ(b.link().deviceName(1), "/dev/ttyUSB1");
}

TEST_F(Unplugged, BoardSilentAfterTheAdapterIsBackIsProbedEverySecond) {
  pullOut();
  plugBackAs("/dev/ttyUSB0");
  b.clock.advance(1000ms);
  b.clock.advance(3000ms);
  EXPECT_EQ(countOf(b.port.writes, kProbe), 4);
  EXPECT_EQ(b.port.writes.size(), 4u) << "nothing but probes while it is silent";
  EXPECT_EQ(questionsAndMessages(), 0);
  b.port.receive(kProbeAnswer);
  EXPECT_EQ(b.panel(2), "成功连接评估板于串口1");
  EXPECT_FALSE(b.window.isReconnecting());
}

TEST_F(Unplugged, NeverBackThenTheProgramIsClosed) {
  pullOut();
  b.clock.advance(120s);
  EXPECT_TRUE(b.window.isReconnecting());
  b.window.Form_Unload();
  EXPECT_FALSE(b.window.isReconnecting());
  // Coming back after the window closed opens nothing.
  plugBackAs("/dev/ttyUSB0");
  const auto attempts = b.port.openAttempts.size();
  b.clock.advance(10s);
  EXPECT_EQ(b.port.openAttempts.size(), attempts);
  EXPECT_TRUE(b.port.writes.empty());
}

TEST_F(Unplugged, TheUserConnectingByHandGoesFirst) {
  pullOut();
  b.window.menuClick("CONNECT");
  plugBackAs("/dev/ttyUSB0");
  const auto attempts = b.port.openAttempts.size();
  b.clock.advance(3000ms);
  EXPECT_EQ(b.port.openAttempts.size(), attempts) << "no port is taken from under the dialog";
  // A board found by hand ends the search.
  b.pickPort(1);
  b.clickConnect();
  b.port.receive(kProbeAnswer);
  EXPECT_EQ(b.panel(2), "成功连接评估板于串口1");
  EXPECT_FALSE(b.window.isReconnecting());
}

TEST(DeviceLost, BeforeTheBoardEverAnsweredTheSearchJustGoesOn) {
  WindowBench b;
  b.port.openable = {1, 2};
  b.window.Form_Load();
  b.port.unplug();
  b.port.openable = {2};
  EXPECT_FALSE(b.window.isReconnecting());
  EXPECT_NE(b.panel(2), kGone);
  b.clock.advance(400ms);
  EXPECT_EQ(b.port.openPort(), 2);
}

TEST(DeviceLost, ABoardOnAPseudoTerminalIsFoundByItsPathAlone) {
  WindowBench b;
  b.port.assignDevice(1, "/tmp/board");
  b.desktop.links = {{"/tmp/board", "/dev/pts/3"}};
  b.desktop.unlisted = {"/dev/pts/3"};
  b.loadConnected();
  b.desktop.links.clear();
  b.port.unplug();
  b.clock.advance(3000ms);
  EXPECT_TRUE(b.port.writes.empty());
  // Plugged back on another terminal behind the same link.
  b.desktop.links = {{"/tmp/board", "/dev/pts/7"}};
  b.desktop.unlisted = {"/dev/pts/7"};
  b.port.openableDevices.insert("/tmp/board");
  b.clock.advance(1000ms);
  EXPECT_THAT(b.port.writes, ElementsAre(kProbe));
  b.port.receive(kProbeAnswer);
  EXPECT_EQ(b.panel(2), "成功连接评估板于串口1");
}

TEST(SameAdapter, IsToldByUsbIdsSerialNumberOrDescription) {
  const SerialDeviceFacts known = adapter("/dev/ttyUSB0", "A1");
  EXPECT_TRUE(sameAdapter(known, adapter("/dev/ttyUSB3", "A1")));
  EXPECT_FALSE(sameAdapter(known, adapter("/dev/ttyUSB3", "B2")));
  EXPECT_FALSE(sameAdapter(known, adapter("/dev/ttyUSB3", "")));
  SerialDeviceFacts otherIds = adapter("/dev/ttyUSB3", "A1");
  otherIds.productId = 0x6015;
  EXPECT_FALSE(sameAdapter(known, otherIds));

  // Without a serial number only the kind is known.
  const SerialDeviceFacts plain = adapter("/dev/ttyUSB0", "");
  EXPECT_TRUE(sameAdapter(plain, adapter("/dev/ttyUSB1", "")));
  SerialDeviceFacts otherKind = adapter("/dev/ttyUSB1", "");
  otherKind.description = "CP2102 USB to UART Bridge Controller";
  EXPECT_FALSE(sameAdapter(plain, otherKind));

  // A built-in port has no USB ids: it never comes back under another name.
  SerialDeviceFacts builtIn{"/dev/ttyS0", "", "", std::nullopt, std::nullopt, ""};
  EXPECT_FALSE(sameAdapter(builtIn, builtIn));
}

TEST(SameAdapter, TwoLookalikesWithoutSerialNumbersAreNeitherTaken) {
  WindowBench b;
  b.port.assignDevice(1, "/dev/ttyUSB0");
  b.desktop.devices = {adapter("/dev/ttyUSB0", "")};
  b.loadConnected();
  b.desktop.devices.clear();
  b.port.unplug();
  b.desktop.devices = {adapter("/dev/ttyUSB1", ""), adapter("/dev/ttyUSB2", "")};
  b.port.openableDevices = {"/dev/ttyUSB1", "/dev/ttyUSB2"};
  b.clock.advance(5000ms);
  EXPECT_TRUE(b.port.writes.empty());
  EXPECT_TRUE(b.window.isReconnecting());
}

// --- A board that stops answering while its adapter stays ---------------------------------------

TEST(SilentBoard, PortPanelIsWithdrawnUntilTheNextReply) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  ASSERT_EQ(b.panel(6), "1");
  b.window.menuClick(MenuId::READTIME);
  b.clock.advance(2000ms);
  EXPECT_EQ(b.panel(2), "接收超时错,评估板无应答");
  EXPECT_EQ(b.panel(6), "");
  EXPECT_FALSE(b.window.isReconnecting()) << "the adapter is still there: no search";

  b.window.menuClick(MenuId::READTIME);
  EXPECT_EQ(b.panel(2), "接收超时错,评估板无应答") << "a request is no answer";
  b.port.receive(kTime0905);
  EXPECT_EQ(b.panel(2), "读时间成功");
  EXPECT_EQ(b.panel(6), "1");
}

TEST(SilentBoard, WhileTheQuestionIsOpenThePanelKeepsSayingSo) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  b.window.autoReadTimeClicked(true);
  std::vector<std::string> seenBehindTheQuestion;
  b.messageBoxes.whileOpen = [&] {
    b.clock.advance(1000ms);  // the time reads go on behind the question
    seenBehindTheQuestion = {b.panel(2), b.panel(6)};
  };
  b.messageBoxes.answers = {false};
  b.clock.advance(2200ms);
  ASSERT_EQ(b.messageBoxes.shown.size(), 1u);
  EXPECT_EQ(b.messageBoxes.shown[0].text, "接收超时错,是否停止自动方式！");
  EXPECT_THAT(seenBehindTheQuestion, ElementsAre("接收超时错,评估板无应答", ""));
  // The read on the line and the one that waited behind it are answered.
  b.port.receive(kTime0905);
  b.port.receive(kTime0905);
  EXPECT_EQ(b.panel(2), "读时间成功");
  EXPECT_EQ(b.panel(6), "1");
}

TEST(SilentBoard, AnotherTimeOutWithNoBoardConnectedClaimsNoPort) {
  WindowBench b;
  b.port.openable = {1};
  b.window.Form_Load();
  b.clock.advance(400ms);  // the probe went unanswered; the search is over
  b.window.link().request(*requests::readRegister(Layout::A, RegisterId::SR));
  b.clock.advance(2000ms);
  b.port.receive(dataReply({0x00}));
  EXPECT_EQ(b.panel(6), "") << "a reply restores only a panel the time-out had withdrawn";
}

}  // namespace
}  // namespace rtceval::testing
