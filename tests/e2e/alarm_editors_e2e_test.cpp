// The alarm editors against the virtual evaluation board, in-process on the virtual clock, as a
// user works with them: read the time, open the editor, set an alarm a few seconds ahead, tick
// "自动监测报警或事件", and watch the indicator light and the announcement appear when the chip's
// clock reaches the alarm.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "fake_desktop.h"
#include "main_window/indicators.h"
#include "main_window/main_window.h"
#include "scripted_message_boxes.h"
#include "sim/virtual_board_port.h"
#include "time_alarms/alarm_dialog.h"
#include "virtual_clock.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using sim::ChipModel;
using sim::VirtualBoardPort;
using testing::FixedPcClock;
using testing::ScriptedMessageBoxes;
using testing::VirtualClock;

// Alarm register addresses as the chip knows them, written out so a wrong constant is caught.
constexpr std::uint16_t kAlarm0SecondA = 0x00;
constexpr std::uint16_t kAlarm1SecondA = 0x08;
constexpr std::uint16_t kAlarm0SecondB = 0x0C;

// An announcement: its text, when it came (seconds after the monitor was ticked) and the
// indicators while its box was open.
struct Announcement {
  std::string text;
  int second;
  Rgb alarm0Lamp;
  Rgb alarm1Lamp;
};

struct AlarmLoopTest : ::testing::Test {
  void start(ChipModel chip, MenuId menu) {
    port = std::make_unique<VirtualBoardPort>(clock, clock, chip,
                                              sim::CivilTime{2026, 12, 8, 1, 2, 3});
    window = std::make_unique<MainWindow>(*port, clock, clock, messageBoxes, pcClock, desktop);
    window->Form_Load();
    clock.advance(250ms);
    window->menuClick(menu);
  }

  std::string panel(int n) const { return window->controls().statusBar.panel(n); }

  // 读时间, and the seconds the time label then shows.
  int readSeconds() {
    window->menuClick(MenuId::READTIME);
    clock.advance(50ms);
    const std::string shown = window->controls().timeLabel.caption;
    EXPECT_EQ(shown.size(), 8u) << shown;
    return std::stoi(shown.substr(6, 2));
  }

  // Opens the editor and lets its read be answered.
  AlarmDialog* openEditor(const char* item) {
    window->menuClick(item);
    clock.advance(50ms);
    return window->dialogHost().current<AlarmDialog>();
  }

  // Leaves only the given fields enabled, types their values, and presses 设置; the unlock steps
  // and the write go out 50 ms apart.
  void setOnly(std::vector<std::pair<AlarmDialog::Field, int>> values, const char* year = nullptr) {
    window->dialogHost().send<AlarmDialog>([&values, year](AlarmDialog& d) {
      if (year) d.yearText = year;
      for (std::size_t i = 0; i < AlarmDialog::FieldCount; ++i)
        d.enableClicked(static_cast<AlarmDialog::Field>(i), false);
      for (const auto& [field, value] : values) {
        d.enableClicked(field, true);
        d.fields[field].text = std::to_string(value);
      }
      d.setClicked();
    });
    clock.advance(200ms);
  }

  // Ticks the monitor and lets `seconds` pass, noting each announcement.
  std::vector<Announcement> monitor(int seconds) {
    std::vector<Announcement> seen;
    int elapsed = 0;
    messageBoxes.whileOpen = [&] {
      const auto& colours = window->controls().colours;
      seen.push_back(
          {messageBoxes.shown.back().text, elapsed, colours.alarm0Lamp, colours.alarm1Lamp});
    };
    window->autoMonitorClicked(true);
    for (elapsed = 1; elapsed <= seconds; ++elapsed) clock.advance(1s);
    return seen;
  }

  VirtualClock clock;
  ScriptedMessageBoxes messageBoxes;
  FixedPcClock pcClock;
  testing::FakeDesktop desktop;
  std::unique_ptr<VirtualBoardPort> port;
  std::unique_ptr<MainWindow> window;
};

TEST_F(AlarmLoopTest, AnX1226AlarmZeroOnItsSecondFiresOnceAndIsAnnounced) {
  start(ChipModel::X1226, MenuId::X1226);
  const int now = readSeconds();
  ASSERT_NE(openEditor("ALARM1"), nullptr);
  EXPECT_EQ(panel(2), "读AL0成功");
  const int alarm = (now + 5) % 60;
  // A chip fresh from power-up holds year 0000 in its alarm, which the editor refuses until a
  // year is typed.
  setOnly({{AlarmDialog::Second, alarm}});
  EXPECT_EQ(messageBoxes.shown.back().text, "无效的年份");
  EXPECT_EQ(panel(2), "读AL0成功") << "nothing was sent";
  setOnly({{AlarmDialog::Second, alarm}}, "2026");
  EXPECT_EQ(panel(2), "设置AL0成功");
  EXPECT_EQ(port->board().chip().peekRegister(kAlarm0SecondA),
            0x80 | (alarm / 10 * 16 + alarm % 10));
  EXPECT_NE(window->dialogHost().current<AlarmDialog>(), nullptr) << "the editor stays open";

  messageBoxes.shown.clear();
  const std::vector<Announcement> seen = monitor(15);
  ASSERT_EQ(seen.size(), 1u) << "reading SR clears the flag: one announcement";
  EXPECT_EQ(seen[0].text, "警报0发生");
  EXPECT_GE(seen[0].second, 5) << "not before the chip reached the second";
  EXPECT_LE(seen[0].second, 7);
  EXPECT_EQ(seen[0].alarm0Lamp, kAlarmLit);
  EXPECT_EQ(seen[0].alarm1Lamp, kAlarmUnlit);
  EXPECT_EQ(window->controls().colours.alarm0Lamp, kAlarmUnlit) << "dark again after the read";
}

TEST_F(AlarmLoopTest, AnX1228AlarmOneOnMinuteAndSecondFiresAndReadsBackAsSet) {
  start(ChipModel::X1228, MenuId::X1228);
  const int now = readSeconds();
  ASSERT_LT(now, 50);  // minute 2 of the power-up time still runs when the alarm comes
  ASSERT_NE(openEditor("ALARM2"), nullptr);
  EXPECT_EQ(panel(2), "读AL1成功");
  setOnly({{AlarmDialog::Minute, 2}, {AlarmDialog::Second, now + 4}}, "2026");
  EXPECT_EQ(panel(2), "设置AL1成功");
  EXPECT_EQ(port->board().chip().peekRegister(kAlarm1SecondA + 1), 0x82);

  // Opening the editor again shows the alarm as the chip holds it.
  AlarmDialog* d = openEditor("ALARM2");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->fields[AlarmDialog::Minute].text, "02");
  EXPECT_TRUE(d->fields[AlarmDialog::Minute].enabled);
  EXPECT_TRUE(d->fields[AlarmDialog::Second].enabled);
  EXPECT_FALSE(d->fields[AlarmDialog::Hour].enabled);
  EXPECT_FALSE(d->fields[AlarmDialog::Month].enabled);

  const std::vector<Announcement> seen = monitor(12);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "警报1发生");
  EXPECT_GE(seen[0].second, 3);
  EXPECT_EQ(seen[0].alarm1Lamp, kAlarmLit);
  EXPECT_EQ(seen[0].alarm0Lamp, kAlarmUnlit);
}

TEST_F(AlarmLoopTest, AnX1209AlarmZeroFiresAfterWrtcAndIsAnnouncedOnceWhileItsFlagStands) {
  start(ChipModel::X1209, MenuId::X1209);
  const int now = readSeconds();
  AlarmDialog* d = openEditor("ALARM1");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(panel(2), "读AL0成功");
  EXPECT_FALSE(d->yearEnabled);
  const int alarm = (now + 5) % 60;
  setOnly({{AlarmDialog::Second, alarm}});
  EXPECT_EQ(panel(2), "设置AL0成功");
  EXPECT_EQ(port->board().chip().peekRegister(kAlarm0SecondB),
            0x80 | (alarm / 10 * 16 + alarm % 10));

  // Without ARST the X1209 keeps ALM set after SR is read: announced once, the lamp stays lit.
  const std::vector<Announcement> seen = monitor(10);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_GE(seen[0].second, 5);
  EXPECT_LE(seen[0].second, 7);
  EXPECT_EQ(seen[0].text, "警报发生");
  EXPECT_EQ(seen[0].alarm0Lamp, kAlarmLit);
  EXPECT_EQ(window->controls().colours.alarm0Lamp, kAlarmLit);
}

}  // namespace
}  // namespace rtceval
