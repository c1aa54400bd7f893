#include "sim/civil_time.h"

#include <algorithm>
#include <charconv>
#include <ctime>

namespace rtceval::sim {

namespace {

bool readNumber(std::string_view text, std::size_t at, std::size_t digits, int& value) {
  const char* first = text.data() + at;
  const char* last = first + digits;
  const auto [end, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && end == last;
}

}  // namespace

std::optional<CivilTime> parseCivilTime(std::string_view text) {
  // Fixed positions: 0123-56-89 12:45:78
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  CivilTime t;
  if (!readNumber(text, 0, 4, t.year) || !readNumber(text, 5, 2, t.month) ||
      !readNumber(text, 8, 2, t.day) || !readNumber(text, 11, 2, t.hour) ||
      !readNumber(text, 14, 2, t.minute) || !readNumber(text, 17, 2, t.second)) {
    return std::nullopt;
  }
  if (t.year < 1900 || t.year > 2099 || t.month < 1 || t.month > 12 || t.hour > 23 ||
      t.minute > 59 || t.second > 59) {
    return std::nullopt;
  }
  const int days = daysInMonth(toBcd(t.month), toBcd(t.year % 100), toBcd(t.year / 100));
  if (t.day < 1 || t.day > days) return std::nullopt;
  return t;
}

CivilTime localCivilTimeNow() {
  const std::time_t now = std::time(nullptr);
  // The program runs on one thread, so the shared buffer of localtime is safe here.
  const std::tm* local = std::localtime(&now);
  if (!local) return {};
  return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
          local->tm_hour,        local->tm_min,     std::min(local->tm_sec, 59)};
}

}  // namespace rtceval::sim
