#pragma once

#include <cstdint>

// Where the registers sit in the two layouts of the chip family, and the bits of the status
// registers that the chip itself sets, clears or obeys.
namespace rtceval::sim::layout_a {
constexpr std::uint16_t kAlarm0 = 0x00;
constexpr std::uint16_t kAlarm1 = 0x08;
constexpr std::uint16_t kBL = 0x10;
constexpr std::uint16_t kINT = 0x11;
constexpr std::uint16_t kATR = 0x12;
constexpr std::uint16_t kDTR = 0x13;
constexpr std::uint16_t kTime = 0x30;
constexpr std::uint16_t kTimeBytes = 8;  // with the century byte
constexpr std::uint16_t kSR = 0x3F;
constexpr std::uint16_t kRegisterCount = 0x40;

constexpr std::uint8_t kBAT = 0x80;
constexpr std::uint8_t kAL1 = 0x40;
constexpr std::uint8_t kAL0 = 0x20;
constexpr std::uint8_t kRWEL = 0x04;
constexpr std::uint8_t kWEL = 0x02;
constexpr std::uint8_t kRTCF = 0x01;
}  // namespace rtceval::sim::layout_a

namespace rtceval::sim::layout_b {
constexpr std::uint16_t kTime = 0x00;
constexpr std::uint16_t kTimeBytes = 7;  // no century byte
constexpr std::uint16_t kSR = 0x07;
constexpr std::uint16_t kINT = 0x08;
constexpr std::uint16_t kEV = 0x09;
constexpr std::uint16_t kATR = 0x0A;
constexpr std::uint16_t kDTR = 0x0B;
constexpr std::uint16_t kAlarm0 = 0x0C;
constexpr std::uint16_t kUser1 = 0x12;
constexpr std::uint16_t kUser2 = 0x13;
constexpr std::uint16_t kRegisterCount = 0x14;

constexpr std::uint8_t kARST = 0x80;
constexpr std::uint8_t kXTOSCB = 0x40;
constexpr std::uint8_t kWRTC = 0x10;
constexpr std::uint8_t kEVT = 0x08;
constexpr std::uint8_t kALM = 0x04;
constexpr std::uint8_t kBAT = 0x02;
constexpr std::uint8_t kRTCF = 0x01;
}  // namespace rtceval::sim::layout_b
