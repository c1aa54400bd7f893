#pragma once

#include <optional>
#include <string_view>

#include "sim/chip/bcd_calendar.h"

namespace rtceval::sim {

// "YYYY-MM-DD HH:MM:SS", a valid date from 1900 to 2099 and a valid time of day.
std::optional<CivilTime> parseCivilTime(std::string_view text);

// The PC's local date and time, for a chip that starts out on the PC's time.
CivilTime localCivilTimeNow();

}  // namespace rtceval::sim
