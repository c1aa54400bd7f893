#include <gtest/gtest.h>

#include <cmath>

#include "accuracy/trim_advice.h"
#include "sim/chip/crystal.h"

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

// The virtual board's crystal: what a setting really does to the rate there.
double rateOn(double crystalPpm, const TrimSetting& setting, Layout layout) {
  return sim::Crystal::ratePpm(crystalPpm, setting.atr, setting.dtr, layout == Layout::A);
}

TEST(TrimAdvice, MeasuredWithTheTrimmingInUseItBringsTheCrystalNearestToZero) {
  for (Layout layout : {Layout::A, Layout::B}) {
    for (double crystal : {37.0, -12.0, 0.4, 95.0, -75.0}) {
      SCOPED_TRACE(::testing::Message()
                   << "crystal " << crystal << (layout == Layout::A ? " A" : " B"));
      // Measured on the board while ATR = -3 and DTR = +10/20 ppm were set.
      const TrimSetting current{0x3D, 0x02};
      const TrimAdvice a = adviseTrim(rateOn(crystal, current, layout), current, layout);
      EXPECT_NEAR(a.crystalPpm, crystal, 1e-6);
      EXPECT_NEAR(a.residualPpm, rateOn(crystal, a.setting, layout), 1e-6);
      // As near 0 as any setting gets on that crystal, give or take the 0.25 ppm in which the
      // load nearest the centre wins; and nothing with a load nearer the centre is in that band.
      for (int dtr = 0; dtr < 8; ++dtr)
        for (int atr = -32; atr < 32; ++atr) {
          const TrimSetting other{static_cast<std::uint8_t>(atr & 0x3F),
                                  static_cast<std::uint8_t>(dtr)};
          const double rate = std::fabs(rateOn(crystal, other, layout));
          EXPECT_GE(rate, std::fabs(a.residualPpm) - 0.25 - 1e-9) << atr << " " << dtr;
          if (std::abs(atr) < std::abs(TrimModel::signedAtr(a.setting.atr))) {
            EXPECT_GT(rate, std::fabs(a.residualPpm) - 0.25 - 1e-9) << atr << " " << dtr;
          }
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
