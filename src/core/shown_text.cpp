#include "core/shown_text.h"

#include <cstdint>

namespace rtceval {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
constexpr std::string_view kEllipsis = "\u2026";

std::string hexEscape(char32_t value, int digits, const char* prefix) {
  std::string out = prefix;
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
  return out;
}

// The code point starting at `text[at]` and its length in bytes; length 0 when the bytes there
// are not well-formed UTF-8 (overlong, a surrogate, beyond U+10FFFF, cut short).
std::pair<char32_t, std::size_t> decode(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(at);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t value = 0;
  char32_t least = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, least = 0x10000;
  } else {
    return {0, 0};
  }
  if (at + length > text.size()) return {0, 0};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return {0, 0};
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return {0, 0};
  return {value, length};
}

bool isControl(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
         (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F;
}

std::string escaped(char32_t c) {
  switch (c) {
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    default:
      return c < 0x100 ? hexEscape(c, 2, "\\x") : hexEscape(c, 4, "\\u");
  }
}

}  // namespace

std::string shownText(std::string_view text, std::size_t maxChars) {
  std::string out;
  std::size_t chars = 0;
  for (std::size_t at = 0; at < text.size();) {
    if (chars == maxChars) {
      out += kEllipsis;
      break;
    }
    const auto [c, length] = decode(text, at);
    if (length == 0) {
      out += hexEscape(static_cast<std::uint8_t>(text[at]), 2, "\\x");
      at += 1;
    } else {
      if (isControl(c))
        out += escaped(c);
      else
        out.append(text.substr(at, length));
      at += length;
    }
    ++chars;
  }
  return out;
}

}  // namespace rtceval
