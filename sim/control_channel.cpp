#include "sim/control_channel.h"

#include <charconv>
#include <sstream>
#include <vector>

#include "sim/chip/crystal.h"

namespace rtceval::sim {

namespace {

constexpr std::string_view kHelp =
    "commands:\n"
    "  event             an edge on the event input (X1209)\n"
    "  battery on|off    run the chip on its backup supply, or back on the main supply\n"
    "  powerfail         both supplies lost: the clock is marked invalid (RTCF)\n"
    "  ppm X             the crystal's error in ppm at ATR = 0 (-1000 to 1000)\n"
    "  fault drop        following replies lose their last byte\n"
    "  fault corrupt     following replies carry a wrong checksum\n"
    "  fault stall       following replies are not sent\n"
    "  fault split N     following replies arrive in pieces of N bytes\n"
    "  fault off         replies go out whole again\n"
    "  delay MS          following replies reach the PC MS milliseconds late (0 ends it)\n"
    "  dump              print the chip's registers\n"
    "  help              this list\n";

std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    std::size_t end = i;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') ++end;
    if (end > i) out.push_back(line.substr(i, end - i));
    i = end;
  }
  return out;
}

std::string hex(std::uint8_t b) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[b >> 4], kDigits[b & 0x0F]};
}

// The line as typed, with control bytes (a NUL, an escape) spelt \xNN so that the answer shows
// all of it and cannot upset the terminal.
std::string shown(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  for (const char c : line) {
    const auto b = static_cast<std::uint8_t>(c);
    if (b < 0x20 || b == 0x7F) {
      out += "\\x" + hex(b);
    } else {
      out += c;
    }
  }
  return out;
}

std::string runFault(const std::vector<std::string_view>& w, FaultInjector& faults) {
  if (w.size() == 2 && w[1] == "off") {
    faults.set(ReplyFault::None);
    return "replies go out whole\n";
  }
  if (w.size() == 2 && w[1] == "drop") {
    faults.set(ReplyFault::Drop);
    return "replies lose their last byte\n";
  }
  if (w.size() == 2 && w[1] == "corrupt") {
    faults.set(ReplyFault::Corrupt);
    return "replies carry a wrong checksum\n";
  }
  if (w.size() == 2 && w[1] == "stall") {
    faults.set(ReplyFault::Stall);
    return "replies are held back\n";
  }
  if (w.size() == 3 && w[1] == "split") {
    std::size_t n = 0;
    const auto [end, ec] = std::from_chars(w[2].data(), w[2].data() + w[2].size(), n);
    if (ec == std::errc() && end == w[2].data() + w[2].size() && n > 0) {
      faults.set(ReplyFault::Split, n);
      return "replies arrive in pieces of " + std::string(w[2]) + " bytes\n";
    }
  }
  return "usage: fault drop|corrupt|stall|split N|off\n";
}

}  // namespace

std::string runControlCommand(std::string_view line, VirtualBoard& board, std::int64_t nowMs) {
  const std::vector<std::string_view> w = words(line);
  RtcChip& chip = board.chip();
  chip.advanceTo(nowMs);
  if (w.empty()) return "\n";
  if (w[0] == "help" && w.size() == 1) return std::string(kHelp);
  if (w[0] == "dump" && w.size() == 1) return dumpRegisters(chip);
  if (w[0] == "event" && w.size() == 1) {
    return chip.raiseEvent() ? "event flag set\n"
                             : std::string(chip.profile().name) + " has no event input\n";
  }
  if (w[0] == "battery" && w.size() == 2 && (w[1] == "on" || w[1] == "off")) {
    chip.setBackupSupply(w[1] == "on");
    return w[1] == "on" ? "running on the backup supply\n" : "running on the main supply\n";
  }
  if (w[0] == "powerfail" && w.size() == 1) {
    chip.powerFail();
    return "both supplies lost: RTCF set, write latches cleared\n";
  }
  if (w[0] == "fault") return runFault(w, board.faults());
  if (w[0] == "delay") {
    std::int64_t ms = -1;
    const std::string_view v = w.size() == 2 ? w[1] : std::string_view();
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), ms);
    if (w.size() != 2 || ec != std::errc() || end != v.data() + v.size() || ms < 0 || ms > 60000)
      return "usage: delay MS (0 to 60000)\n";
    board.faults().setDelayMs(ms);
    return "replies reach the PC " + std::string(v) + " ms late\n";
  }
  if (w[0] == "ppm") {
    const std::optional<double> ppm = w.size() == 2 ? Crystal::parsePpm(w[1]) : std::nullopt;
    if (!ppm) return "usage: ppm X (the crystal's error, -1000 to 1000)\n";
    chip.setCrystalPpm(*ppm);
    std::ostringstream out;
    out << "crystal error " << *ppm << " ppm; the clock runs at " << chip.ratePpm() << " ppm\n";
    return out.str();
  }
  return "unknown command '" + shown(line) + "'; try help\n";
}

std::string ControlChannel::take(std::string_view bytes, std::int64_t nowMs) {
  std::string answers;
  while (!bytes.empty()) {
    const std::size_t eol = bytes.find('\n');
    const bool complete = eol != std::string_view::npos;
    const std::string_view piece = bytes.substr(0, complete ? eol : bytes.size());
    bytes.remove_prefix(complete ? eol + 1 : bytes.size());
    if (!discarding_ && line_.size() + piece.size() > kMaxLineBytes) {
      answers +=
          "line longer than " + std::to_string(kMaxLineBytes) + " bytes: discarded up to its end\n";
      line_.clear();
      discarding_ = true;
    }
    if (!discarding_) line_.append(piece);
    if (!complete) break;
    if (!discarding_) {
      const std::string own = own_ ? own_(line_) : std::string();
      answers += own.empty() ? runControlCommand(line_, board_, nowMs) : own;
    }
    line_.clear();
    discarding_ = false;
  }
  return answers;
}

std::string dumpRegisters(const RtcChip& chip) {
  std::ostringstream out;
  const ClockFields& t = chip.time();
  const bool layoutA = chip.profile().layout == RegisterLayout::A;
  out << chip.profile().name << "  " << (layoutA ? hex(t.century) : "20") << hex(t.year) << '-'
      << hex(t.month) << '-' << hex(t.date) << ' ' << hex(t.hour & (t.hour & 0x80 ? 0x3F : 0x1F))
      << ':' << hex(t.minute) << ':' << hex(t.second)
      << ((t.hour & 0x80)   ? ""
          : (t.hour & 0x20) ? " PM"
                            : " AM")
      << "  weekday " << static_cast<int>(t.weekday) << (chip.busy() ? "  (write cycle)" : "")
      << '\n';
  for (std::uint16_t row = 0; row < chip.registerCount(); row += 16) {
    out << hex(static_cast<std::uint8_t>(row)) << ':';
    for (std::uint16_t a = row; a < row + 16 && a < chip.registerCount(); ++a) {
      out << ' ' << hex(chip.peekRegister(a));
    }
    out << '\n';
  }
  return out.str();
}

}  // namespace rtceval::sim
