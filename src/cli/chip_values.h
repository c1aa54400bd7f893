#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/time_record.h"
#include "core/value_codecs.h"

namespace rtceval::cli {

// A date and time as typed or taken from the PC, before it becomes the chip's BCD image.
struct CivilFields {
  int year = 2000, month = 1, date = 1, hour = 0, minute = 0, second = 0;
  int weekday = 0;  // 0 = Sunday
};

// 'YYYY-MM-DD HH:MM:SS' checked field by field with the set-time dialog's rules and messages
// (24-hour); the weekday is the one of the date. The message of the first failing field otherwise.
struct ParsedTime {
  std::optional<CivilFields> fields;
  std::string refusal;
};
ParsedTime parseTimeText(std::string_view text);
// The weekday of a date (0 = Sunday).
int weekdayOf(int year, int month, int date);

// The set-time dialog's record: BCD fields, the 24-hour flag, or in the 12-hour format the hour
// 1 to 12 with the PM flag.
TimeRecord timeRecordOf(const CivilFields& fields, bool twelveHour);

// The clock as read: "YYYY-MM-DD HH:MM:SS" (24-hour) and the seconds since 2000-01-01 for
// comparing two reads.
std::string timeText(const DecodedTime& time);
// A record as a time read would show it.
DecodedTime decodedRecord(const TimeRecord& record);
std::int64_t secondsOf(const DecodedTime& time);
int hour24Of(const DecodedTime& time);

// A byte or address typed in hexadecimal, read by the windows' hex box; an optional 0x in front,
// and nothing but hexadecimal digits after it.
std::optional<std::uint32_t> readHex(std::string_view text);
// Hexadecimal bytes: "01 2a ff", "012aff" or "01,2a"; nothing when any is not a byte.
std::optional<std::vector<std::uint8_t>> readHexBytes(std::string_view text);

}  // namespace rtceval::cli
