// The command line's readers of typed values on any text: a time 'YYYY-MM-DD HH:MM:SS', a hex
// number, hex bytes. An accepted time has every field within its range and the weekday of its
// date (counted here on the calendar, a day past the month's end running into the next month as
// the chip's counter does), and written out again it reads as the same fields; an accepted hex
// number or byte list written out again reads as the same value. Input format: the text as typed.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/chip_values.h"
#include "fuzz_input.h"

using namespace rtceval;
using namespace rtceval::fuzz;

namespace {

bool within(int value, int low, int high) {
  return value >= low && value <= high;
}

int calendarWeekday(const cli::CivilFields& f) {
  using namespace std::chrono;
  const sys_days first{year{f.year} / month{static_cast<unsigned>(f.month)} / day{1}};
  return static_cast<int>(weekday{first + days{f.date - 1}}.c_encoding());
}

bool sameFields(const cli::CivilFields& a, const cli::CivilFields& b) {
  return a.year == b.year && a.month == b.month && a.date == b.date && a.hour == b.hour &&
         a.minute == b.minute && a.second == b.second && a.weekday == b.weekday;
}

void checkTime(std::string_view text) {
  const cli::ParsedTime parsed = cli::parseTimeText(text);
  if (!parsed.fields) {
    check(!parsed.refusal.empty(), "a refused time is refused with a reason");
    return;
  }
  const cli::CivilFields& f = *parsed.fields;
  check(within(f.year, 1900, 2100) && within(f.month, 1, 12) && within(f.date, 1, 31) &&
            within(f.hour, 0, 23) && within(f.minute, 0, 59) && within(f.second, 0, 59),
        "an accepted time's fields are within their ranges");
  check(f.weekday == calendarWeekday(f), "an accepted time's weekday is its date's");
  char again[48];
  std::snprintf(again, sizeof again, "%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.date,
                f.hour, f.minute, f.second);
  const cli::ParsedTime reread = cli::parseTimeText(again);
  check(reread.fields && sameFields(f, *reread.fields),
        "an accepted time written out again reads as the same fields");
}

void checkHex(std::string_view text) {
  if (const auto value = cli::readHex(text)) {
    char again[16];
    std::snprintf(again, sizeof again, "0x%X", static_cast<unsigned>(*value));
    const auto reread = cli::readHex(again);
    check(reread && *reread == *value, "an accepted hex number written out again reads the same");
  }
  if (const auto bytes = cli::readHexBytes(text)) {
    check(!bytes->empty(), "accepted hex bytes are at least one byte");
    std::string again;
    for (const std::uint8_t b : *bytes) {
      char two[4];
      std::snprintf(two, sizeof two, "%02x", static_cast<unsigned>(b));
      if (!again.empty()) again += ' ';
      again += two;
    }
    const auto reread = cli::readHexBytes(again);
    check(reread && *reread == *bytes, "accepted hex bytes written out again read the same");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  checkTime(text);
  checkHex(text);
  return 0;
}
