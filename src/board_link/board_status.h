#pragma once

#include <cstdint>
#include <string>

namespace rtceval {

// The text for a board status code of a status reply; unknown codes give "未知的错误".
const char* boardErrorText(std::uint8_t code);

}  // namespace rtceval
