#include "accuracy/advice_gate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace rtceval {
namespace {

constexpr std::array<double, 30> kT95 = {12.706, 4.303, 3.182, 2.776, 2.571, 2.447, 2.365, 2.306,
                                         2.262,  2.228, 2.201, 2.179, 2.160, 2.145, 2.131, 2.120,
                                         2.110,  2.101, 2.093, 2.086, 2.080, 2.074, 2.069, 2.064,
                                         2.060,  2.056, 2.052, 2.048, 2.045, 2.042};
constexpr double kNormal95 = 1.960;
// Beyond the table, t ≈ 1.96 + 2.4 / dof to within 0.002.
constexpr double kTailCoefficient = 2.4;
constexpr int kLowestAtr = -32;
constexpr int kHighestAtr = 31;
constexpr std::uint8_t kAtrValueBits = 0x3F;
// The span needed is refined this often: the t factor falls as more edges come.
constexpr int kEstimateRounds = 4;

std::uint8_t atrByte(int value) {
  return static_cast<std::uint8_t>(static_cast<unsigned>(value) & kAtrValueBits);
}

}  // namespace

double studentT95(std::size_t dof) {
  if (dof == 0) dof = 1;
  if (dof <= kT95.size()) return kT95[dof - 1];
  return kNormal95 + kTailCoefficient / static_cast<double>(dof);
}

double atrStepPpm(const TrimSetting& advised) {
  const int value = TrimModel::signedAtr(advised.atr);
  const double here = TrimModel::atrPpm(advised.atr);
  double step = 1e9;
  for (int neighbour : {value - 1, value + 1}) {
    if (neighbour < kLowestAtr || neighbour > kHighestAtr) continue;
    step = std::min(step, std::fabs(TrimModel::atrPpm(atrByte(neighbour)) - here));
  }
  return step;
}

AdviceGate judgeAdvice(const RateFit& fit, const TrimSetting& advised) {
  AdviceGate gate;
  gate.halfStepPpm = atrStepPpm(advised) / 2;
  if (!fit.uncertaintyPpm) return gate;
  const double se = *fit.uncertaintyPpm;
  const std::size_t n = fit.samples;
  gate.halfIntervalPpm = studentT95(n - 2) * se;
  gate.enoughSamples = n >= AdviceGate::kSamplesForAdvice;
  if (gate.enoughSamples && gate.halfIntervalPpm <= gate.halfStepPpm) {
    gate.ready = true;
    return gate;
  }
  if (fit.spanSeconds <= 0.0 || n < 3) return gate;
  // SE(T') = SE(T) · (T / T')^1.5, and the edges grow in number with the span.
  double span = fit.spanSeconds;
  for (int round = 0; round < kEstimateRounds; ++round) {
    const auto edges =
        static_cast<std::size_t>(std::ceil(static_cast<double>(n - 1) * span / fit.spanSeconds)) +
        1;
    const double ratio = studentT95(edges - 2) * se / gate.halfStepPpm;
    span = fit.spanSeconds * std::pow(std::max(ratio, 1.0), 2.0 / 3.0);
  }
  gate.moreSeconds = span - fit.spanSeconds;
  return gate;
}

}  // namespace rtceval
