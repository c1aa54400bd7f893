// BCD and hex conversions and the decoding of a time reply into the clock display.

#include <gtest/gtest.h>

#include <ostream>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "core/value_codecs.h"

namespace rtceval {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(HexByte, TwoUpperCaseDigitsWithLeadingZero) {
  const std::vector<std::pair<std::uint8_t, std::string>> cases{
      {0x00, "00"}, {0x05, "05"}, {0x09, "09"}, {0x3A, "3A"},
      {0x59, "59"}, {0xA5, "A5"}, {0xF0, "F0"}, {0xFF, "FF"}};
  for (const auto& [b, text] : cases) EXPECT_EQ(HexByte(b), text) << int(b);
}

TEST(HexNumber, TheLowDigitsUpperCaseWithLeadingZeros) {
  const std::vector<std::tuple<std::uint32_t, int, std::string>> cases{
      {0x0010, 4, "0010"},  {0x1FF, 4, "01FF"}, {0xABCD, 4, "ABCD"},
      {0x12345, 4, "2345"}, {0x0A, 1, "A"},     {0x7, 0, ""}};
  for (const auto& [value, digits, text] : cases)
    EXPECT_EQ(hexNumber(value, digits), text) << value << " " << digits;
}

TEST(BcdByte, TensHighUnitsLow) {
  const std::vector<std::pair<int, std::uint8_t>> cases{{0, 0x00},  {7, 0x07},  {9, 0x09},
                                                        {10, 0x10}, {59, 0x59}, {99, 0x99}};
  for (const auto& [v, bcd] : cases) EXPECT_EQ(BcdByte(v), bcd) << v;
}

TEST(BcdYear, CenturyHighYearLow) {
  const std::vector<std::pair<int, std::uint16_t>> cases{
      {1900, 0x1900}, {1999, 0x1999}, {2004, 0x2004}, {2015, 0x2015}, {2100, 0x2100}};
  for (const auto& [y, bcd] : cases) EXPECT_EQ(BcdYear(y), bcd) << y;
}

TEST(DecodeTime, TwentyFourHourReply) {
  const DecodedTime t = decodeTime(Bytes{0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20});
  EXPECT_EQ(t.display.timeText, "09:05:30");
  EXPECT_EQ(t.display.dateText, "2004年05月20日 星期四");
  EXPECT_FALSE(t.display.amEnabled);
  EXPECT_FALSE(t.display.pmEnabled);
  EXPECT_TRUE(t.is24Hour);
  EXPECT_EQ(t.time.hour, 0x09) << "the flag bits are removed";
  EXPECT_EQ(t.time.second, 0x30);
  EXPECT_EQ(t.time.minute, 0x05);
  EXPECT_EQ(t.time.date, 0x20);
  EXPECT_EQ(t.time.month, 0x05);
  EXPECT_EQ(t.time.year, 0x04);
  EXPECT_EQ(t.time.weekday, 0x04);
  EXPECT_EQ(t.time.century, 0x20);
}

struct HourCase {
  std::uint8_t hourByte;
  const char* timeText;
  bool is24;
  bool am;
  bool pm;
  std::uint8_t hour;
};
void PrintTo(const HourCase& c, std::ostream* os) {
  *os << "hour byte " << int(c.hourByte);
}

class DecodeTimeHour : public ::testing::TestWithParam<HourCase> {};

TEST_P(DecodeTimeHour, FlagsDecideTheHalfOfTheDay) {
  const HourCase& c = GetParam();
  const DecodedTime t = decodeTime(Bytes{0x00, 0x00, c.hourByte, 0x01, 0x01, 0x00, 0x00, 0x20});
  EXPECT_EQ(t.display.timeText, c.timeText);
  EXPECT_EQ(t.is24Hour, c.is24);
  EXPECT_EQ(t.display.amEnabled, c.am);
  EXPECT_EQ(t.display.pmEnabled, c.pm);
  EXPECT_EQ(t.time.hour, c.hour);
}

INSTANTIATE_TEST_SUITE_P(
    Hours, DecodeTimeHour,
    ::testing::Values(HourCase{0x32, "12:00:00", false, false, true, 0x12},  // 12 PM
                      HourCase{0x12, "12:00:00", false, true, false, 0x12},  // 12 AM
                      HourCase{0x21, "01:00:00", false, false, true, 0x01},  // 1 PM
                      HourCase{0x11, "11:00:00", false, true, false, 0x11},  // 11 AM
                      HourCase{0xA3, "23:00:00", true, false, false, 0x23},  // bit 5 is a digit
                      HourCase{0x80, "00:00:00", true, false, false, 0x00},
                      HourCase{0xC5, "05:00:00", true, false, false, 0x05},    // bit 6 dropped
                      HourCase{0x52, "12:00:00", false, true, false, 0x12}));  // bits 6 dropped

TEST(DecodeTime, CenturiesOutside19To21ReadAs20) {
  const std::vector<std::pair<std::uint8_t, std::string>> cases{
      {0x00, "2099年12月31日 星期六"}, {0x21, "2199年12月31日 星期六"},
      {0x22, "2099年12月31日 星期六"}, {0x19, "1999年12月31日 星期六"},
      {0x20, "2099年12月31日 星期六"}, {0x99, "2099年12月31日 星期六"}};
  for (const auto& [century, date] : cases) {
    const DecodedTime t = decodeTime(Bytes{0x59, 0x59, 0x23, 0x31, 0x12, 0x99, 0x06, century});
    EXPECT_EQ(t.display.dateText, date) << int(century);
  }
}

TEST(DecodeTime, SevenByteReplyIsInThe2000s) {
  const DecodedTime t = decodeTime(Bytes{0x00, 0x00, 0x80, 0x01, 0x01, 0x08, 0x02});
  EXPECT_EQ(t.display.dateText, "2008年01月01日 星期二");
  EXPECT_EQ(t.time.century, 0x20);
}

TEST(DecodeTime, WeekdayNamesSundayToSaturday) {
  const char* names[] = {"日", "一", "二", "三", "四", "五", "六"};
  for (std::uint8_t wd = 0; wd < 7; ++wd) {
    const DecodedTime t = decodeTime(Bytes{0, 0, 0x80, 0x01, 0x01, 0x05, wd, 0x20});
    EXPECT_EQ(t.display.dateText, std::string("2005年01月01日 星期") + names[wd]) << int(wd);
  }
}

TEST(DecodeTime, WeekdayOutOfRangeLeavesTheNameOff) {
  for (std::uint8_t wd : Bytes{0x07, 0x08, 0x0F, 0xFF}) {
    const DecodedTime t = decodeTime(Bytes{0, 0, 0x80, 0x01, 0x01, 0x05, wd, 0x20});
    EXPECT_EQ(t.display.dateText, "2005年01月01日 星期") << int(wd);
  }
}

TEST(DecodeTime, NonBcdBytesShowAsTheirHexDigits) {
  const DecodedTime t = decodeTime(Bytes{0x3A, 0x7F, 0x9B, 0x4C, 0x1D, 0xAE, 0x01, 0x20});
  EXPECT_EQ(t.display.timeText, "1B:7F:3A");
  EXPECT_EQ(t.display.dateText, "20AE年1D月4C日 星期一");
}

}  // namespace
}  // namespace rtceval
