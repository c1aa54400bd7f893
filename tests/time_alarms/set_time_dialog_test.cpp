#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "fake_serial_port.h"
#include "main_window/main_window.h"
#include "main_window/sub_forms.h"
#include "scripted_dialogs.h"
#include "time_alarms/lenient_number.h"
#include "time_alarms/set_time_dialog.h"
#include "virtual_clock.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using testing::FakeSerialPort;
using testing::FixedPcClock;
using testing::ScriptedDialogs;
using testing::VirtualClock;
using Bytes = std::vector<std::uint8_t>;

TEST(LenientNumber, ReadsTheNumberATextBeginsWith) {
  EXPECT_DOUBLE_EQ(LenientNumber("2004"), 2004);
  EXPECT_DOUBLE_EQ(LenientNumber("  12.4"), 12.4);
  EXPECT_DOUBLE_EQ(LenientNumber("7abc"), 7);
  EXPECT_DOUBLE_EQ(LenientNumber("-3"), -3);
  EXPECT_DOUBLE_EQ(LenientNumber("+5"), 5);
  EXPECT_DOUBLE_EQ(LenientNumber(".5"), 0.5);
  EXPECT_DOUBLE_EQ(LenientNumber(""), 0);
  EXPECT_DOUBLE_EQ(LenientNumber("abc"), 0);
  EXPECT_DOUBLE_EQ(LenientNumber("-"), 0);
  EXPECT_DOUBLE_EQ(LenientNumber("1 2"), 1);
  EXPECT_GT(LenientNumber(std::string(400, '9')), 1e300);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(12.4), 12);
  EXPECT_EQ(RoundHalfEven(12.6), 13);
  EXPECT_EQ(RoundHalfEven(2099.5), 2100);
}

// The dialog opened from the main window's menu, with the write going out through the sequencer.
class SetTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.Form_Load();
    clock.advance(200ms);  // the board search probes port 1
    port.receive({0x55, 0x80, 0x00, 0xD5});
    ASSERT_FALSE(window.link().state().Detecting);
    port.writes.clear();
  }

  SetTimeDialog& open(MenuId model) {
    window.MenuClick(model);
    window.MenuClick(MenuId::SETTIME);
    SetTimeDialog* dialog = window.setTimeDialog();
    EXPECT_NE(dialog, nullptr);
    return *dialog;
  }

  void ok() {
    window.RunEvent([this] { window.setTimeDialog()->Command1_Click(); });
  }

  std::vector<std::string> messages() const {
    std::vector<std::string> texts;
    for (const auto& s : dialogs.shown) texts.push_back(s.text);
    return texts;
  }

  FakeSerialPort port;
  VirtualClock clock;
  ScriptedDialogs dialogs;
  FixedPcClock pcClock;
  MainWindow window{port, clock, dialogs, pcClock};
};

TEST_F(SetTimeTest, OpensWithItsDefaultsAndTheHalfOfDayOptionsOff) {
  SetTimeDialog& d = open(MenuId::X1226);
  EXPECT_EQ(window.OpenSubForm(), SubForm::frmTime);
  EXPECT_EQ(d.Text1, "2004");
  EXPECT_EQ(d.Text2, "5");
  EXPECT_EQ(d.Text3, "25");
  EXPECT_EQ(d.Text7, "2");
  EXPECT_EQ(d.Text4, "11");
  EXPECT_EQ(d.Text5, "59");
  EXPECT_EQ(d.Text6, "59");
  EXPECT_FALSE(d.MIL12);
  EXPECT_FALSE(d.OptionsEnabled);
  EXPECT_FALSE(d.PM);

  d.MIL12_Click(true);
  EXPECT_TRUE(d.OptionsEnabled);
  d.OpPM_Click();
  d.MIL12_Click(false);
  EXPECT_FALSE(d.OptionsEnabled);
  EXPECT_TRUE(d.PM) << "unticking 12-hour format keeps the selection";
}

TEST_F(SetTimeTest, DefaultsOnAnX1226GoOutAfterWelAndRwelFiftyMillisecondsApart) {
  open(MenuId::X1226);
  ok();
  EXPECT_EQ(window.setTimeDialog(), nullptr) << "a successful OK closes the dialog";
  EXPECT_TRUE(port.writes.empty()) << "the dialog itself sends nothing";

  clock.advance(50ms);
  ASSERT_EQ(port.writes.size(), 1u);
  EXPECT_EQ(port.writes[0], (Bytes{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x3F, 0x01, 0x02, 0x0D}));
  clock.advance(50ms);
  ASSERT_EQ(port.writes.size(), 2u);
  EXPECT_EQ(port.writes[1], (Bytes{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x3F, 0x01, 0x06, 0x11}));
  clock.advance(50ms);
  ASSERT_EQ(port.writes.size(), 3u);
  // 2004-05-25 11:59:59 in 24-hour format, weekday 2, century 20.
  const Bytes expected{0x55, 0x00, 0x0D, 0x01, 0x6F, 0x00, 0x30, 0x08, 0x59,
                       0x59, 0x91, 0x25, 0x05, 0x04, 0x02, 0x20, 0x00};
  Bytes withSum = expected;
  unsigned sum = 0;
  for (std::size_t i = 0; i + 1 < withSum.size(); ++i) sum += withSum[i];
  withSum.back() = static_cast<std::uint8_t>(sum);
  EXPECT_EQ(port.writes[2], withSum);
  EXPECT_EQ(window.controls().StatusBar1.panel(2), "设置时间...");

  clock.advance(500ms);
  EXPECT_EQ(port.writes.size(), 3u) << "the sequencer stops after the job";
}

TEST_F(SetTimeTest, OnAnX1209TheWriteCoversSevenRegistersAfterWrtc) {
  SetTimeDialog& d = open(MenuId::X1209);
  d.Text4 = "23";
  ok();
  clock.advance(100ms);
  ASSERT_EQ(port.writes.size(), 2u);
  EXPECT_EQ(port.writes[0], (Bytes{0x55, 0x00, 0x06, 0x01, 0x6F, 0xFF, 0x07, 0x01, 0x10, 0xE2}));
  const Bytes& w = port.writes[1];
  ASSERT_EQ(w.size(), 16u) << "12 payload bytes, no century";
  EXPECT_EQ(Bytes(w.begin(), w.begin() + 8),
            (Bytes{0x55, 0x00, 0x0C, 0x01, 0x6F, 0xFF, 0x00, 0x07}));
  EXPECT_EQ(Bytes(w.begin() + 8, w.end() - 1), (Bytes{0x59, 0x59, 0xA3, 0x25, 0x05, 0x04, 0x02}));
}

struct HourCase {
  bool twelveHour;
  bool pm;
  const char* hour;
  std::uint8_t expected;
};

class HourFlags : public SetTimeTest, public ::testing::WithParamInterface<HourCase> {};

TEST_P(HourFlags, TheHourByteCarriesItsFormatFlags) {
  const HourCase c = GetParam();
  SetTimeDialog& d = open(MenuId::X1226);
  d.Text4 = c.hour;
  d.MIL12_Click(c.twelveHour);
  if (c.pm) d.OpPM_Click();
  ok();
  EXPECT_EQ(window.records().NewTime.hour, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, HourFlags,
                         ::testing::Values(HourCase{true, true, "11", 0x31},
                                           HourCase{false, false, "23", 0xA3},
                                           HourCase{true, false, "11", 0x11},
                                           HourCase{false, false, "0", 0x80}));

struct FieldCase {
  const char* name;
  std::string SetTimeDialog::*field;
  const char* text;
  const char* message;  // nullptr: accepted
};

class FieldBounds : public SetTimeTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(FieldBounds, EachFieldIsCheckedAgainstItsBounds) {
  const FieldCase c = GetParam();
  SetTimeDialog& d = open(MenuId::X1226);
  d.*c.field = c.text;
  ok();
  if (c.message) {
    EXPECT_EQ(messages(), std::vector<std::string>{c.message});
    ASSERT_NE(window.setTimeDialog(), nullptr) << "the dialog stays open";
    EXPECT_EQ(window.setTimeDialog()->*c.field, c.text) << "the user's text is left as typed";
    clock.advance(1s);
    EXPECT_TRUE(port.writes.empty()) << "nothing is sent";
  } else {
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(window.setTimeDialog(), nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldBounds,
    ::testing::Values(FieldCase{"year1899_9", &SetTimeDialog::Text1, "1899.9", "无效的年份"},
                      FieldCase{"year2100_4", &SetTimeDialog::Text1, "2100.4", "无效的年份"},
                      FieldCase{"year2100", &SetTimeDialog::Text1, "2100", nullptr},
                      FieldCase{"yearText", &SetTimeDialog::Text1, "abc", "无效的年份"},
                      FieldCase{"month12_4", &SetTimeDialog::Text2, "12.4", nullptr},
                      FieldCase{"month12_6", &SetTimeDialog::Text2, "12.6", "无效的月份"},
                      FieldCase{"monthEmpty", &SetTimeDialog::Text2, "", nullptr},
                      FieldCase{"monthNegative", &SetTimeDialog::Text2, "-1", "无效的月份"},
                      FieldCase{"monthAlmostZero", &SetTimeDialog::Text2, "-0.4", nullptr},
                      FieldCase{"hour23_4", &SetTimeDialog::Text4, "23.4", nullptr},
                      FieldCase{"hour23_5", &SetTimeDialog::Text4, "23.5", "无效的小时"},
                      FieldCase{"date32", &SetTimeDialog::Text3, "32", "无效的日期"},
                      FieldCase{"hour24", &SetTimeDialog::Text4, "24", "无效的小时"},
                      FieldCase{"minute60", &SetTimeDialog::Text5, "60", "无效的分钟"},
                      FieldCase{"second60", &SetTimeDialog::Text6, "60", "无效的秒"},
                      FieldCase{"weekday7", &SetTimeDialog::Text7, "7", "无效的星期"},
                      FieldCase{"hugeSecond", &SetTimeDialog::Text6, "99999999999999999999999",
                                "无效的秒"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SetTimeTest, ValuesAreRoundedHalfToEvenAndConvertedToBcd) {
  SetTimeDialog& d = open(MenuId::X1226);
  d.Text1 = "2100";
  d.Text2 = "12.4";
  d.Text3 = "";
  d.Text4 = "0.5";
  d.Text5 = "1.5";
  d.Text6 = " 30";
  d.Text7 = "6";
  ok();
  const TimeRecord& t = window.records().NewTime;
  EXPECT_EQ(t.year, 0x2100);
  EXPECT_EQ(t.month, 0x12);
  EXPECT_EQ(t.date, 0x00);
  EXPECT_EQ(t.hour, 0x80) << "0.5 rounds to 0, plus the 24-hour flag";
  EXPECT_EQ(t.minute, 0x02);
  EXPECT_EQ(t.second, 0x30);
  EXPECT_EQ(t.weekday, 0x06);
}

TEST_F(SetTimeTest, AFailedFieldLeavesEarlierFieldsConvertedAndOnlyTheFirstFailureIsShown) {
  SetTimeDialog& d = open(MenuId::X1226);
  d.Text1 = "1999";
  d.Text2 = "13";
  d.Text6 = "75";
  ok();
  EXPECT_EQ(messages(), std::vector<std::string>{"无效的月份"});
  EXPECT_EQ(window.records().NewTime.year, 0x1999) << "the year passed and was stored";
  EXPECT_EQ(window.records().NewTime.month, 0x00) << "the month was not";
  EXPECT_FALSE(window.Timer4().isEnabled());
}

}  // namespace
}  // namespace rtceval
