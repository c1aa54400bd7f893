#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace rtceval::sim {

// The frames the board speaks on its serial line. A request is 55 00 N payload sum, a reply
// 55 80 N data sum (data) or 55 81 01 code sum (status); the sum is the 8-bit sum of every byte
// before it.
constexpr std::uint8_t kLeadByte = 0x55;
constexpr std::uint8_t kRequestFlag = 0x00;
constexpr std::uint8_t kDataReplyFlag = 0x80;
constexpr std::uint8_t kStatusReplyFlag = 0x81;

// The board's receive buffer holds 33 payload bytes: command, device, two address bytes, count
// and up to 28 data bytes.
constexpr std::size_t kMaxPayload = 33;
constexpr std::size_t kRequestHeaderBytes = 5;
constexpr std::uint8_t kCmdRead = 0x00;
constexpr std::uint8_t kCmdWrite = 0x01;
constexpr std::uint8_t kMaxReadCount = 64;
// An address high byte of 0xFF says the chip takes a one-byte register address.
constexpr std::uint8_t kShortAddressMark = 0xFF;

enum class BoardStatus : std::uint8_t {
  Ok = 0x00,
  BadChecksum = 0x01,
  BadLeadByte = 0x02,
  BadFlagByte = 0x03,
  FrameTooLong = 0x04,
  BadReadCommand = 0x06,
  BadWriteCommand = 0x07,
  BadCommand = 0x08,
  FrameTimeout = 0x82,
  ChipReadFailed = 0x84,
  ChipWriteFailed = 0x85,
};

std::uint8_t frameSum(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> dataReply(std::span<const std::uint8_t> data);
std::vector<std::uint8_t> statusReply(BoardStatus status);

}  // namespace rtceval::sim
