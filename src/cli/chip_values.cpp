#include "cli/chip_values.h"

#include <array>
#include <cctype>
#include <cstdio>

#include "register_editors/hex_box.h"
#include "time_alarms/time_fields.h"

namespace rtceval::cli {
namespace {

int fromBcd(std::uint8_t b) {
  return (b >> 4) * 10 + (b & 0x0F);
}

}  // namespace

int weekdayOf(int year, int month, int date) {
  // Sakamoto's method.
  static constexpr std::array<int, 12> kOffsets{0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  const int y = month < 3 ? year - 1 : year;
  return (y + y / 4 - y / 100 + y / 400 + kOffsets[static_cast<std::size_t>(month - 1)] + date) % 7;
}

ParsedTime parseTimeText(std::string_view text) {
  // Six fields apart from their separators; each is then read as the dialog reads its box.
  std::array<std::string, 6> parts;
  std::size_t part = 0;
  static constexpr std::string_view kSeparators = "-- ::";
  for (const char c : text) {
    if (part < kSeparators.size() && c == kSeparators[part]) {
      ++part;
      continue;
    }
    if (!std::isdigit(static_cast<unsigned char>(c)) || part >= parts.size())
      return {std::nullopt, "time must be 'YYYY-MM-DD HH:MM:SS'"};
    parts[part] += c;
  }
  if (part != kSeparators.size()) return {std::nullopt, "time must be 'YYYY-MM-DD HH:MM:SS'"};
  CivilFields f;
  const auto year = readYear(parts[0]);
  if (!year) return {std::nullopt, kInvalidYear};
  f.year = *year;
  const auto bounds = setTimeBounds(false);
  const std::pair<int CivilFields::*, SetTimeField> fields[] = {
      {&CivilFields::month, SetMonth},   {&CivilFields::date, SetDate},
      {&CivilFields::hour, SetHour},     {&CivilFields::minute, SetMinute},
      {&CivilFields::second, SetSecond},
  };
  for (std::size_t i = 0; i < std::size(fields); ++i) {
    const FieldBounds& b = bounds[fields[i].second];
    const auto value = readByteField(parts[i + 1], b.low, b.high);
    if (!value) return {std::nullopt, b.message};
    f.*fields[i].first = *value;
  }
  f.weekday = weekdayOf(f.year, f.month, f.date);
  return {f, {}};
}

TimeRecord timeRecordOf(const CivilFields& f, bool twelveHour) {
  TimeRecord r;
  r.year = BcdYear(f.year);
  r.month = BcdByte(f.month);
  r.date = BcdByte(f.date);
  r.minute = BcdByte(f.minute);
  r.second = BcdByte(f.second);
  r.weekday = BcdByte(f.weekday);
  if (!twelveHour) {
    r.hour = BcdByte(f.hour) | kHour24;
  } else {
    r.hour = BcdByte(f.hour % 12 == 0 ? 12 : f.hour % 12);
    if (f.hour >= 12) r.hour |= kHourPm;
  }
  return r;
}

int hour24Of(const DecodedTime& t) {
  const int hour = fromBcd(t.time.hour);
  if (t.is24Hour) return hour;
  // In the 12-hour format PM sits in bit 5 of the register; the decoded hour carries no flags, so
  // the display's PM tells it.
  return hour % 12 + (t.display.pmEnabled ? 12 : 0);
}

std::string timeText(const DecodedTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d%02d-%02d-%02d %02d:%02d:%02d", fromBcd(t.time.century),
                fromBcd(t.time.year), fromBcd(t.time.month), fromBcd(t.time.date), hour24Of(t),
                fromBcd(t.time.minute), fromBcd(t.time.second));
  return text;
}

DecodedTime decodedRecord(const TimeRecord& r) {
  const std::array<std::uint8_t, 8> bytes{r.second, r.minute,    r.hour,    r.date,
                                          r.month,  r.yearLow(), r.weekday, r.yearHigh()};
  return decodeTime(bytes);
}

std::int64_t secondsOf(const DecodedTime& t) {
  const int year = fromBcd(t.time.century) * 100 + fromBcd(t.time.year);
  const int month = fromBcd(t.time.month);
  // Days from civil (proleptic Gregorian), counted from 1970.
  const int y = month <= 2 ? year - 1 : year;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int mp = (month + 9) % 12;
  const int doy = (153 * mp + 2) / 5 + fromBcd(t.time.date) - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int64_t days = std::int64_t{era} * 146097 + doe - 719468;
  return days * 86400 + hour24Of(t) * 3600 + fromBcd(t.time.minute) * 60 + fromBcd(t.time.second);
}

std::optional<std::uint32_t> readHex(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
  if (text.empty() || text.size() > 8) return std::nullopt;
  for (const char c : text)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
  return readHexBox(text);
}

std::optional<std::vector<std::uint8_t>> readHexBytes(std::string_view text) {
  std::vector<std::uint8_t> bytes;
  std::string digits;
  const auto flush = [&]() -> bool {
    if (digits.empty()) return true;
    if (digits.size() % 2 != 0 && digits.size() != 1) return false;
    if (digits.size() == 1) digits = std::string(1, '0') + digits;
    for (std::size_t i = 0; i < digits.size(); i += 2)
      bytes.push_back(static_cast<std::uint8_t>(readHexBox(digits.substr(i, 2))));
    digits.clear();
    return true;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if ((c == 'x' || c == 'X') && digits == "0") {
      digits.clear();
      continue;
    }
    if (std::isxdigit(static_cast<unsigned char>(c))) {
      digits += c;
    } else if (std::isspace(static_cast<unsigned char>(c)) || c == ',') {
      if (!flush()) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (!flush() || bytes.empty()) return std::nullopt;
  return bytes;
}

}  // namespace rtceval::cli
