#pragma once

// What the fuzz targets share: a reader over the fuzzer's bytes, the failure report, and the
// input formats that the targets read and the seed writer writes, so that both sides speak one
// format.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

namespace rtceval::fuzz {

// Reads the input from the front; past its end every byte reads 0 and every span is empty, so a
// target never needs a length check of its own.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return pos_ >= size_; }
  std::uint8_t next() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::span<const std::uint8_t> take(std::size_t n) {
    const std::size_t k = n < size_ - pos_ ? n : size_ - pos_;
    const std::span<const std::uint8_t> out(data_ + pos_, k);
    pos_ += k;
    return out;
  }
  std::span<const std::uint8_t> rest() { return take(size_ - pos_); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// A broken property: says which, and aborts so that libFuzzer keeps the input.
[[noreturn]] inline void fail(const char* what) {
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}
inline void check(bool holds, const char* what) {
  if (!holds) fail(what);
}

// The 8-bit sum that closes every frame, in both directions.
inline std::uint8_t sumOf(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>(sum);
}

// The receive path's input: a configuration byte, then operations. An operation is a head byte
// whose top three bits name it and whose low five bits are its argument.
namespace receive_path {

// Configuration byte: the chip model (low three bits, modulo 6, in the order of the device menu),
// the automatic time read (bit 6) and the alarm monitor (bit 7) ticked.
inline constexpr std::uint8_t kAutoReadBit = 0x40;
inline constexpr std::uint8_t kAutoMonitorBit = 0x80;

enum class Op : std::uint8_t {
  Raw = 0,      // argument bytes arrive as one chunk
  Sealed = 1,   // argument bytes and their sum arrive, split at the position the next byte gives
  Wait = 2,     // time passes: see waitMs
  Request = 3,  // a request of kind kRequestKinds[argument] goes out
  Action = 4,   // the user does Action(argument)
  Menu = 5,     // the user clicks menu item number `argument` (modulo the item count)
  // Bit 0: the next Yes/No question is answered Yes (set) or No. Bits 1 to 4: when not 0, the next
  // message box stays open while that many times 40 ms pass.
  Box = 6,
  Flood = 7,  // argument × 16 copies of the next byte arrive as one chunk
};

inline constexpr std::uint8_t head(Op op, std::uint8_t argument) {
  return static_cast<std::uint8_t>(static_cast<std::uint8_t>(op) << 5 | (argument & 0x1F));
}

// Short waits in steps of 10 ms up to 190 ms, then long ones in steps of 250 ms up to 3 s.
inline constexpr int waitMs(std::uint8_t argument) {
  return argument < 20 ? argument * 10 : (argument - 19) * 250;
}

// Every request code the program sends, and one it never sends. Written out here rather than
// taken from the program, so that a code the program renames still arrives as it did.
inline constexpr std::int16_t kRequestKinds[32] = {
    0x00, 0x01, 0x02, 0x08, 0x09, 0x10, 0x11, 0x12, 0x13, 0x18, 0x20, 0x21, 0x30, 0x31, 0x40, 0x41,
    0x50, 0x51, 0x60, 0x61, 0x70, 0x71, 0x77, 0x80, 0x81, 0xB0, 0xB1, 0xC0, 0xC1, 0xEE, 0xB3, 0xFF,
};

enum class Action : std::uint8_t {
  ReadTime,    // the read-time menu
  AutoReadOn,  // the automation ticks
  AutoReadOff,
  MonitorOn,
  MonitorOff,
  SetTime,          // the set-time dialog with its defaults, OK
  SetTimeTwelvePm,  // the same in the 12-hour format, PM
  // The write sequencer handed job kWriteJobs[argument - FirstJob].
  FirstJob,
};

// The jobs dialogs hand the write sequencer: time, SR read, INT, BL, ATR, DTR, EV, AL0, AL1.
inline constexpr std::int16_t kWriteJobs[] = {0x02, 0x11, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80};

}  // namespace receive_path

// The set-time dialog's input: the model byte, the click byte, then the seven texts in the order
// year, month, date, hour, minute, second, weekday, each ended by a newline; a text the input does
// not reach keeps the dialog's default.
namespace set_time {
// Click byte, in this order: bit 0 ticks 12-hour, bit 1 clicks PM, bit 2 AM, bit 3 PM again, and
// bit 7 unticks 12-hour at the end.
inline constexpr std::uint8_t kTickTwelveHour = 0x01;
inline constexpr std::uint8_t kClickPm = 0x02;
inline constexpr std::uint8_t kClickAm = 0x04;
inline constexpr std::uint8_t kClickPmAgain = 0x08;
inline constexpr std::uint8_t kUntickTwelveHour = 0x80;
}  // namespace set_time

// The board's request assembler: operations, each a head byte whose top two bits name it.
namespace request_assembler {
enum class Op : std::uint8_t {
  Chunk = 0,   // low six bits: that many bytes arrive at once
  Sealed = 1,  // low six bits: that many bytes and their sum arrive at once
  Wait = 2,    // low six bits × 5 ms pass
  Poll = 3,    // the board looks for a frame time-out
};
inline constexpr std::uint8_t head(Op op, std::uint8_t argument) {
  return static_cast<std::uint8_t>(static_cast<std::uint8_t>(op) << 6 | (argument & 0x3F));
}
}  // namespace request_assembler

// The two-sided session: a configuration byte, then operations of a head byte (top three bits
// name it, low five bits are its argument); after them the line heals and a flag is raised.
namespace board_session {
// Configuration byte: the chip model (low three bits, modulo 6), the automatic time read (bit 6),
// and which flag the end of the session raises: an event on the X1209 (bit 7) or alarm 0.
inline constexpr std::uint8_t kAutoReadBit = 0x40;
inline constexpr std::uint8_t kEventBit = 0x80;

enum class Op : std::uint8_t {
  Wait = 0,  // argument × 37 ms pass, an offset against every timer of the program
  // The line fault argument % 5 (none, drop, corrupt, stall, split into pieces of argument / 5
  // bytes).
  Fault = 1,
  Toggle = 2,    // argument bit 0: the automatic time read, bit 1: the monitor, ticked or not
  ReadTime = 3,  // the read-time menu
  Event = 4,     // an edge on the event input
  SetTime = 5,   // the set-time dialog with its defaults, OK
  LongWait = 6,  // argument × 500 ms pass
  Menu = 7,      // the user clicks menu item `argument` (modulo the item count), not a model
};
inline constexpr std::uint8_t head(Op op, std::uint8_t argument) {
  return static_cast<std::uint8_t>(static_cast<std::uint8_t>(op) << 5 | (argument & 0x1F));
}
}  // namespace board_session

}  // namespace rtceval::fuzz
