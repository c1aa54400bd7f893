// The alarm editors on the fake port and the virtual clock: the read they send on opening, the
// boxes a read reply fills, the checks of 设置 and the frames the write sequencer then sends.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "time_alarms/alarm_dialog.h"
#include "window_bench.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::dataReply;
using testing::WindowBench;

const Bytes kReadAl0{0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x00, 0x08, 0xD1};
const Bytes kReadAl1{0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x08, 0x08, 0xD9};
const Bytes kReadAl0X1209{0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x0C, 0x06, 0xDA};

struct AlarmBench : WindowBench {
  explicit AlarmBench(MenuId model) { loadConnectedWith(model); }

  // An alarm read back as the dialogs open with it: 11:00:05 on 2004-05-25, weekday 2, the 12-hour
  // AM hour, every field enabled; six bytes on the X1208 family.
  static Bytes defaultsRead(bool x1208Family = false) {
    if (x1208Family) return dataReply({0x85, 0x80, 0x91, 0xA5, 0x85, 0x82});
    return dataReply({0x85, 0x80, 0x91, 0xA5, 0x85, 0x04, 0x82, 0x20});
  }

  // The chip's clock as read by the main window, in 24-hour format or not.
  void readTime(bool twentyFourHour) {
    const std::uint8_t hour = twentyFourHour ? 0x80 | 0x09 : 0x09;
    Bytes time{0x00, 0x00, hour, 0x01, 0x01, 0x26, 0x02, 0x20};
    if (window.profile().Is1208Family) time.pop_back();  // no century
    replyTo(StReadTime, dataReply(time));
  }
  AlarmDialog* open(const char* item) {
    window.menuClick(item);
    return window.dialogHost().current<AlarmDialog>();
  }
  void set() {
    window.dialogHost().send<AlarmDialog>([](AlarmDialog& d) { d.setClicked(); });
  }
  void edit(void (*change)(AlarmDialog&)) { window.dialogHost().send<AlarmDialog>(change); }
  // The frames sent from now on.
  std::vector<Bytes> sentAfter(std::chrono::milliseconds time) {
    port.writes.clear();
    clock.advance(time);
    return port.writes;
  }
};

TEST(AlarmEditor, OpeningReadsTheAlarmOfTheChipAndTakesTheHourFormatFromIt) {
  struct Case {
    MenuId model;
    const char* item;
    int subForm;
    Bytes read;
    const char* pending;
    bool yearEnabled;
  };
  const Case cases[] = {
      {MenuId::X1226, "ALARM1", 4, kReadAl0, "读AL0", true},
      {MenuId::X1228, "ALARM2", 5, kReadAl1, "读AL1", true},
      {MenuId::X1209, "ALARM1", 4, kReadAl0X1209, "读AL0", false},
  };
  for (const Case& c : cases) {
    AlarmBench bench(c.model);
    AlarmDialog* d = bench.open(c.item);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(bench.window.OpenSubForm(), c.subForm);
    EXPECT_EQ(bench.port.writes, std::vector<Bytes>{c.read});
    EXPECT_EQ(bench.panel(2), c.pending);
    EXPECT_TRUE(bench.link().awaitingReply());
    EXPECT_EQ(d->yearEnabled, c.yearEnabled);
    // No time read yet: the chip counts as in the 12-hour format.
    EXPECT_TRUE(d->twelveHour);
    EXPECT_TRUE(d->meridiemEnabled);
  }
}

TEST(AlarmEditor, AReplyInTheTwentyFourHourFormatFillsTheBoxesAndTicksTheEnabledFields) {
  AlarmBench bench(MenuId::X1226);
  bench.readTime(true);
  AlarmDialog* d = bench.open("ALARM1");
  EXPECT_FALSE(d->meridiemEnabled) << "the chip's format as read before opening";
  // second 05 on, minute 30 off, hour 23 on, date 15 on, month 05 off, year 2004, weekday 3 on.
  bench.port.receive(dataReply({0x85, 0x30, 0xA3, 0x95, 0x05, 0x04, 0x83, 0x20}));
  EXPECT_EQ(bench.panel(2), "读AL0成功");
  EXPECT_EQ(d->yearText, "2004");
  const char* texts[] = {"05", "15", "03", "23", "30", "05"};
  const bool ticked[] = {false, true, true, true, false, true};
  for (std::size_t i = 0; i < AlarmDialog::FieldCount; ++i) {
    EXPECT_EQ(d->fields[i].text, texts[i]) << i;
    EXPECT_EQ(d->fields[i].enabled, ticked[i]) << i;
  }
  EXPECT_FALSE(d->twelveHour);
  EXPECT_FALSE(d->twelveHourEnabled);
  EXPECT_FALSE(d->meridiemEnabled);
  // The record keeps the values without their flags.
  const TimeRecord& r = bench.window.records().Alarm0Regs;
  EXPECT_EQ((Bytes{r.second, r.minute, r.hour, r.date, r.month, r.weekday}),
            (Bytes{0x05, 0x30, 0x23, 0x15, 0x05, 0x03}));
  EXPECT_EQ(r.year, 0x2004);
}

TEST(AlarmEditor, InTheTwelveHourFormatBitFiveOfTheHourSelectsPm) {
  AlarmBench bench(MenuId::X1228);
  AlarmDialog* d = bench.open("ALARM2");
  bench.port.receive(dataReply({0x00, 0x00, 0xB1, 0x01, 0x81, 0x99, 0x00, 0x19}));
  EXPECT_EQ(bench.panel(2), "读AL1成功");
  EXPECT_EQ(d->fields[AlarmDialog::Hour].text, "11");
  EXPECT_TRUE(d->fields[AlarmDialog::Hour].enabled);
  EXPECT_TRUE(d->twelveHour);
  EXPECT_TRUE(d->pm);
  EXPECT_EQ(d->yearText, "1999");
  EXPECT_EQ(bench.window.records().Alarm1Regs.hour, 0x11);
}

TEST(AlarmEditor, TheSixByteReplyOfAnX1209LeavesTheYearBoxAsItIs) {
  AlarmBench bench(MenuId::X1209);
  bench.readTime(true);
  AlarmDialog* d = bench.open("ALARM1");
  d->yearText = "2050";
  bench.port.receive(dataReply({0x80, 0x00, 0x00, 0x00, 0x00, 0x86}));
  EXPECT_EQ(bench.panel(2), "读AL0成功");
  EXPECT_EQ(d->yearText, "2050");
  EXPECT_FALSE(d->yearEnabled);
  EXPECT_EQ(d->fields[AlarmDialog::Weekday].text, "06") << "the weekday is the sixth byte";
  EXPECT_TRUE(d->fields[AlarmDialog::Weekday].enabled);
  EXPECT_EQ(d->fields[AlarmDialog::Second].text, "00");
  EXPECT_TRUE(d->fields[AlarmDialog::Second].enabled);
  EXPECT_FALSE(d->fields[AlarmDialog::Month].enabled);
  EXPECT_EQ(bench.window.records().Alarm0Regs.year, 0x26) << "the year byte of the chip's clock";
}

TEST(AlarmEditor, AReplyOfTheWrongLengthChangesNeitherTheRecordNorTheBoxes) {
  AlarmBench bench(MenuId::X1226);
  AlarmDialog* d = bench.open("ALARM1");
  bench.window.records().Alarm0Regs.second = 0x42;
  bench.port.receive(dataReply({0x85, 0x30, 0xA3, 0x95, 0x05, 0x04}));
  EXPECT_EQ(bench.panel(2), "读AL0失败");
  EXPECT_EQ(d->fields[AlarmDialog::Second].text, "05");
  EXPECT_TRUE(d->fields[AlarmDialog::Month].enabled);
  EXPECT_EQ(bench.window.records().Alarm0Regs.second, 0x42);
}

TEST(AlarmEditor, AReplyThatArrivesAfterTheDialogClosedReachesNoDialog) {
  AlarmBench bench(MenuId::X1226);
  bench.open("ALARM1");
  // Alarm 1 opens while the read of alarm 0 is still on the line; its own read waits for it.
  AlarmDialog* d = bench.open("ALARM2");
  ASSERT_EQ(bench.port.writes.size(), 1u);
  bench.port.receive(dataReply({0x80, 0x80, 0x80, 0x80, 0x80, 0x99, 0x80, 0x19}));
  EXPECT_EQ(bench.panel(2), "读AL1") << "the alarm-1 read went out after it";
  EXPECT_EQ(d->yearText, "2004");
  EXPECT_EQ(d->fields[AlarmDialog::Second].text, "05");
  ASSERT_EQ(bench.port.writes.size(), 2u);
  EXPECT_EQ(bench.port.writes[1], kReadAl1);

  bench.window.dialogHost().close();
  bench.port.receive(dataReply({0x80, 0x80, 0x80, 0x80, 0x80, 0x99, 0x80, 0x19}));
  EXPECT_EQ(bench.panel(2), "读AL1成功");
  EXPECT_EQ(bench.window.dialogHost().current(), nullptr);
}

TEST(AlarmEditor, SetChecksTheFieldsInItsOwnOrderWithTheWeekdayFourth) {
  struct Case {
    void (*type)(AlarmDialog&);
    const char* message;
  };
  const Case cases[] = {
      {[](AlarmDialog& d) { d.yearText = "1899.9"; }, "无效的年份"},
      {[](AlarmDialog& d) { d.fields[AlarmDialog::Month].text = "12.5"; }, "无效的月份"},
      {[](AlarmDialog& d) { d.fields[AlarmDialog::Month].text = "-0.4"; }, "无效的月份"},
      {[](AlarmDialog& d) { d.fields[AlarmDialog::Date].text = "32"; }, "无效的日期"},
      {[](AlarmDialog& d) { d.fields[AlarmDialog::Weekday].text = "7"; }, "无效的星期"},
      {[](AlarmDialog& d) { d.fields[AlarmDialog::Hour].text = "23.5"; }, "无效的小时"},
      {[](AlarmDialog& d) { d.fields[AlarmDialog::Minute].text = "60"; }, "无效的分钟"},
      {[](AlarmDialog& d) { d.fields[AlarmDialog::Second].text = std::string(40, '9'); },
       "无效的秒"},
      // A disabled field is checked all the same.
      {[](AlarmDialog& d) {
         d.enableClicked(AlarmDialog::Month, false);
         d.fields[AlarmDialog::Month].text = "13";
       },
       "无效的月份"},
      // Only the first failure is shown: the weekday comes before the hour.
      {[](AlarmDialog& d) {
         d.fields[AlarmDialog::Hour].text = "24";
         d.fields[AlarmDialog::Weekday].text = "9";
       },
       "无效的星期"},
  };
  for (const Case& c : cases) {
    AlarmBench bench(MenuId::X1226);
    bench.open("ALARM1");
    bench.port.receive(dataReply({0, 0, 0, 0, 0, 0, 0, 0x20}));
    bench.edit(c.type);
    bench.set();
    EXPECT_EQ(bench.shownTexts(), std::vector<std::string>{c.message});
    EXPECT_NE(bench.window.dialogHost().current<AlarmDialog>(), nullptr);
    EXPECT_TRUE(bench.sentAfter(1s).empty()) << c.message << ": nothing is sent";
  }
}

TEST(AlarmEditor, AFailedCheckLeavesTheFieldsBeforeItConverted) {
  AlarmBench bench(MenuId::X1226);
  AlarmDialog* d = bench.open("ALARM1");
  bench.port.receive(dataReply({0x11, 0x22, 0x03, 0x04, 0x05, 0x06, 0x00, 0x20}));
  d->yearText = "2031";
  d->fields[AlarmDialog::Month].text = "0";
  d->fields[AlarmDialog::Date].text = "";
  d->fields[AlarmDialog::Hour].text = "77";
  bench.set();
  const TimeRecord& r = bench.window.records().Alarm0Regs;
  EXPECT_EQ(r.year, 0x2031);
  EXPECT_EQ(r.month, 0x00);
  EXPECT_EQ(r.date, 0x00) << "an empty date reads 0 and passes";
  EXPECT_EQ(r.hour, 0x03) << "the hour and what follows keep the values read";
  EXPECT_EQ(r.second, 0x11);
}

TEST(AlarmEditor, TheEnableAndPmFlagsFollowTheBoxesAndTheChipsFormat) {
  struct Case {
    bool twentyFourHour;
    bool pm;
    bool hourEnabled;
    const char* hour;
    std::uint8_t expected;
  };
  const Case cases[] = {
      {false, true, true, "15", 0xB5},   // 12-hour 15 PM, enabled: kept, flagged both ways
      {false, true, false, "15", 0x35},  // not enabled
      {false, false, true, "11", 0x91},  // AM
      {true, true, true, "09", 0x89},    // 24-hour: PM never applies (09 has no bit 5 of its own)
      {false, true, true, "0.5", 0xA0},  // half to even
  };
  for (const Case& c : cases) {
    AlarmBench bench(MenuId::X1226);
    bench.readTime(c.twentyFourHour);
    AlarmDialog* d = bench.open("ALARM1");
    bench.port.receive(
        dataReply({0, 0, static_cast<std::uint8_t>(c.pm ? 0x20 : 0), 0, 0, 0, 0, 0x20}));
    ASSERT_EQ(d->pm, c.pm && !c.twentyFourHour);
    d->pm = c.pm;  // as selected before the chip's format changed
    d->fields[AlarmDialog::Hour].text = c.hour;
    d->enableClicked(AlarmDialog::Hour, c.hourEnabled);
    bench.set();
    EXPECT_EQ(bench.window.records().Alarm0Regs.hour, c.expected) << c.hour;
  }
}

TEST(AlarmEditor, AnAlarmWithoutAYearOnAnX1209StillChecksTheYear) {
  AlarmBench bench(MenuId::X1209);
  AlarmDialog* d = bench.open("ALARM1");
  bench.port.receive(AlarmBench::defaultsRead(true));
  d->yearText = "1850";
  bench.set();
  EXPECT_EQ(bench.shownTexts(), std::vector<std::string>{"无效的年份"});
  EXPECT_TRUE(bench.sentAfter(500ms).empty());
}

}  // namespace
}  // namespace rtceval
