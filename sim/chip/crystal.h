#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace rtceval::sim {

// The 32.768 kHz tuning-fork crystal on the board and the chip's two trimmings of its rate.
//
// The crystal is pulled by its load capacitance as the equivalent circuit of a quartz resonator
// has it: f(C) = fs · (1 + C1 / (2 · (C0 + C))), so moving the load from C_a to C_b changes the
// rate by C1/2 · (1/(C0 + C_b) − 1/(C0 + C_a)). The on-chip load is ATR × 0.25 pF + 11.0 pF with
// ATR a six-bit two's-complement number; the crystal's own error (`crystalPpm`) is its error at
// the load of ATR = 0. DTR adds or removes counts of the divider: DTR2 is the sign, DTR1 one step
// and DTR0 two steps, a step being 10 ppm on layout A and 20 ppm on layout B.
struct Crystal {
  static constexpr double kMotionalPf = 0.0020;  // C1: 2.0 fF
  static constexpr double kShuntPf = 1.0;        // C0
  static constexpr double kCentreLoadPf = 11.0;  // the chip's load at ATR = 0
  static constexpr double kLoadStepPf = 0.25;    // per ATR step

  // ATR's six value bits (ATR5 the sign) as a signed number, −32 … 31.
  static int signedAtr(std::uint8_t atr);
  // The load the chip puts on the crystal for an ATR byte, in pF.
  static double loadPf(std::uint8_t atr);
  // How far the load of `atr` pulls the rate from that of ATR = 0, in ppm (positive: faster).
  static double pullingPpm(std::uint8_t atr);
  // The digital trimming of a DTR byte, in ppm (positive: the clock runs faster).
  static double digitalTrimPpm(std::uint8_t dtr, bool layoutA);
  // The clock's rate error with both trimmings, in ppm (positive: the clock runs fast).
  static double ratePpm(double crystalPpm, std::uint8_t atr, std::uint8_t dtr, bool layoutA);

  // The largest crystal error the board takes, either way: far beyond any crystal in use.
  static constexpr double kMaxCrystalPpm = 1000.0;
  // A crystal error as written on a command line ("37", "-12.5"); empty when it is not a number
  // or lies beyond kMaxCrystalPpm.
  static std::optional<double> parsePpm(std::string_view text);
};

}  // namespace rtceval::sim
