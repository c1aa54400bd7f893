// Finding the board at start, the port dialog, and the response time-out.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "connection/connect_dialog.h"
#include "window_bench.h"

namespace rtceval::testing {
namespace {

using ::testing::ElementsAre;

int probesSent(const FakeSerialPort& port) {
  int n = 0;
  for (const Bytes& w : port.writes) n += (w == kProbe);
  return n;
}

// --- Automatic search ---------------------------------------------------------------------------

TEST(BoardSearch, BoardOnTheOnlyPort) {
  WindowBench b;
  b.port.openable = {1};
  b.window.Form_Load();
  EXPECT_EQ(b.panel(2), "自动连接评估板...");
  EXPECT_TRUE(b.window.isDetecting());
  EXPECT_EQ(b.link().pendingRequest(), StPortOpened);
  EXPECT_EQ(b.port.openPort(), 1);
  EXPECT_TRUE(b.port.writes.empty()) << "the probe waits a tick";

  b.clock.advance(200ms);
  EXPECT_THAT(b.port.writes, ElementsAre(kProbe));
  EXPECT_EQ(b.link().pendingRequest(), StProbe);
  EXPECT_FALSE(b.window.link().awaitingReply());

  b.port.receive(kProbeAnswer);
  EXPECT_EQ(b.panel(2), "成功连接评估板于串口1");
  EXPECT_EQ(b.panel(6), "1");
  EXPECT_FALSE(b.window.isDetecting());

  b.clock.advance(2000ms);
  EXPECT_EQ(b.port.writes.size(), 1u) << "the search is over";
  EXPECT_EQ(b.port.openPort(), 1);
  EXPECT_EQ(b.panel(2), "成功连接评估板于串口1");
}

TEST(BoardSearch, AnAcknowledgementIsNoAnswerToTheProbe) {
  WindowBench b;
  b.port.openable = {1, 2};
  b.window.Form_Load();
  b.clock.advance(200ms);
  b.port.receive(kAck);
  EXPECT_TRUE(b.window.isDetecting()) << "the next detection step goes on";
  EXPECT_EQ(b.panel(6), "");
  b.clock.advance(200ms);
  EXPECT_EQ(b.port.openPort(), 2);
}

TEST(BoardSearch, BoardOnPortTwo) {
  WindowBench b;
  b.port.openable = {1, 2};
  b.window.Form_Load();
  b.clock.advance(200ms);  // probe on port 1, unanswered
  EXPECT_EQ(probesSent(b.port), 1);
  b.clock.advance(200ms);  // port 2 opened
  EXPECT_EQ(b.port.openPort(), 2);
  EXPECT_EQ(b.link().PortNo(), 2);
  EXPECT_EQ(b.link().pendingRequest(), StPortOpened);
  EXPECT_EQ(probesSent(b.port), 1);
  b.clock.advance(200ms);  // probe on port 2
  EXPECT_EQ(probesSent(b.port), 2);
  b.port.receive(kProbeAnswer);
  EXPECT_EQ(b.panel(2), "成功连接评估板于串口2");
  EXPECT_EQ(b.panel(6), "2");
  b.clock.advance(1000ms);
  EXPECT_EQ(b.port.openPort(), 2);
  EXPECT_EQ(probesSent(b.port), 2);
}

TEST(BoardSearch, NoPortAtAll) {
  WindowBench b;
  b.port.openable = {};
  b.window.Form_Load();
  EXPECT_EQ(b.panel(2), "没有可用的串口.");
  EXPECT_FALSE(b.window.isDetecting());
  EXPECT_THAT(b.port.openAttempts, ElementsAre(1, 2, 3, 4));
  b.clock.advance(2000ms);
  EXPECT_EQ(b.panel(2), "没有可用的串口.");
  EXPECT_THAT(b.port.openAttempts, ElementsAre(1, 2, 3, 4));
}

TEST(BoardSearch, NoBoardOnFourPortsTickByTick) {
  WindowBench b;
  b.window.Form_Load();
  struct Step {
    int port;
    CmdStateCode state;
    int probes;
  };
  const Step steps[] = {{1, StProbe, 1},      {2, StPortOpened, 1}, {2, StProbe, 2},
                        {3, StPortOpened, 2}, {3, StProbe, 3},      {4, StPortOpened, 3},
                        {4, StProbe, 4}};
  int tick = 0;
  for (const Step& s : steps) {
    b.clock.advance(200ms);
    ++tick;
    EXPECT_EQ(b.link().PortNo(), s.port) << "tick " << tick;
    EXPECT_EQ(b.port.openPort(), s.port) << "tick " << tick;
    EXPECT_EQ(b.link().pendingRequest(), s.state) << "tick " << tick;
    EXPECT_EQ(probesSent(b.port), s.probes) << "tick " << tick;
    EXPECT_NE(b.panel(2), "没有探测到评估板.") << "tick " << tick;
  }
  b.clock.advance(200ms);  // eighth tick
  EXPECT_EQ(b.panel(2), "没有探测到评估板.");
  EXPECT_FALSE(b.window.isDetecting());
  EXPECT_EQ(b.port.openPort(), 4) << "the last port stays open";
  b.clock.advance(2000ms);
  EXPECT_EQ(probesSent(b.port), 4);
}

TEST(BoardSearch, PortThatFailsToOpenIsReportedAndTheNextOneIsTried) {
  WindowBench b;
  b.port.openable = {1, 3, 4};
  b.window.Form_Load();
  b.clock.advance(200ms);  // probe on 1
  b.clock.advance(200ms);  // port 2 fails
  EXPECT_EQ(b.panel(2), "无效的串口.");
  EXPECT_TRUE(b.window.isDetecting());
  b.clock.advance(200ms);  // port 3, not 4
  EXPECT_EQ(b.port.openPort(), 3);
  EXPECT_EQ(b.link().pendingRequest(), StPortOpened);
  b.clock.advance(200ms);
  EXPECT_EQ(probesSent(b.port), 2);
  b.port.receive(kProbeAnswer);
  EXPECT_EQ(b.panel(2), "成功连接评估板于串口3");
  EXPECT_EQ(b.panel(6), "3");
}

TEST(BoardSearch, OpeningThePortRestartsTheMainTimersPhase) {
  WindowBench b;
  b.clock.advance(150ms);
  b.window.Form_Load();
  b.clock.advance(199ms);  // the tick due at 200 ms has moved to 350 ms
  EXPECT_TRUE(b.port.writes.empty());
  b.clock.advance(1ms);
  EXPECT_THAT(b.port.writes, ElementsAre(kProbe));
}

TEST(BoardSearch, MainTimerShowsThePcTimeOnEveryTick) {
  WindowBench b;
  b.pc.time = "08:15:42";
  b.window.Form_Load();
  EXPECT_EQ(b.panel(8), "");
  b.clock.advance(200ms);
  EXPECT_EQ(b.panel(8), "08:15:42");
  b.pc.time = "08:15:43";
  b.clock.advance(199ms);
  EXPECT_EQ(b.panel(8), "08:15:42");
  b.clock.advance(1ms);
  EXPECT_EQ(b.panel(8), "08:15:43");
}

// --- Port dialog ---------------------------------------------------------------------------------

struct PortDialog : ::testing::Test {
  WindowBench b;
  void SetUp() override {
    b.window.Form_Load();
    b.clock.advance(8 * 200ms);  // the search gives up
    ASSERT_EQ(b.panel(2), "没有探测到评估板.");
    b.port.writes.clear();
  }
  ConnectDialog& dialog() { return *b.window.dialogHost().current<ConnectDialog>(); }
};

TEST_F(PortDialog, LoadSelectsThePortInUse) {
  b.window.menuClick("CONNECT");
  ASSERT_NE(b.window.dialogHost().current<ConnectDialog>(), nullptr);
  EXPECT_EQ(b.window.OpenSubForm(), 0);
  EXPECT_EQ(dialog().selectedPort(), 4);
  EXPECT_EQ(dialog().progressMax(), 50);
  EXPECT_FALSE(dialog().progressTimer().isEnabled());
  EXPECT_TRUE(b.port.writes.empty());
  b.link().setPortNo(5);
  b.window.menuClick("CONNECT");
  EXPECT_EQ(dialog().selectedPort(), 0) << "no option for a port outside 1 to 4";
}

TEST_F(PortDialog, ConnectProbesTheChosenPort) {
  b.window.menuClick("CONNECT");
  b.pickPort(3);
  b.clickConnect();
  EXPECT_EQ(b.link().PortNo(), 3);
  EXPECT_EQ(b.port.openPort(), 3);
  EXPECT_THAT(b.port.writes, ElementsAre(kProbe));
  EXPECT_EQ(b.link().pendingRequest(), StConnect);
  EXPECT_FALSE(b.window.link().awaitingReply());
  EXPECT_TRUE(dialog().progressTimer().isEnabled());
}

TEST_F(PortDialog, GivesUpOnceOnTheFiftyFirstTick) {
  b.window.menuClick("CONNECT");
  b.pickPort(3);
  b.clickConnect();
  b.port.receive({0x55});  // a stray byte, dropped by the give-up
  b.clock.advance(4900ms);
  EXPECT_EQ(dialog().progress(), 49);
  b.clock.advance(100ms);
  EXPECT_EQ(dialog().progress(), 50);
  EXPECT_TRUE(b.messageBoxes.shown.empty());
  b.clock.advance(100ms);
  ASSERT_EQ(b.messageBoxes.shown.size(), 1u);
  EXPECT_EQ(b.messageBoxes.shown[0].text,
            "不能连接到评估板，请检查串口、电缆、电源及评估板是否正确！");
  EXPECT_EQ(b.messageBoxes.shown[0].title, "警告");
  EXPECT_FALSE(b.messageBoxes.shown[0].question);
  EXPECT_EQ(dialog().ackCount(), 0);
  ASSERT_NE(b.window.dialogHost().current<ConnectDialog>(), nullptr) << "the dialog stays open";
  EXPECT_FALSE(dialog().progressTimer().isEnabled());
  EXPECT_EQ(b.port.openPort(), 3);
  b.clock.advance(20000ms);
  EXPECT_EQ(b.messageBoxes.shown.size(), 1u);
  b.clickConnect();  // a new attempt gives up once more
  b.clock.advance(5100ms);
  EXPECT_EQ(b.messageBoxes.shown.size(), 2u);
}

TEST_F(PortDialog, GiveUpDropsTheHalfAnswerSoALateAnswerStillConnects) {
  b.window.menuClick("CONNECT");
  b.pickPort(3);
  b.clickConnect();
  b.port.receive({0x55});
  b.clock.advance(5100ms);
  ASSERT_EQ(b.messageBoxes.shown.size(), 1u);
  b.port.receive(kProbeAnswer);
  EXPECT_EQ(b.panel(2), "成功连接评估板于串口3");
  EXPECT_EQ(b.window.dialogHost().current<ConnectDialog>(), nullptr);
}

TEST_F(PortDialog, AnswerClosesTheDialogAndShowsThePort) {
  b.window.menuClick("CONNECT");
  b.pickPort(2);
  b.clickConnect();
  b.clock.advance(300ms);
  b.port.receive(kProbeAnswer);
  EXPECT_EQ(b.panel(2), "成功连接评估板于串口2");
  EXPECT_EQ(b.panel(6), "2");
  EXPECT_EQ(b.window.dialogHost().current<ConnectDialog>(), nullptr);
  b.clock.advance(10000ms);
  EXPECT_TRUE(b.messageBoxes.shown.empty());
}

TEST_F(PortDialog, AnswerWhileTheWarningIsOpenClosesTheDialogSafely) {
  b.window.menuClick("CONNECT");
  b.clickConnect();
  b.messageBoxes.whileOpen = [&] { b.port.receive(kProbeAnswer); };
  b.clock.advance(5100ms);
  EXPECT_EQ(b.messageBoxes.shown.size(), 1u);
  EXPECT_EQ(b.window.dialogHost().current<ConnectDialog>(), nullptr);
  EXPECT_EQ(b.panel(2), "成功连接评估板于串口4");
  b.clock.advance(5000ms);
  EXPECT_EQ(b.messageBoxes.shown.size(), 1u);
}

TEST_F(PortDialog, PortThatFailsToOpenKeepsTheWorkingOne) {
  b.port.openable = {1, 2};
  b.window.menuClick("CONNECT");
  b.pickPort(2);
  b.clickConnect();
  b.port.receive(kProbeAnswer);
  b.port.writes.clear();
  b.port.lineLog.clear();
  b.window.menuClick("CONNECT");
  b.pickPort(3);
  b.clickConnect();
  EXPECT_EQ(b.panel(2), "无效的串口.");
  EXPECT_EQ(dialog().status(), "无效的串口.");
  EXPECT_EQ(b.link().PortNo(), 2);
  EXPECT_THAT(b.port.lineLog, ElementsAre("open 3 failed")) << "the board's port is never let go";
  EXPECT_TRUE(b.port.writes.empty());
  ASSERT_NE(b.window.dialogHost().current<ConnectDialog>(), nullptr);
  EXPECT_FALSE(dialog().progressTimer().isEnabled());
  b.clock.advance(10000ms);
  EXPECT_TRUE(b.messageBoxes.shown.empty());

  b.port.openable.insert(3);
  b.port.lineLog.clear();
  b.clickConnect();
  EXPECT_THAT(b.port.lineLog, ElementsAre("open 3", "close 2")) << "the old one goes last";
  EXPECT_EQ(b.link().PortNo(), 3);
  EXPECT_EQ(dialog().status(), "");
}

TEST_F(PortDialog, ARefusingReplyAlsoClosesTheDialog) {
  b.window.menuClick("CONNECT");
  b.pickPort(2);
  b.clickConnect();
  b.port.receive(kAck);
  EXPECT_EQ(b.panel(2), "未成功连接到评估板");
  EXPECT_EQ(b.panel(6), "") << "a refusal names no port";
  EXPECT_EQ(b.window.dialogHost().current<ConnectDialog>(), nullptr);
}

TEST_F(PortDialog, AGarbledReplyLeavesTheDialogWaiting) {
  b.window.menuClick("CONNECT");
  b.clickConnect();
  b.port.receive({0x56, 0x80, 0x00, 0xD6});
  EXPECT_EQ(b.panel(2), "无效的帧头");
  EXPECT_EQ(b.messageBoxes.beeps, 1);
  EXPECT_NE(b.window.dialogHost().current<ConnectDialog>(), nullptr);
}

// --- Response time-out ---------------------------------------------------------------------------

struct Timeout : ::testing::Test {
  WindowBench b;
  void SetUp() override { b.loadConnectedWith(MenuId::X1226); }
  int questions() const {
    int n = 0;
    for (const auto& s : b.messageBoxes.shown) n += s.question;
    return n;
  }
};

TEST_F(Timeout, WithNoAutomaticModeOnTheStatusBarSaysSoWithoutABox) {
  b.window.menuClick(MenuId::READTIME);
  b.port.receive({0x55, 0x80});
  b.clock.advance(1999ms);
  EXPECT_EQ(b.panel(2), "读时间...");
  b.clock.advance(1ms);
  EXPECT_TRUE(b.messageBoxes.shown.empty());
  EXPECT_EQ(b.panel(2), "接收超时错,评估板无应答");
  EXPECT_FALSE(b.window.link().awaitingReply());
  EXPECT_EQ(b.link().pendingRequest(), StReadTime);
  b.port.receive(dataReply({0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20}));
  EXPECT_EQ(b.panel(2), "接收超时错,评估板无应答") << "a reply after the time-out is late";
}

TEST_F(Timeout, YesStopsBothAutomaticModes) {
  b.window.autoReadTimeClicked(true);
  b.window.autoMonitorClicked(true);
  b.messageBoxes.answers = {true};
  b.clock.advance(2199ms);  // the first read went out on the tick at 400 ms
  EXPECT_EQ(questions(), 0);
  b.clock.advance(1ms);
  ASSERT_EQ(questions(), 1);
  EXPECT_EQ(b.messageBoxes.shown[0].text, "接收超时错,是否停止自动方式！");
  EXPECT_EQ(b.messageBoxes.shown[0].title, "出错");
  EXPECT_FALSE(b.controls().autoReadTime.checked);
  EXPECT_FALSE(b.controls().autoMonitor.checked);
  EXPECT_FALSE(b.window.monitorTimer().isEnabled());
  const auto sent = b.port.writes.size();
  b.clock.advance(5000ms);
  EXPECT_EQ(b.port.writes.size(), sent) << "neither time reads nor SR polls go on";
}

TEST_F(Timeout, MonitorAloneAlsoAsks) {
  b.window.autoMonitorClicked(true);
  b.messageBoxes.answers = {true};
  b.clock.advance(3000ms);  // first SR read at 1 s, time-out 2 s later
  ASSERT_EQ(questions(), 1);
  EXPECT_FALSE(b.controls().autoMonitor.checked);
  EXPECT_FALSE(b.window.monitorTimer().isEnabled());
}

TEST_F(Timeout, NoKeepsTheAutomaticModes) {
  b.window.autoReadTimeClicked(true);
  b.window.autoMonitorClicked(true);
  b.messageBoxes.answers = {false};
  b.clock.advance(2200ms);
  ASSERT_EQ(questions(), 1);
  EXPECT_TRUE(b.controls().autoReadTime.checked);
  EXPECT_TRUE(b.controls().autoMonitor.checked);
  EXPECT_TRUE(b.window.monitorTimer().isEnabled());
  const auto sent = b.port.writes.size();
  b.clock.advance(2000ms);  // the read on the line has its own time-out before the next goes
  EXPECT_GT(b.port.writes.size(), sent);
}

TEST_F(Timeout, AskedOncePerOutage) {
  b.window.autoReadTimeClicked(true);
  bool inside = false;
  b.messageBoxes.whileOpen = [&] {
    if (inside) return;
    inside = true;
    b.clock.advance(7000ms);  // the reads go on and time out again behind the question
    inside = false;
  };
  b.messageBoxes.answers = {false, false};
  b.clock.advance(2200ms);
  EXPECT_EQ(questions(), 1);
  b.messageBoxes.whileOpen = nullptr;
  b.clock.advance(60000ms);
  EXPECT_EQ(questions(), 1) << "after No, not asked again while the board stays silent";
  EXPECT_EQ(b.panel(2), "接收超时错,评估板无应答");
  EXPECT_TRUE(b.controls().autoReadTime.checked);

  // The board answers again; the next outage asks once more.
  b.clock.advance(200ms);
  b.port.receive(dataReply({0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20}));
  EXPECT_EQ(b.controls().timeLabel.caption, "09:05:30");
  b.clock.advance(2200ms);
  EXPECT_EQ(questions(), 2);
}

}  // namespace
}  // namespace rtceval::testing
