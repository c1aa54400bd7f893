#include <gtest/gtest.h>

#include <cmath>

#include "accuracy/trim_advice.h"

namespace rtceval {
namespace {

TEST(TrimModel, DtrFollowsTheChipsBitsOnBothLayouts) {
  EXPECT_EQ(TrimModel::dtrPpm(0x01, Layout::A), 20);
  EXPECT_EQ(TrimModel::dtrPpm(0x02, Layout::A), 10);
  EXPECT_EQ(TrimModel::dtrPpm(0x07, Layout::A), -30);
  EXPECT_EQ(TrimModel::dtrPpm(0x05, Layout::B), -40);
  EXPECT_EQ(TrimModel::dtrPpm(0x04, Layout::B), 0);
  EXPECT_EQ(TrimModel::signedAtr(0xE0), -32) << "BMATR bits are not part of the value";
  EXPECT_DOUBLE_EQ(TrimModel::loadPf(0x3F), 10.75);
  EXPECT_EQ(TrimModel::atrPpm(0x00), 0.0);
  EXPECT_LT(TrimModel::atrPpm(0x01), 0.0) << "more load, slower";
}

// The best any setting can do for a crystal `crystalPpm` fast, by brute force.
double bestPossible(double crystalPpm, Layout layout) {
  double best = 1e9;
  for (int dtr = 0; dtr < 8; ++dtr)
    for (int atr = 0; atr < 64; ++atr)
      best =
          std::min(best, std::fabs(crystalPpm + TrimModel::trimPpm({static_cast<std::uint8_t>(atr),
                                                                    static_cast<std::uint8_t>(dtr)},
                                                                   layout)));
  return best;
}

TEST(TrimAdvice, TakesOffTheTrimmingInUseAndFindsTheNearestSetting) {
  for (Layout layout : {Layout::A, Layout::B}) {
    for (double crystal : {37.0, -12.0, 0.4, 95.0, -75.0}) {
      // Measured while ATR = -3 and DTR = +10/20 ppm were set.
      const TrimSetting current{0x3D, 0x02};
      const double measured = crystal + TrimModel::trimPpm(current, layout);
      const TrimAdvice a = adviseTrim(measured, current, layout);
      EXPECT_NEAR(a.crystalPpm, crystal, 1e-9);
      EXPECT_NEAR(a.residualPpm, crystal + TrimModel::trimPpm(a.setting, layout), 1e-9);
      EXPECT_LE(std::fabs(a.residualPpm), bestPossible(crystal, layout) + 0.25)
          << "crystal " << crystal << (layout == Layout::A ? " A" : " B");
      // Nothing with a load nearer the centre comes within the same 0.25 ppm.
      for (int dtr = 0; dtr < 8; ++dtr)
        for (int atr = -32; atr < 32; ++atr) {
          if (std::abs(atr) >= std::abs(TrimModel::signedAtr(a.setting.atr))) continue;
          const TrimSetting other{static_cast<std::uint8_t>(atr & 0x3F),
                                  static_cast<std::uint8_t>(dtr)};
          EXPECT_GT(std::fabs(crystal + TrimModel::trimPpm(other, layout)),
                    std::fabs(a.residualPpm) - 0.25 - 1e-9)
              << atr << " " << dtr;
        }
      EXPECT_NE(a.setting.dtr, 0x04) << "never the minus-zero DTR";
    }
  }
}

TEST(TrimAdvice, AnExactClockNeedsNoTrimming) {
  const TrimAdvice a = adviseTrim(0.0, {}, Layout::A);
  EXPECT_EQ(a.setting, (TrimSetting{0x00, 0x00}));
  EXPECT_EQ(a.residualPpm, 0.0);
  // Twenty ppm fast on layout B: one DTR step, not a far-off load.
  EXPECT_EQ(adviseTrim(20.0, {}, Layout::B).setting, (TrimSetting{0x00, 0x06}));
}

TEST(TrimAdvice, KeepsTheBmatrBitsOfLayoutB) {
  const TrimAdvice a = adviseTrim(37.0, {0xC0, 0x00}, Layout::B);
  EXPECT_EQ(a.setting.atr & 0xC0, 0xC0);
  EXPECT_NEAR(a.crystalPpm, 37.0, 1e-9);
}

}  // namespace
}  // namespace rtceval
