#include "sim/saved_board.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <iomanip>
#include <map>
#include <sstream>
#include <vector>

namespace rtceval::sim {
namespace {

constexpr std::string_view kFirstLine = "rtceval virtual board 1";

std::string hexBytes(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  text.reserve(count * 3);
  char two[4];
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(two, sizeof two, "%02x", bytes[i]);
    if (i != 0) text += ' ';
    text += two;
  }
  return text;
}

// Exactly `count` bytes of two hexadecimal digits each, separated by single spaces.
std::optional<std::vector<std::uint8_t>> readHexBytes(std::string_view text, std::size_t count) {
  std::vector<std::uint8_t> bytes;
  std::istringstream in{std::string(text)};
  std::string word;
  while (in >> word) {
    if (word.size() != 2 || !std::isxdigit(static_cast<unsigned char>(word[0])) ||
        !std::isxdigit(static_cast<unsigned char>(word[1])))
      return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
  }
  if (bytes.size() != count) return std::nullopt;
  return bytes;
}

std::optional<double> readNumber(const std::string& text) {
  std::istringstream in(text);
  double value = 0.0;
  if (!(in >> value) || !(in >> std::ws).eof() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::string savedBoardText(const SavedBoard& board) {
  const RtcChip::Saved& chip = board.chip;
  const ClockFields& t = chip.time;
  const std::uint8_t time[] = {t.second, t.minute, t.hour,    t.date,
                               t.month,  t.year,   t.weekday, t.century};
  std::ostringstream out;
  out << std::setprecision(17) << kFirstLine << '\n'
      << "model " << profileOf(board.model).name << '\n'
      << "saved-at-ms " << board.savedAtMs << '\n'
      << "time " << hexBytes(time, sizeof time) << '\n'
      << "ms-into-second " << chip.msIntoSecond << '\n'
      << "crystal-ppm " << chip.crystalPpm << '\n'
      << "status " << hexBytes(&chip.status, 1) << '\n'
      << "registers " << hexBytes(chip.registers.data(), chip.registers.size()) << '\n'
      << "eeprom " << hexBytes(chip.eeprom.data(), chip.eeprom.size()) << '\n';
  return out.str();
}

std::optional<SavedBoard> readSavedBoard(std::string_view text) {
  std::istringstream in{std::string(text)};
  std::string line;
  if (!std::getline(in, line) || line != kFirstLine) return std::nullopt;
  std::map<std::string, std::string> fields;
  while (std::getline(in, line)) {
    const auto space = line.find(' ');
    if (space == std::string::npos) return std::nullopt;
    if (!fields.emplace(line.substr(0, space), line.substr(space + 1)).second) return std::nullopt;
  }
  const auto field = [&](const char* name) -> const std::string* {
    const auto it = fields.find(name);
    return it == fields.end() ? nullptr : &it->second;
  };
  const std::string* model = field("model");
  const std::string* savedAt = field("saved-at-ms");
  const std::string* time = field("time");
  const std::string* phase = field("ms-into-second");
  const std::string* crystal = field("crystal-ppm");
  const std::string* status = field("status");
  const std::string* registers = field("registers");
  const std::string* eeprom = field("eeprom");
  if (!model || !savedAt || !time || !phase || !crystal || !status || !registers || !eeprom)
    return std::nullopt;

  SavedBoard board;
  const auto chipModel = chipModelFromName(*model);
  const auto savedAtMs = readNumber(*savedAt);
  const auto msIntoSecond = readNumber(*phase);
  const auto crystalPpm = readNumber(*crystal);
  const auto timeBytes = readHexBytes(*time, 8);
  const auto statusByte = readHexBytes(*status, 1);
  const auto registerBytes = readHexBytes(*registers, board.chip.registers.size());
  const auto eepromBytes = readHexBytes(*eeprom, board.chip.eeprom.size());
  if (!chipModel || !savedAtMs || !msIntoSecond || !crystalPpm || !timeBytes || !statusByte ||
      !registerBytes || !eepromBytes)
    return std::nullopt;
  // The crystal within what the board accepts, the running second within a second.
  if (std::abs(*crystalPpm) > 1000.0 || *msIntoSecond < 0.0 || *msIntoSecond > 1000.0)
    return std::nullopt;
  board.model = *chipModel;
  board.savedAtMs = static_cast<std::int64_t>(*savedAtMs);
  const std::vector<std::uint8_t>& t = *timeBytes;
  board.chip.time = ClockFields{t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7]};
  board.chip.msIntoSecond = *msIntoSecond;
  board.chip.crystalPpm = *crystalPpm;
  board.chip.status = (*statusByte)[0];
  std::copy(registerBytes->begin(), registerBytes->end(), board.chip.registers.begin());
  std::copy(eepromBytes->begin(), eepromBytes->end(), board.chip.eeprom.begin());
  return board;
}

}  // namespace rtceval::sim
