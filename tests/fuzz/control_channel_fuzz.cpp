// The board's control channel on arbitrary lines. Every answer is a non-empty text ending in a
// newline; a line that is not a command (by a reading of the command list written here) changes
// neither the line faults nor the chip; `fault` sets exactly the fault it names, and `split N`
// only for a whole decimal N from 1 up, with replies then cut into pieces of N bytes; only
// `event`, `battery` and `powerfail` touch the chip. Input: the model byte, then lines, each
// sent a quarter of a second after the one before.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "sim/control_channel.h"
#include "sim/virtual_board.h"

using namespace rtceval;
using namespace rtceval::fuzz;
using namespace rtceval::sim;

namespace {

constexpr ChipModel kModels[] = {ChipModel::X1226, ChipModel::X1227, ChipModel::X1228,
                                 ChipModel::X1205, ChipModel::X1208, ChipModel::X1209};

std::vector<std::string_view> wordsOf(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    const std::size_t start = line.find_first_not_of(" \t\r", i);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
    words.push_back(line.substr(start, end - start));
    i = end;
  }
  return words;
}

// A whole decimal number from 1 up that a size_t holds; nothing for anything else.
std::optional<std::size_t> pieceSizeOf(std::string_view word) {
  if (word.empty()) return std::nullopt;
  std::size_t n = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return std::nullopt;
    const std::size_t digit = static_cast<std::size_t>(c - '0');
    if (n > (SIZE_MAX - digit) / 10) return std::nullopt;
    n = n * 10 + digit;
  }
  if (n == 0) return std::nullopt;
  return n;
}

// What a hand on the chip could change: every register as a read would see it (a register file
// holds at most 0x40), and the clock.
using ChipState = std::array<std::uint8_t, 0x40 + 9>;
ChipState chipState(const RtcChip& chip) {
  ChipState state{};
  const std::uint16_t count = std::min<std::uint16_t>(chip.registerCount(), 0x40);
  for (std::uint16_t a = 0; a < count; ++a) state[a] = chip.peekRegister(a);
  const ClockFields& t = chip.time();
  const std::uint8_t clock[] = {t.second,  t.minute,  t.hour,
                                t.date,    t.month,   t.year,
                                t.weekday, t.century, static_cast<std::uint8_t>(chip.busy())};
  std::copy(std::begin(clock), std::end(clock), state.begin() + 0x40);
  return state;
}

using Pieces = std::vector<std::vector<std::uint8_t>>;

// A reply of 40 bytes, and how it leaves the board under the present fault.
const std::vector<std::uint8_t> kReply(40, 0x11);
Pieces shapeOf(const FaultInjector& faults) {
  return faults.shape(kReply);
}

// The reply cut into pieces of `piece` bytes, the last one shorter.
Pieces piecesOf(std::vector<std::uint8_t> reply, std::size_t piece) {
  Pieces out;
  for (std::size_t done = 0; done < reply.size(); done += piece) {
    const std::size_t n = std::min(piece, reply.size() - done);
    out.emplace_back(reply.begin() + static_cast<std::ptrdiff_t>(done),
                     reply.begin() + static_cast<std::ptrdiff_t>(done + n));
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  ByteReader in(data, size);
  const ChipModel model = kModels[in.next() % 6];
  const auto rest = in.rest();
  const std::string_view text(reinterpret_cast<const char*>(rest.data()), rest.size());

  VirtualBoard board(model, ClockFields{}, 0);
  std::int64_t now = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    now += 250;

    board.chip().advanceTo(now);
    const ChipState chipBefore = chipState(board.chip());
    const ReplyFault faultBefore = board.faults().fault();
    const double rateBefore = board.chip().ratePpm();
    const Pieces shapeBefore = shapeOf(board.faults());
    const auto delayBefore = board.faults().delayMs();

    const std::string answer = runControlCommand(line, board, now);
    check(!answer.empty() && answer.back() == '\n', "every answer is a line of text");

    const std::vector<std::string_view> w = wordsOf(line);
    const std::string_view verb = w.empty() ? std::string_view() : w[0];
    const bool touchesChip =
        (verb == "event" && w.size() == 1) || (verb == "powerfail" && w.size() == 1) ||
        (verb == "battery" && w.size() == 2 && (w[1] == "on" || w[1] == "off"));
    if (!touchesChip)
      check(chipState(board.chip()) == chipBefore,
            "only event, battery and powerfail touch the chip");

    // ppm X: the crystal's error, and nothing else; a bad value changes nothing.
    if (verb == "ppm") {
      const bool set = answer.starts_with("crystal error ");
      check(set || answer.starts_with("usage: ppm"), "ppm answers with the rate or its usage");
      check(set || board.chip().ratePpm() == rateBefore, "a refused ppm leaves the rate");
    } else {
      check(board.chip().ratePpm() == rateBefore, "only ppm changes the clock's rate");
    }

    // delay MS: how late the replies reach the PC, and nothing else; a bad value changes nothing.
    if (verb == "delay") {
      const bool set = answer.starts_with("replies reach the PC ");
      check(set || answer.starts_with("usage: delay"), "delay answers with the delay or its usage");
      check(set || board.faults().delayMs() == delayBefore, "a refused delay leaves the delay");
    } else {
      check(board.faults().delayMs() == delayBefore, "only delay changes the replies' delay");
    }

    if (verb != "fault") {
      check(board.faults().fault() == faultBefore && shapeOf(board.faults()) == shapeBefore,
            "only fault changes the line faults");
      const bool known = w.empty() || ((verb == "help" || verb == "dump") && w.size() == 1) ||
                         touchesChip || verb == "ppm" || verb == "delay";
      check(known || answer.starts_with("unknown command '"),
            "anything else is an unknown command");
      continue;
    }
    // fault off|drop|corrupt|stall, or fault split N: exactly that; anything else changes nothing.
    const std::string_view kind = w.size() >= 2 ? w[1] : std::string_view();
    std::vector<std::uint8_t> dropped(kReply.begin(), kReply.end() - 1);
    std::vector<std::uint8_t> corrupted = kReply;
    corrupted.back() = 0x12;
    std::optional<Pieces> shape;
    if (w.size() == 2 && kind == "off") shape = Pieces{kReply};
    if (w.size() == 2 && kind == "drop") shape = Pieces{dropped};
    if (w.size() == 2 && kind == "corrupt") shape = Pieces{corrupted};
    if (w.size() == 2 && kind == "stall") shape = Pieces{};
    if (w.size() == 3 && kind == "split")
      if (const auto n = pieceSizeOf(w[2])) shape = piecesOf(kReply, *n);
    if (!shape) {
      check(answer.starts_with("usage: fault"),
            "a fault the channel does not know shows the usage");
      check(board.faults().fault() == faultBefore && shapeOf(board.faults()) == shapeBefore,
            "a fault the channel does not know changes nothing");
    } else {
      check(shapeOf(board.faults()) == *shape, "a reply leaves the board as the fault named says");
    }
  }
  return 0;
}
