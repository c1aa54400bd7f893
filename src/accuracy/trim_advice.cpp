#include "accuracy/trim_advice.h"

#include <cmath>
#include <cstdlib>

namespace rtceval {
namespace {
constexpr std::uint8_t kAtrValueBits = 0x3F;
constexpr std::uint8_t kDtrBits = 0x07;
constexpr std::uint8_t kDtrSign = 0x04;
// Residuals closer than this count as equally good, so that the tie rules decide: it is below what
// a measurement resolves, and a load near the centre depends least on how strongly this crystal
// is pulled (the pulling constants are typical ones, not this crystal's).
constexpr double kSamePpm = 0.25;
}  // namespace

int TrimModel::signedAtr(std::uint8_t atr) {
  const int value = atr & kAtrValueBits;
  return (value & 0x20) ? value - 0x40 : value;
}

double TrimModel::loadPf(std::uint8_t atr) {
  return signedAtr(atr) * kLoadStepPf + kCentreLoadPf;
}

double TrimModel::atrPpm(std::uint8_t atr) {
  return kMotionalPf / 2.0 * (1.0 / (kShuntPf + loadPf(atr)) - 1.0 / (kShuntPf + kCentreLoadPf)) *
         1e6;
}

int TrimModel::dtrPpm(std::uint8_t dtr, Layout layout) {
  const int steps = ((dtr & 0x01) ? 2 : 0) + ((dtr & 0x02) ? 1 : 0);
  const int magnitude = steps * (layout == Layout::A ? 10 : 20);
  return (dtr & kDtrSign) ? -magnitude : magnitude;
}

double TrimModel::trimPpm(const TrimSetting& setting, Layout layout) {
  return atrPpm(setting.atr) + dtrPpm(setting.dtr, layout);
}

TrimAdvice adviseTrim(double measuredPpm, const TrimSetting& current, Layout layout) {
  TrimAdvice best;
  best.crystalPpm = measuredPpm - TrimModel::trimPpm(current, layout);
  const auto keptBits = static_cast<std::uint8_t>(current.atr & ~kAtrValueBits);
  bool found = false;
  for (std::uint8_t dtr = 0; dtr <= kDtrBits; ++dtr) {
    // DTR2 alone is minus nothing: the plain 0 says the same.
    if (dtr == kDtrSign) continue;
    for (int value = -32; value <= 31; ++value) {
      const TrimSetting candidate{
          static_cast<std::uint8_t>(keptBits | (static_cast<unsigned>(value) & kAtrValueBits)),
          dtr};
      const double residual = best.crystalPpm + TrimModel::trimPpm(candidate, layout);
      if (found) {
        const double gain = std::fabs(best.residualPpm) - std::fabs(residual);
        if (gain < -kSamePpm) continue;
        if (gain <= kSamePpm) {
          const int load = std::abs(value);
          const int bestLoad = std::abs(TrimModel::signedAtr(best.setting.atr));
          if (load > bestLoad) continue;
          if (load == bestLoad && std::abs(TrimModel::dtrPpm(dtr, layout)) >=
                                      std::abs(TrimModel::dtrPpm(best.setting.dtr, layout)))
            continue;
        }
      }
      best.setting = candidate;
      best.residualPpm = residual;
      found = true;
    }
  }
  return best;
}

}  // namespace rtceval
