#pragma once

#include <cstddef>
#include <cstdint>

// The framed protocol between the PC and the evaluation board: every constant of the wire lives
// here once.
namespace rtceval::protocol {

inline constexpr std::uint8_t kLeadByte = 0x55;
inline constexpr std::uint8_t kRequestFlag = 0x00;
inline constexpr std::uint8_t kFlagData = 0x80;
inline constexpr std::uint8_t kFlagStatus = 0x81;
inline constexpr std::uint8_t kStatusOk = 0x00;

inline constexpr std::uint8_t CMD_READ = 0x00;
inline constexpr std::uint8_t CMD_WRITE = 0x01;
inline constexpr std::uint8_t DEV_CCR = 0x6F;
inline constexpr std::uint8_t DEV_EEPROM = 0x57;

// On the X1208 family every request carries this as its address high byte.
inline constexpr std::uint8_t kAddrHigh1208 = 0xFF;

inline constexpr std::size_t kSendBufSize = 33;
inline constexpr std::size_t kRecvBufSize = 257;
// Lead, flag, length before the payload and the checksum after it.
inline constexpr std::size_t kFrameOverhead = 4;
// The most bytes the board reads in one request (one EEPROM page), and the most data bytes a
// write request carries after its five header bytes.
inline constexpr std::size_t kMaxReadCount = 64;
inline constexpr std::size_t kMaxWriteData = kSendBufSize - 5;

// Offsets of a request payload.
inline constexpr std::size_t kPayloadCmd = 0;
inline constexpr std::size_t kPayloadDev = 1;
inline constexpr std::size_t kPayloadAddrHigh = 2;
inline constexpr std::size_t kPayloadAddrLow = 3;
inline constexpr std::size_t kPayloadCount = 4;
inline constexpr std::size_t kPayloadData = 5;

// Offsets of a reply frame.
inline constexpr std::size_t kReplyLead = 0;
inline constexpr std::size_t kReplyFlag = 1;
inline constexpr std::size_t kReplyLength = 2;
inline constexpr std::size_t kReplyData = 3;

}  // namespace rtceval::protocol
