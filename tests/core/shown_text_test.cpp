// Text from a file made fit for one line of a window: escapes and the cut.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "core/shown_text.h"

namespace rtceval {
namespace {

TEST(ShownText, EscapesControlsAndCutsLongText) {
  struct Case {
    std::string text;
    std::size_t maxChars;
    std::string shown;
  };
  const std::vector<Case> cases{
      {"2026-12-08 10:00:00 寄存器", 200, "2026-12-08 10:00:00 寄存器"},
      {"a\nb\tc\rd", 200, "a\\nb\\tc\\rd"},
      {std::string("x\0y", 3) + "\x1b[2J\x7f", 200, "x\\x00y\\x1B[2J\\x7F"},
      {"\xc2\x85 \u2028 \u202e\u2066 \u200f", 200, "\\x85 \\u2028 \\u202E\\u2066 \\u200F"},
      // Bytes that are not UTF-8 (a stray continuation, an overlong form, a surrogate, a cut
      // sequence) each show as their byte.
      {"\x80 \xc0\xaf \xed\xa0\x80 \xe4\xb8", 200, "\\x80 \\xC0\\xAF \\xED\\xA0\\x80 \\xE4\\xB8"},
      // Cut by characters, not bytes; an escape counts as one character.
      {"寄存器快照", 3, "寄存器…"},
      {"寄存器", 3, "寄存器"},
      {"\n\n\n\n", 2, "\\n\\n…"},
      {std::string(1 << 20, 'x'), 5, "xxxxx…"},
  };
  for (const Case& c : cases) EXPECT_EQ(shownText(c.text, c.maxChars), c.shown) << c.text;
  EXPECT_EQ(shownText(std::string(1 << 20, 'y')).size(), kShownTextChars + 3);
}

}  // namespace
}  // namespace rtceval
