#pragma once

#include <cstddef>
#include <cstdint>

// The framed protocol between the PC and the evaluation board: every constant of the wire lives
// here once.
namespace rtceval::protocol {

inline constexpr std::uint8_t LEAD_BYTE = 0x55;
inline constexpr std::uint8_t REQUEST_FLAG = 0x00;
inline constexpr std::uint8_t FLAG_DATA = 0x80;
inline constexpr std::uint8_t FLAG_STATUS = 0x81;
inline constexpr std::uint8_t STATUS_OK = 0x00;

inline constexpr std::uint8_t CMD_READ = 0x00;
inline constexpr std::uint8_t CMD_WRITE = 0x01;
inline constexpr std::uint8_t DEV_CCR = 0x6F;
inline constexpr std::uint8_t DEV_EEPROM = 0x57;

// On the X1208 family every request carries this as its address high byte.
inline constexpr std::uint8_t ADDR_HIGH_1208 = 0xFF;

inline constexpr std::size_t SEND_BUF_SIZE = 33;
inline constexpr std::size_t RECV_BUF_SIZE = 257;
// Lead, flag, length before the payload and the checksum after it.
inline constexpr std::size_t FRAME_OVERHEAD = 4;

// Offsets of a request payload.
inline constexpr std::size_t PAYLOAD_CMD = 0;
inline constexpr std::size_t PAYLOAD_DEV = 1;
inline constexpr std::size_t PAYLOAD_ADDR_HIGH = 2;
inline constexpr std::size_t PAYLOAD_ADDR_LOW = 3;
inline constexpr std::size_t PAYLOAD_COUNT = 4;
inline constexpr std::size_t PAYLOAD_DATA = 5;

// Offsets of a reply frame.
inline constexpr std::size_t REPLY_LEAD = 0;
inline constexpr std::size_t REPLY_FLAG = 1;
inline constexpr std::size_t REPLY_LENGTH = 2;
inline constexpr std::size_t REPLY_DATA = 3;

}  // namespace rtceval::protocol
