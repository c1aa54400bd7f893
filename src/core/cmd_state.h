#pragma once

#include <cstdint>

namespace rtceval {

// The kind of the outstanding request. The high nibble names the register group, the low nibble
// is 0 for a write and 1 for a read; a reply is always read under the code of the latest request.
using CmdStateCode = std::int16_t;

inline constexpr CmdStateCode StNone = 0x00;
inline constexpr CmdStateCode StReadTime = 0x01;
inline constexpr CmdStateCode StWriteTime = 0x02;
inline constexpr CmdStateCode StProbe = 0x08;
inline constexpr CmdStateCode StConnect = 0x09;
inline constexpr CmdStateCode StWriteSR = 0x10;
inline constexpr CmdStateCode StReadSR = 0x11;
inline constexpr CmdStateCode StWriteWEL = 0x12;
inline constexpr CmdStateCode StWriteRWEL = 0x13;
inline constexpr CmdStateCode StWriteWRTC = 0x18;
inline constexpr CmdStateCode StWriteINT = 0x20;
inline constexpr CmdStateCode StReadINT = 0x21;
inline constexpr CmdStateCode StWriteBL = 0x30;
inline constexpr CmdStateCode StReadBL = 0x31;
inline constexpr CmdStateCode StWriteATR = 0x40;
inline constexpr CmdStateCode StReadATR = 0x41;
inline constexpr CmdStateCode StWriteDTR = 0x50;
inline constexpr CmdStateCode StReadDTR = 0x51;
inline constexpr CmdStateCode StWriteEV = 0x60;
inline constexpr CmdStateCode StReadEV = 0x61;
inline constexpr CmdStateCode StWriteAL0 = 0x70;
inline constexpr CmdStateCode StReadAL0 = 0x71;
inline constexpr CmdStateCode StReadCtrlBlock = 0x77;
inline constexpr CmdStateCode StWriteAL1 = 0x80;
inline constexpr CmdStateCode StReadAL1 = 0x81;
inline constexpr CmdStateCode StWriteMem = 0xB0;
inline constexpr CmdStateCode StReadMem = 0xB1;
// Several EEPROM bytes in one read (a snapshot's): its reply carries as many bytes as were asked.
inline constexpr CmdStateCode StReadMemBlock = 0xB3;
inline constexpr CmdStateCode StWriteUR = 0xC0;
inline constexpr CmdStateCode StReadUR = 0xC1;
inline constexpr CmdStateCode StPortOpened = 0xEE;

// Names one request handed to the link; the reply to it is handed on with the same ticket, so a
// window knows its own replies without watching the line. 0 names no request.
using RequestTicket = std::uint64_t;

// A reply the main window has interpreted: the kind of request it answers, that request's ticket,
// and whether it was the kind the request waits for (its data then stands in the register image,
// the records or the chip reads).
struct ReplyNote {
  CmdStateCode request = StNone;
  RequestTicket ticket = 0;
  bool accepted = false;
};

}  // namespace rtceval
