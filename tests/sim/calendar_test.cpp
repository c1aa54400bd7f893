#include <gtest/gtest.h>

#include <ostream>

#include "sim/chip/bcd_calendar.h"
#include "sim/civil_time.h"

namespace rtceval::sim {
namespace {

ClockFields at(std::uint8_t century, std::uint8_t year, std::uint8_t month, std::uint8_t date,
               std::uint8_t hour, std::uint8_t minute, std::uint8_t second,
               std::uint8_t weekday = 0) {
  ClockFields c;
  c.century = century;
  c.year = year;
  c.month = month;
  c.date = date;
  c.hour = hour;
  c.minute = minute;
  c.second = second;
  c.weekday = weekday;
  return c;
}

ClockFields afterOneSecond(ClockFields c) {
  countOneSecond(c);
  return c;
}

TEST(ClockCounting, SecondsAndMinutesCarryInBcd) {
  EXPECT_EQ(afterOneSecond(at(0x20, 0x04, 0x05, 0x20, 0x89, 0x05, 0x09)).second, 0x10);
  const ClockFields minute = afterOneSecond(at(0x20, 0x04, 0x05, 0x20, 0x89, 0x05, 0x59));
  EXPECT_EQ(minute, at(0x20, 0x04, 0x05, 0x20, 0x89, 0x06, 0x00));
  const ClockFields hour = afterOneSecond(at(0x20, 0x04, 0x05, 0x20, 0x89, 0x59, 0x59));
  EXPECT_EQ(hour, at(0x20, 0x04, 0x05, 0x20, 0x90, 0x00, 0x00));
}

TEST(ClockCounting, MidnightIn24HourModeTurnsTheDateAndWeekday) {
  EXPECT_EQ(afterOneSecond(at(0x20, 0x04, 0x05, 0x20, 0xA3, 0x59, 0x59, 4)),
            at(0x20, 0x04, 0x05, 0x21, 0x80, 0x00, 0x00, 5));
  // Saturday is followed by Sunday.
  EXPECT_EQ(afterOneSecond(at(0x20, 0x04, 0x05, 0x22, 0xA3, 0x59, 0x59, 6)).weekday, 0);
}

TEST(ClockCounting, TwelveHourModeGoesThroughNoonAndMidnight) {
  // 11:59:59 AM -> 12:00:00 PM, same day.
  EXPECT_EQ(afterOneSecond(at(0x20, 0x04, 0x05, 0x20, 0x11, 0x59, 0x59, 4)),
            at(0x20, 0x04, 0x05, 0x20, 0x32, 0x00, 0x00, 4));
  // 12:59:59 PM -> 01:00:00 PM.
  EXPECT_EQ(afterOneSecond(at(0x20, 0x04, 0x05, 0x20, 0x32, 0x59, 0x59, 4)).hour, 0x21);
  // 11:59:59 PM -> 12:00:00 AM of the next day.
  EXPECT_EQ(afterOneSecond(at(0x20, 0x04, 0x05, 0x20, 0x31, 0x59, 0x59, 4)),
            at(0x20, 0x04, 0x05, 0x21, 0x12, 0x00, 0x00, 5));
  // 12:59:59 AM -> 01:00:00 AM.
  EXPECT_EQ(afterOneSecond(at(0x20, 0x04, 0x05, 0x21, 0x12, 0x59, 0x59, 5)).hour, 0x01);
  // 09 -> 10 carries the BCD tens inside the 12-hour field.
  EXPECT_EQ(afterOneSecond(at(0x20, 0x04, 0x05, 0x21, 0x29, 0x59, 0x59, 5)).hour, 0x30);
}

struct MonthEnd {
  std::uint8_t century, year, month, lastDate;
};
void PrintTo(const MonthEnd& c, std::ostream* os) {
  *os << std::hex << int(c.century) << int(c.year) << "-" << int(c.month) << "-" << int(c.lastDate);
}

class MonthEnds : public ::testing::TestWithParam<MonthEnd> {};

TEST_P(MonthEnds, LastDayRollsIntoTheNextMonthAndNotBefore) {
  const MonthEnd m = GetParam();
  const ClockFields last = at(m.century, m.year, m.month, m.lastDate, 0xA3, 0x59, 0x59);
  const ClockFields next = afterOneSecond(last);
  EXPECT_EQ(next.date, 0x01);
  EXPECT_EQ(next.month, m.month == 0x09 ? 0x10 : m.month + 1);

  const std::uint8_t dayBefore = toBcd(fromBcd(m.lastDate) - 1);
  const ClockFields stays =
      afterOneSecond(at(m.century, m.year, m.month, dayBefore, 0xA3, 0x59, 0x59));
  EXPECT_EQ(stays.date, m.lastDate);
  EXPECT_EQ(stays.month, m.month);
}

INSTANTIATE_TEST_SUITE_P(
    Calendar, MonthEnds,
    ::testing::Values(MonthEnd{0x20, 0x04, 0x01, 0x31}, MonthEnd{0x20, 0x04, 0x04, 0x30},
                      MonthEnd{0x20, 0x04, 0x06, 0x30}, MonthEnd{0x20, 0x04, 0x09, 0x30},
                      MonthEnd{0x20, 0x04, 0x11, 0x30}, MonthEnd{0x20, 0x04, 0x08, 0x31},
                      MonthEnd{0x20, 0x03, 0x02, 0x28},    // common year
                      MonthEnd{0x20, 0x04, 0x02, 0x29},    // leap year
                      MonthEnd{0x20, 0x00, 0x02, 0x29},    // 2000 is a leap year
                      MonthEnd{0x19, 0x00, 0x02, 0x28},    // 1900 is not
                      MonthEnd{0x21, 0x00, 0x02, 0x28}));  // nor is 2100

TEST(ClockCounting, NewYearCarriesIntoTheYearAndCentury) {
  EXPECT_EQ(afterOneSecond(at(0x20, 0x04, 0x12, 0x31, 0xA3, 0x59, 0x59, 5)),
            at(0x20, 0x05, 0x01, 0x01, 0x80, 0x00, 0x00, 6));
  EXPECT_EQ(afterOneSecond(at(0x19, 0x99, 0x12, 0x31, 0xA3, 0x59, 0x59, 5)),
            at(0x20, 0x00, 0x01, 0x01, 0x80, 0x00, 0x00, 6));
  EXPECT_EQ(afterOneSecond(at(0x20, 0x99, 0x12, 0x31, 0xA3, 0x59, 0x59, 5)).century, 0x21);
}

TEST(ClockCounting, BytesThatAreNotBcdCountOnWithoutGettingStuck) {
  // Stored as written; counting moves on to the next BCD value or wraps.
  EXPECT_EQ(afterOneSecond(at(0x20, 0x04, 0x05, 0x20, 0x89, 0x05, 0x3A)).second, 0x40);
  const ClockFields wrapped = afterOneSecond(at(0x20, 0x04, 0x05, 0x20, 0x89, 0x05, 0x7F));
  EXPECT_EQ(wrapped.second, 0x00);
  EXPECT_EQ(wrapped.minute, 0x06);
  EXPECT_EQ(afterOneSecond(at(0x20, 0x04, 0x05, 0x20, 0xA3, 0x59, 0x59, 9)).weekday, 0);
}

TEST(CivilTime, WeekdaysAndRegisterImage) {
  EXPECT_EQ(weekdayOf(2004, 5, 20), 4);   // Thursday
  EXPECT_EQ(weekdayOf(2000, 1, 1), 6);    // Saturday
  EXPECT_EQ(weekdayOf(2000, 2, 29), 2);   // Tuesday
  EXPECT_EQ(weekdayOf(1999, 12, 31), 5);  // Friday
  EXPECT_EQ(clockFieldsOf({2004, 5, 20, 9, 5, 30}),
            at(0x20, 0x04, 0x05, 0x20, 0x89, 0x05, 0x30, 4));
}

TEST(CivilTime, ParsesOnlyWholeValidDateTimes) {
  const auto t = parseCivilTime("2004-02-29 23:59:58");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->year, 2004);
  EXPECT_EQ(t->day, 29);
  EXPECT_EQ(t->second, 58);
  EXPECT_FALSE(parseCivilTime("2003-02-29 12:00:00"));
  EXPECT_FALSE(parseCivilTime("2004-13-01 12:00:00"));
  EXPECT_FALSE(parseCivilTime("2004-04-31 12:00:00"));
  EXPECT_FALSE(parseCivilTime("2004-05-20 24:00:00"));
  EXPECT_FALSE(parseCivilTime("2004-05-20T09:05:30"));
  EXPECT_FALSE(parseCivilTime("2004-05-20 9:05:30"));
  EXPECT_FALSE(parseCivilTime("2004-05-20 09:05:3x"));
}

}  // namespace
}  // namespace rtceval::sim
