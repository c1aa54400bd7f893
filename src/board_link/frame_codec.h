#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace rtceval {

// 8-bit sum of the bytes, the checksum that closes every frame in both directions.
std::uint8_t frameSum(std::span<const std::uint8_t> bytes);

// The request frame for a payload: lead byte, request flag, length, payload, checksum. On the
// X1208 family the address high byte (payload byte 2) goes out, and is summed, as 0xFF.
std::vector<std::uint8_t> buildRequestFrame(std::span<const std::uint8_t> payload,
                                            bool is1208Family);

}  // namespace rtceval
