#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rtceval {

// A text box into which the user types an address or a byte in hexadecimal.

// The number the box's text begins with, read as hexadecimal: leading blanks are skipped, the
// hexadecimal digits that follow (upper or lower case) count, and reading stops at the first
// other character; a text without a leading digit reads 0 ("1ff" is 0x1FF, "12G" is 0x12).
// A run of digits too long for the result reads as kHexBoxOverflow, which no range accepts.
std::uint32_t readHexBox(std::string_view text);

inline constexpr std::uint32_t kHexBoxOverflow = 0xFFFFFFFF;

}  // namespace rtceval
