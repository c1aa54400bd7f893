#pragma once

#include <cstdint>

#include "core/device_profile.h"

namespace rtceval {

// The two trimming bytes as the chip holds them.
struct TrimSetting {
  std::uint8_t atr = 0;
  std::uint8_t dtr = 0;
  bool operator==(const TrimSetting&) const = default;
};

// What the trimming registers do to the rate, for a typical 32.768 kHz tuning-fork crystal:
// DTR in steps of 10 ppm (layout A) or 20 ppm (layout B), DTR2 the sign, DTR0 two steps and DTR1
// one; ATR as the load C = ATR × 0.25 pF + 11.0 pF pulling the crystal by
// C1/2 · (1/(C0 + C) − 1/(C0 + 11.0 pF)) with C1 = 2.0 fF and C0 = 1.0 pF. The real crystal's
// C1 and C0 differ from these; a measurement after applying the advice shows what is left.
struct TrimModel {
  static constexpr double kMotionalPf = 0.0020;
  static constexpr double kShuntPf = 1.0;
  static constexpr double kCentreLoadPf = 11.0;
  static constexpr double kLoadStepPf = 0.25;

  static int signedAtr(std::uint8_t atr);
  static double loadPf(std::uint8_t atr);
  static double atrPpm(std::uint8_t atr);
  static int dtrPpm(std::uint8_t dtr, Layout layout);
  // Both trimmings together, in ppm (positive: faster).
  static double trimPpm(const TrimSetting& setting, Layout layout);
};

struct TrimAdvice {
  TrimSetting setting;
  double crystalPpm = 0.0;   // the error with no trimming (ATR = 0, DTR = 0)
  double residualPpm = 0.0;  // the error expected with `setting`
};

// The ATR and DTR bytes that bring a clock measured at `measuredPpm` with `current` nearest to
// 0 ppm. Of settings within 0.25 ppm of each other, the one with the load nearest the centre wins,
// then the smaller digital step. ATR's bits 7 and 6 (BMATR1/BMATR0 on layout B) are kept from
// `current`.
TrimAdvice adviseTrim(double measuredPpm, const TrimSetting& current, Layout layout);

}  // namespace rtceval
