// The whole program logic against the virtual evaluation board, in-process on the virtual clock:
// the board search finds it, the clock is set and read back, and an alarm flag lights.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "board_link/line_decoder.h"
#include "core/register_map.h"
#include "fake_desktop.h"
#include "main_window/main_window.h"
#include "scripted_message_boxes.h"
#include "sim/virtual_board_port.h"
#include "time_alarms/set_time_dialog.h"
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

const CivilTime kPowerUp{2026, 12, 8, 1, 2, 3};

struct VirtualBoardTest : ::testing::Test {
  void start(ChipModel chip, MenuId menu) {
    port = std::make_unique<VirtualBoardPort>(clock, clock, chip, kPowerUp);
    window = std::make_unique<MainWindow>(*port, clock, clock, messageBoxes, pcClock, desktop);
    window->Form_Load();
    clock.advance(250ms);  // open at load, probe on the first tick, answer within milliseconds
    window->menuClick(menu);
  }

  std::string panel(int n) const { return window->controls().statusBar.panel(n); }

  void setTime(const char* year, const char* month, const char* date, const char* weekday,
               const char* hour, const char* minute, const char* second) {
    window->menuClick("SETTIME");
    SetTimeDialog* d = window->dialogHost().current<SetTimeDialog>();
    ASSERT_NE(d, nullptr);
    d->yearText = year;
    d->monthText = month;
    d->dateText = date;
    d->weekdayText = weekday;
    d->hourText = hour;
    d->minuteText = minute;
    d->secondText = second;
    window->events().run([d] { d->okClicked(); });
    clock.advance(200ms);  // unlock steps and the write, 50 ms apart, and their replies
  }

  void readTime() {
    window->menuClick(MenuId::READTIME);
    clock.advance(50ms);
  }

  VirtualClock clock;
  ScriptedMessageBoxes messageBoxes;
  FixedPcClock pcClock;
  testing::FakeDesktop desktop;
  std::unique_ptr<VirtualBoardPort> port;
  std::unique_ptr<MainWindow> window;
};

TEST_F(VirtualBoardTest, TheBoardSearchFindsTheVirtualBoardOnPortOne) {
  start(ChipModel::X1226, MenuId::X1226);
  EXPECT_EQ(panel(2), "成功连接评估板于串口1");
  EXPECT_EQ(panel(6), "1");
  EXPECT_FALSE(window->isDetecting());
}

TEST_F(VirtualBoardTest, AnX1226TakesTheTimeSetAfterItsUnlockStepsAndReadsItBack) {
  start(ChipModel::X1226, MenuId::X1226);
  setTime("2004", "5", "20", "4", "9", "5", "30");
  EXPECT_EQ(panel(2), "设置时间成功");
  EXPECT_EQ(port->board().chip().time().hour, 0x89);
  EXPECT_EQ(port->board().chip().time().century, 0x20);

  readTime();
  EXPECT_EQ(panel(2), "读时间成功");
  EXPECT_EQ(window->controls().timeLabel.caption, "09:05:30");
  EXPECT_EQ(window->controls().dateLabel.caption, "2004年05月20日 星期四");
  EXPECT_FALSE(window->controls().amLabel.enabled);
  EXPECT_FALSE(window->controls().pmLabel.enabled);

  clock.advance(2s);
  readTime();
  EXPECT_EQ(window->controls().timeLabel.caption, "09:05:32")
      << "the chip counts on from the write";
}

TEST_F(VirtualBoardTest, AnX1209TakesTheTimeSetAfterWrtcAndReadsItBack) {
  start(ChipModel::X1209, MenuId::X1209);
  setTime("2099", "12", "31", "4", "11", "59", "58");
  EXPECT_EQ(panel(2), "设置时间成功");

  readTime();
  EXPECT_EQ(panel(2), "读时间成功");
  EXPECT_EQ(window->controls().timeLabel.caption, "11:59:58");
  EXPECT_EQ(window->controls().dateLabel.caption, "2099年12月31日 星期四");
}

TEST_F(VirtualBoardTest, TwelveHourPmTimeIsShownWithPmLit) {
  start(ChipModel::X1205, MenuId::X1205);
  window->menuClick("SETTIME");
  SetTimeDialog* d = window->dialogHost().current<SetTimeDialog>();
  ASSERT_NE(d, nullptr);
  d->hourText = "11";
  d->twelveHourClicked(true);
  d->pmClicked();
  window->events().run([d] { d->okClicked(); });
  clock.advance(200ms);
  readTime();
  EXPECT_EQ(window->controls().timeLabel.caption, "11:59:59");
  EXPECT_TRUE(window->controls().pmLabel.enabled);
  EXPECT_FALSE(window->controls().amLabel.enabled);
}

TEST_F(VirtualBoardTest, ATimeWriteWithoutTheUnlockStepsLeavesTheClockAlone) {
  start(ChipModel::X1226, MenuId::X1226);
  const auto before = port->board().chip().time();
  window->records().NewTime = TimeRecord{0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x2004};
  window->events().run([this] { window->commands().CmdWriteTime(); });
  clock.advance(50ms);
  EXPECT_EQ(panel(2), "评估板写器件错");
  EXPECT_EQ(port->board().chip().time().year, before.year);
  EXPECT_EQ(port->board().chip().time().hour, before.hour);
}

TEST_F(VirtualBoardTest, AnX1209DiscardsATimeWriteWithoutWrtc) {
  start(ChipModel::X1209, MenuId::X1209);
  window->records().NewTime = TimeRecord{0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x2004};
  window->events().run([this] { window->commands().CmdWriteTime(); });
  clock.advance(50ms);
  EXPECT_EQ(panel(2), "设置时间成功") << "the chip acknowledges and discards";
  readTime();
  EXPECT_EQ(window->controls().dateLabel.caption, "2026年12月08日 星期二");
}

TEST_F(VirtualBoardTest, AnAlarmZeroMatchLightsItsIndicatorAndIsAnnounced) {
  start(ChipModel::X1226, MenuId::X1226);
  setTime("2004", "5", "20", "4", "9", "5", "30");
  // Alarm 0 on second 33 only: bit 7 enables a field.
  window->records().Alarm0Regs = TimeRecord{0x80 | 0x33, 0, 0, 0, 0, 0, 0};
  window->events().run([this] { window->sequencer().start(StWriteAL0); });
  clock.advance(200ms);
  EXPECT_EQ(panel(2), "设置AL0成功");

  window->autoMonitorClicked(true);
  for (int i = 0; i < 4 && messageBoxes.shown.empty(); ++i) clock.advance(1s);
  ASSERT_FALSE(messageBoxes.shown.empty());
  EXPECT_EQ(messageBoxes.shown.front().text, "警报0发生");
  EXPECT_EQ(window->controls().colours.alarm0Lamp, kAlarmLit);
  EXPECT_EQ(window->controls().colours.alarm1Lamp, kAlarmUnlit);

  // Reading SR clears the flag on the chip; the next poll darkens the indicator again.
  clock.advance(1s);
  EXPECT_EQ(window->controls().colours.alarm0Lamp, kAlarmUnlit);
}

TEST_F(VirtualBoardTest, AnX1209EventIsAnnouncedBeforeItsAlarm) {
  start(ChipModel::X1209, MenuId::X1209);
  window->autoMonitorClicked(true);
  clock.advance(1s);  // first poll: RTCF only
  ASSERT_TRUE(port->board().chip().raiseEvent());
  clock.advance(1s);  // the poll sees EVT and lights the indicator
  EXPECT_EQ(window->controls().colours.eventLamp, kAlarmLit);
  clock.advance(1s);  // and the next tick announces it
  ASSERT_FALSE(messageBoxes.shown.empty());
  EXPECT_EQ(messageBoxes.shown.front().text, "事件发生");
}

TEST_F(VirtualBoardTest, ALostReplyEndsInTheTimeOutQuestionWhenReadingAutomatically) {
  start(ChipModel::X1226, MenuId::X1226);
  port->board().faults().set(sim::ReplyFault::Stall);
  messageBoxes.answers = {true};
  window->autoReadTimeClicked(true);
  clock.advance(2300ms);
  ASSERT_EQ(messageBoxes.shown.size(), 1u);
  EXPECT_EQ(messageBoxes.shown[0].text, "接收超时错,是否停止自动方式！");
  EXPECT_FALSE(window->controls().autoReadTime.checked);
}

TEST_F(VirtualBoardTest, ThroughARelayThatDelaysRepliesEveryReplyIsReadUnderItsOwnRequest) {
  start(ChipModel::X1226, MenuId::X1226);
  port->board().faults().setDelayMs(40);
  // The line as the line monitor puts it into words: a reply read under the wrong request says
  // "数据8字节，请求的是1字节".
  LineDecoder decoder(window->profile());
  int mismatches = 0;
  int late = 0;
  window->link().addFrameObserver([&](const LineFrame& f) {
    if (f.kind == LineFrame::Kind::Late) ++late;
    if (decoder.meaning(f).find("请求的是") != std::string::npos) ++mismatches;
  });
  window->autoReadTimeClicked(true);
  window->autoMonitorClicked(true);
  std::vector<std::string> shown;
  for (int s = 0; s < 60; ++s) {
    clock.advance(1000ms);
    shown.push_back(window->controls().timeLabel.caption);
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(late, 0) << "a reply 40 ms late is no late reply: its request waited for it";
  for (std::size_t i = 1; i < shown.size(); ++i)
    EXPECT_NE(shown[i], shown[i - 1]) << "the time shown moves on every second: " << shown[i];
  EXPECT_TRUE(messageBoxes.shown.empty());
}

}  // namespace
}  // namespace rtceval
