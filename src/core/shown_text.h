#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rtceval {

// As many characters as a line of a window shows of a text from outside the program (a file's
// fields, a path) before it is cut.
inline constexpr std::size_t kShownTextChars = 200;

// A text from outside the program made fit to show on one line: control characters (C0, DEL,
// C1, the line and paragraph separators, the direction overrides) written as escapes (\n, \t,
// \xNN, \uNNNN), bytes that are not UTF-8 as \xNN, and anything beyond `maxChars` characters cut
// off with "…". Text that needs none of this comes back as it was.
std::string shownText(std::string_view text, std::size_t maxChars = kShownTextChars);

}  // namespace rtceval
