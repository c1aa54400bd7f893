#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "accuracy/edge_bracket.h"
#include "accuracy/rate_fit.h"

namespace rtceval {
namespace {

// Reads latch half-way through their round trip here, so a read sent at s and received at s + 10
// saw the chip at s + 5.
constexpr double kHalf = 0.5;

TEST(EdgeBracket, BackToBackReadsAcrossTheEdgeBracketItBetweenTheirLatches) {
  EdgeBracket b(kHalf, 1000.0);
  b.add({0, 10, 41});  // latched at 5 in second 41: the edge of 42 lies in (5, 1005]
  EXPECT_EQ(b.reference(), 42);
  EXPECT_NEAR(b.widthMs(), 1000.0, 1e-9);
  b.add({10, 20, 41});
  b.add({20, 30, 42});  // latched at 25 in second 42
  EXPECT_DOUBLE_EQ(b.lowMs(), 15.0);
  EXPECT_DOUBLE_EQ(b.highMs(), 25.0);
  ASSERT_TRUE(b.sample().has_value());
  EXPECT_DOUBLE_EQ(b.sample()->pcMs, 20.0);
  EXPECT_DOUBLE_EQ(b.sample()->halfWidthMs, 5.0);
  EXPECT_EQ(b.sample()->chipSecond, 42);
}

TEST(EdgeBracket, ReadsInLaterSecondsNarrowTheSameEdge) {
  // The chip's second lasts 999.9 ms; its second 42 began at 17.3 ms.
  const double second = 999.9;
  const double edge = 17.3;
  const auto shown = [&](double latch) {
    return static_cast<std::int64_t>(std::floor((latch - edge) / second)) + 42;
  };
  EdgeBracket b(kHalf, second);
  for (double sent : {0.0, 10.0, 20.0}) b.add({sent, sent + 10, shown(sent + 5)});
  ASSERT_LT(b.widthMs(), 11.0);
  for (std::int64_t k = 43; k < 50; ++k) {
    const double aim = *b.aimMs(k);
    EXPECT_NEAR(aim, edge + static_cast<double>(k - 42) * second, 6.0);
    b.add({aim - 5, aim + 5, shown(aim)});
  }
  EXPECT_LT(b.widthMs(), 0.2);
  EXPECT_NEAR(b.sample()->pcMs, edge, 0.2);
  EXPECT_EQ(b.contradictions(), 0);
}

TEST(EdgeBracket, AReadThatContradictsTheBracketShrinksItToWhereTheyDisagree) {
  EdgeBracket b(kHalf, 1000.0);
  b.add({0, 10, 41});
  b.add({10, 20, 42});      // edge in (5, 15]
  b.add({1015, 1025, 42});  // latched at 1020 and still second 42: edge of 43 after 1020
  EXPECT_EQ(b.contradictions(), 1);
  EXPECT_DOUBLE_EQ(b.lowMs(), b.highMs());
  EXPECT_DOUBLE_EQ(b.lowMs(), 17.5);
}

TEST(EdgeBracket, NothingToSampleBeforeTheFirstRead) {
  const EdgeBracket b(kHalf, 1000.0);
  EXPECT_FALSE(b.sample().has_value());
  EXPECT_FALSE(b.aimMs(5).has_value());
}

std::vector<EdgeSample> edges(double ppm, int count, double everyS, double startMs, double noiseMs,
                              unsigned seed) {
  std::mt19937 random(seed);
  std::normal_distribution<double> noise(0.0, noiseMs);
  std::vector<EdgeSample> out;
  for (int i = 0; i < count; ++i) {
    const std::int64_t second = 1000 + static_cast<std::int64_t>(i * everyS);
    const double chipElapsedMs = static_cast<double>(second - 1000) * 1000.0;
    out.push_back({second, startMs + chipElapsedMs / (1 + ppm * 1e-6) + noise(random), 1.0});
  }
  return out;
}

TEST(RateFit, FindsTheRateOfAnExactLineWithNoScatter) {
  // Far from the monotonic clock's zero, where squares of raw times would lose the offsets.
  const auto samples = edges(-12.5, 50, 10, 8.6e9, 0.0, 1);
  const auto fit = fitRate(samples);
  ASSERT_TRUE(fit.has_value());
  EXPECT_NEAR(fit->ppm, -12.5, 1e-3);
  ASSERT_TRUE(fit->uncertaintyPpm.has_value());
  EXPECT_LT(*fit->uncertaintyPpm, 1e-3);
  EXPECT_NEAR(fit->spanSeconds, 490, 0.1);
  const auto offsets = offsetsOf(samples);
  EXPECT_NEAR(offsets.back().minutes, 490.0 / 60, 1e-3);
  EXPECT_NEAR(offsets.back().offsetMs, -12.5e-6 * 490000, 0.01) << "a slow chip falls behind";
}

TEST(RateFit, ItsUncertaintyCoversTheTrueRateUnderNoise) {
  int covered = 0;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    const auto fit = fitRate(edges(37.0, 60, 10, 1e6, 2.0, seed));
    ASSERT_TRUE(fit && fit->uncertaintyPpm);
    EXPECT_GT(*fit->uncertaintyPpm, 0.3);
    EXPECT_LT(*fit->uncertaintyPpm, 3.0);
    if (std::fabs(fit->ppm - 37.0) <= 2 * *fit->uncertaintyPpm) ++covered;
  }
  EXPECT_GE(covered, 34) << "about 95 % within two standard errors";
}

TEST(RateFit, NeedsTwoTimesAndThreeSamplesForAnUncertainty) {
  EXPECT_FALSE(fitRate({}).has_value());
  const std::vector<EdgeSample> one{{5, 100.0, 1.0}};
  EXPECT_FALSE(fitRate(one).has_value());
  const std::vector<EdgeSample> sameTime{{5, 100.0, 1.0}, {6, 100.0, 1.0}};
  EXPECT_FALSE(fitRate(sameTime).has_value());
  const std::vector<EdgeSample> two{{5, 100.0, 1.0}, {15, 10100.5, 1.0}};
  const auto fit = fitRate(two);
  ASSERT_TRUE(fit.has_value());
  EXPECT_NEAR(fit->ppm, -49.9975, 1e-4) << "against the PC's 10000.5 ms";
  EXPECT_FALSE(fit->uncertaintyPpm.has_value());
}

TEST(RateFit, ItsUncertaintyIsTheTextbookStandardErrorOfTheSlope) {
  // Offsets 0, +1, −2, +1 ms at PC seconds 0, 9.999, 20.002, 29.999. By hand: mean x 15000 ms,
  // Σdx² = 500 000 006, Σdx·dy = −6, slope −1.2e-8; residuals' squares sum to 6 − 36/Σdx²; with
  // n − 2 = 2 degrees of freedom SE = √(2.99999996 / 500 000 006) = 77.46 ppm (with n − 1 it
  // would be 63.25).
  const std::vector<EdgeSample> four{
      {0, 0.0, 1.0}, {10, 9999.0, 1.0}, {20, 20002.0, 1.0}, {30, 29999.0, 1.0}};
  const auto fit = fitRate(four);
  ASSERT_TRUE(fit && fit->uncertaintyPpm);
  EXPECT_NEAR(fit->ppm, -0.0120, 1e-4);
  EXPECT_NEAR(*fit->uncertaintyPpm, 77.46, 0.01);
}

TEST(RateFit, DaysAndMonthsOfAnError) {
  EXPECT_NEAR(secondsPerDay(37.0), 3.1968, 1e-4);
  EXPECT_NEAR(secondsPerMonth(-10.0), -25.92, 1e-6);
}

}  // namespace
}  // namespace rtceval
