#include <gtest/gtest.h>

#include <ostream>

#include <chrono>
#include <vector>

#include "core/lenient_number.h"
#include "fake_desktop.h"
#include "fake_serial_port.h"
#include "main_window/main_window.h"
#include "scripted_message_boxes.h"
#include "time_alarms/set_time_dialog.h"
#include "virtual_clock.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using testing::FakeDesktop;
using testing::FakeSerialPort;
using testing::FixedPcClock;
using testing::ScriptedMessageBoxes;
using testing::VirtualClock;

TEST(LenientNumber, ReadsTheNumberATextBeginsWith) {
  EXPECT_DOUBLE_EQ(lenientNumber("2004"), 2004);
  EXPECT_DOUBLE_EQ(lenientNumber("  12.4"), 12.4);
  EXPECT_DOUBLE_EQ(lenientNumber("7abc"), 7);
  EXPECT_DOUBLE_EQ(lenientNumber("-3"), -3);
  EXPECT_DOUBLE_EQ(lenientNumber("+5"), 5);
  EXPECT_DOUBLE_EQ(lenientNumber(".5"), 0.5);
  EXPECT_DOUBLE_EQ(lenientNumber(""), 0);
  EXPECT_DOUBLE_EQ(lenientNumber("abc"), 0);
  EXPECT_DOUBLE_EQ(lenientNumber("-"), 0);
  EXPECT_DOUBLE_EQ(lenientNumber("1 2"), 1);
  EXPECT_GT(lenientNumber(std::string(400, '9')), 1e300);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(roundHalfEven(0.5), 0);
  EXPECT_EQ(roundHalfEven(1.5), 2);
  EXPECT_EQ(roundHalfEven(2.5), 2);
  EXPECT_EQ(roundHalfEven(12.4), 12);
  EXPECT_EQ(roundHalfEven(12.6), 13);
  EXPECT_EQ(roundHalfEven(2099.5), 2100);
}

// The dialog opened from the main window's menu, with the write going out through the sequencer.
struct SetTimeTest : ::testing::Test {
  void SetUp() override {
    window.Form_Load();
    clock.advance(200ms);  // the board search probes port 1
    port.receive({0x55, 0x80, 0x00, 0xD5});
    ASSERT_FALSE(window.isDetecting());
    port.writes.clear();
  }

  SetTimeDialog& open(MenuId model) {
    window.menuClick(model);
    window.menuClick("SETTIME");
    SetTimeDialog* dialog = window.dialogHost().current<SetTimeDialog>();
    EXPECT_NE(dialog, nullptr);
    return *dialog;
  }

  void ok() {
    window.events().run([this] { window.dialogHost().current<SetTimeDialog>()->okClicked(); });
  }

  std::vector<std::string> messages() const {
    std::vector<std::string> texts;
    for (const auto& s : messageBoxes.shown) texts.push_back(s.text);
    return texts;
  }

  FakeSerialPort port;
  VirtualClock clock;
  ScriptedMessageBoxes messageBoxes;
  FixedPcClock pcClock;
  FakeDesktop desktop;
  MainWindow window{port, clock, clock, messageBoxes, pcClock, desktop};
};

TEST_F(SetTimeTest, OpensWithItsDefaultsAndTheHalfOfDayOptionsOff) {
  SetTimeDialog& d = open(MenuId::X1226);
  EXPECT_EQ(window.OpenSubForm(), 1);
  EXPECT_EQ(d.yearText, "2004");
  EXPECT_EQ(d.monthText, "5");
  EXPECT_EQ(d.dateText, "25");
  EXPECT_EQ(d.weekdayText, "2");
  EXPECT_EQ(d.hourText, "11");
  EXPECT_EQ(d.minuteText, "59");
  EXPECT_EQ(d.secondText, "59");
  EXPECT_FALSE(d.twelveHour);
  EXPECT_FALSE(d.meridiemEnabled);
  EXPECT_FALSE(d.pm);

  d.twelveHourClicked(true);
  EXPECT_TRUE(d.meridiemEnabled);
  d.pmClicked();
  d.twelveHourClicked(false);
  EXPECT_FALSE(d.meridiemEnabled);
  EXPECT_TRUE(d.pm) << "unticking 12-hour format keeps the selection";
}

struct HourCase {
  bool twelveHour;
  bool pm;
  const char* hour;
  std::uint8_t expected;
};
void PrintTo(const HourCase& c, std::ostream* os) {
  *os << (c.twelveHour ? (c.pm ? "12-hour PM " : "12-hour AM ") : "24-hour ") << c.hour;
}

class HourFlags : public SetTimeTest, public ::testing::WithParamInterface<HourCase> {};

TEST_P(HourFlags, TheHourByteCarriesItsFormatFlags) {
  const HourCase c = GetParam();
  SetTimeDialog& d = open(MenuId::X1226);
  d.hourText = c.hour;
  d.twelveHourClicked(c.twelveHour);
  if (c.pm) d.pmClicked();
  ok();
  EXPECT_EQ(window.records().NewTime.hour, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, HourFlags,
                         ::testing::Values(HourCase{true, true, "11", 0x31},
                                           HourCase{false, false, "23", 0xA3},
                                           HourCase{true, false, "11", 0x11},
                                           HourCase{false, false, "0", 0x80}));

TEST_F(SetTimeTest, InTheTwelveHourFormatOnlyHoursOneToTwelveAreAccepted) {
  struct Case {
    const char* hour;
    bool accepted;
  };
  const Case cases[] = {{"0", false},  {"0.5", false}, {"1", true},
                        {"12", true},  {"11.5", true}, {"12.5", false},
                        {"13", false}, {"21", false},  {"", false}};
  for (const Case& c : cases) {
    SetTimeDialog& d = open(MenuId::X1226);
    d.twelveHourClicked(true);
    d.hourText = c.hour;
    messageBoxes.shown.clear();
    ok();
    if (c.accepted)
      EXPECT_TRUE(messageBoxes.shown.empty()) << c.hour;
    else
      EXPECT_EQ(messages(), std::vector<std::string>{"无效的小时"}) << c.hour;
    window.dialogHost().close();
  }
}

struct FieldCase {
  const char* name;
  std::string SetTimeDialog::*field;
  const char* text;
  const char* message;  // nullptr: accepted
};
void PrintTo(const FieldCase& c, std::ostream* os) {
  *os << c.name << " = \"" << c.text << '"';
}

class FieldBounds : public SetTimeTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(FieldBounds, EachFieldIsCheckedAgainstItsBounds) {
  const FieldCase c = GetParam();
  SetTimeDialog& d = open(MenuId::X1226);
  d.*c.field = c.text;
  ok();
  if (c.message) {
    EXPECT_EQ(messages(), std::vector<std::string>{c.message});
    ASSERT_NE(window.dialogHost().current<SetTimeDialog>(), nullptr) << "the dialog stays open";
    EXPECT_EQ(window.dialogHost().current<SetTimeDialog>()->*c.field, c.text)
        << "the user's text is left as typed";
    clock.advance(1s);
    EXPECT_TRUE(port.writes.empty()) << "nothing is sent";
  } else {
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(window.dialogHost().current<SetTimeDialog>(), nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldBounds,
    ::testing::Values(FieldCase{"year1899_9", &SetTimeDialog::yearText, "1899.9", "无效的年份"},
                      FieldCase{"year2100_4", &SetTimeDialog::yearText, "2100.4", "无效的年份"},
                      FieldCase{"year2100", &SetTimeDialog::yearText, "2100", nullptr},
                      FieldCase{"yearText", &SetTimeDialog::yearText, "abc", "无效的年份"},
                      FieldCase{"month11_5", &SetTimeDialog::monthText, "11.5", nullptr},
                      FieldCase{"month12_5", &SetTimeDialog::monthText, "12.5", "无效的月份"},
                      FieldCase{"monthEmpty", &SetTimeDialog::monthText, "", "无效的月份"},
                      FieldCase{"monthNegative", &SetTimeDialog::monthText, "-1", "无效的月份"},
                      FieldCase{"monthAlmostZero", &SetTimeDialog::monthText, "-0.4", "无效的月份"},
                      FieldCase{"month0", &SetTimeDialog::monthText, "0", "无效的月份"},
                      FieldCase{"month0_6", &SetTimeDialog::monthText, "0.6", "无效的月份"},
                      FieldCase{"month1", &SetTimeDialog::monthText, "1", nullptr},
                      FieldCase{"date0", &SetTimeDialog::dateText, "0", "无效的日期"},
                      FieldCase{"dateText", &SetTimeDialog::dateText, "x", "无效的日期"},
                      FieldCase{"date1", &SetTimeDialog::dateText, "1", nullptr},
                      FieldCase{"date31", &SetTimeDialog::dateText, "31", nullptr},
                      FieldCase{"hour0", &SetTimeDialog::hourText, "0", nullptr},
                      FieldCase{"minute0", &SetTimeDialog::minuteText, "0", nullptr},
                      FieldCase{"minuteNegative", &SetTimeDialog::minuteText, "-1", "无效的分钟"},
                      FieldCase{"second0", &SetTimeDialog::secondText, "0", nullptr},
                      FieldCase{"secondMinusHalf", &SetTimeDialog::secondText, "-0.5", "无效的秒"},
                      FieldCase{"secondNegative", &SetTimeDialog::secondText, "-1", "无效的秒"},
                      FieldCase{"weekdaySunday", &SetTimeDialog::weekdayText, "0", nullptr},
                      FieldCase{"weekdayNegative", &SetTimeDialog::weekdayText, "-1", "无效的星期"},
                      FieldCase{"hour22_5", &SetTimeDialog::hourText, "22.5", nullptr},
                      FieldCase{"hour23_5", &SetTimeDialog::hourText, "23.5", "无效的小时"},
                      FieldCase{"date32", &SetTimeDialog::dateText, "32", "无效的日期"},
                      FieldCase{"hour24", &SetTimeDialog::hourText, "24", "无效的小时"},
                      FieldCase{"minute60", &SetTimeDialog::minuteText, "60", "无效的分钟"},
                      FieldCase{"second60", &SetTimeDialog::secondText, "60", "无效的秒"},
                      FieldCase{"weekday6_5", &SetTimeDialog::weekdayText, "6.5", "无效的星期"},
                      FieldCase{"hugeSecond", &SetTimeDialog::secondText, "99999999999999999999999",
                                "无效的秒"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(SetTimeTest, ValuesAreRoundedHalfToEvenAndConvertedToBcd) {
  SetTimeDialog& d = open(MenuId::X1226);
  d.yearText = "2100";
  d.monthText = "11.5";
  d.dateText = "1.5";
  d.hourText = "0.5";
  d.minuteText = "1.5";
  d.secondText = " 30";
  d.weekdayText = "6";
  ok();
  const TimeRecord& t = window.records().NewTime;
  EXPECT_EQ(t.year, 0x2100);
  EXPECT_EQ(t.month, 0x12);
  EXPECT_EQ(t.date, 0x02);
  EXPECT_EQ(t.hour, 0x80) << "0.5 rounds to 0, plus the 24-hour flag";
  EXPECT_EQ(t.minute, 0x02);
  EXPECT_EQ(t.second, 0x30);
  EXPECT_EQ(t.weekday, 0x06);
}

TEST_F(SetTimeTest, AFailedFieldLeavesEarlierFieldsConvertedAndOnlyTheFirstFailureIsShown) {
  SetTimeDialog& d = open(MenuId::X1226);
  d.yearText = "1999";
  d.monthText = "13";
  d.secondText = "75";
  ok();
  EXPECT_EQ(messages(), std::vector<std::string>{"无效的月份"});
  EXPECT_EQ(window.records().NewTime.year, 0x1999) << "the year passed and was stored";
  EXPECT_EQ(window.records().NewTime.month, 0x00) << "the month was not";
  EXPECT_FALSE(window.writeTimer().isEnabled());
}

}  // namespace
}  // namespace rtceval
