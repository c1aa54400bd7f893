#include "sim/chip/crystal.h"

#include <charconv>
#include <cmath>

namespace rtceval::sim {

int Crystal::signedAtr(std::uint8_t atr) {
  const int value = atr & 0x3F;
  return (value & 0x20) ? value - 0x40 : value;
}

double Crystal::loadPf(std::uint8_t atr) {
  return signedAtr(atr) * kLoadStepPf + kCentreLoadPf;
}

double Crystal::pullingPpm(std::uint8_t atr) {
  const double shifted = 1.0 / (kShuntPf + loadPf(atr)) - 1.0 / (kShuntPf + kCentreLoadPf);
  return kMotionalPf / 2.0 * shifted * 1e6;
}

double Crystal::digitalTrimPpm(std::uint8_t dtr, bool layoutA) {
  const int steps = ((dtr & 0x01) ? 2 : 0) + ((dtr & 0x02) ? 1 : 0);
  const int stepPpm = layoutA ? 10 : 20;
  return (dtr & 0x04) ? -steps * stepPpm : steps * stepPpm;
}

double Crystal::ratePpm(double crystalPpm, std::uint8_t atr, std::uint8_t dtr, bool layoutA) {
  return crystalPpm + pullingPpm(atr) + digitalTrimPpm(dtr, layoutA);
}

std::optional<double> Crystal::parsePpm(std::string_view text) {
  // from_chars takes no leading plus sign; a user may well write one.
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double ppm = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), ppm);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!std::isfinite(ppm) || std::fabs(ppm) > kMaxCrystalPpm) return std::nullopt;
  return ppm;
}

}  // namespace rtceval::sim
