#include "register_editors/hex_box.h"

namespace rtceval {
namespace {

// The value of a hexadecimal digit, or -1.
int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::uint32_t readHexBox(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::uint32_t value = 0;
  for (; i < text.size(); ++i) {
    const int digit = hexDigit(text[i]);
    if (digit < 0) break;
    // Another digit would not fit: the text stands for a number beyond every range.
    if (value > (kHexBoxOverflow >> 4)) return kHexBoxOverflow;
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  return value;
}

}  // namespace rtceval
