#include "accuracy/rate_fit.h"

#include <cmath>

namespace rtceval {
namespace {
constexpr double kMsPerSecond = 1000.0;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kDaysPerMonth = 30.0;

double offsetMs(const EdgeSample& first, const EdgeSample& s) {
  return static_cast<double>(s.chipSecond - first.chipSecond) * kMsPerSecond -
         (s.pcMs - first.pcMs);
}
}  // namespace

std::optional<RateFit> fitRate(std::span<const EdgeSample> samples) {
  const std::size_t n = samples.size();
  if (n < 2) return std::nullopt;
  const EdgeSample& first = samples.front();
  // Centred sums: the PC times run to millions of ms, their squares would lose the offsets.
  double meanX = 0.0;
  double meanY = 0.0;
  for (const EdgeSample& s : samples) {
    meanX += s.pcMs - first.pcMs;
    meanY += offsetMs(first, s);
  }
  meanX /= static_cast<double>(n);
  meanY /= static_cast<double>(n);
  double sxx = 0.0;
  double sxy = 0.0;
  for (const EdgeSample& s : samples) {
    const double dx = s.pcMs - first.pcMs - meanX;
    sxx += dx * dx;
    sxy += dx * (offsetMs(first, s) - meanY);
  }
  if (sxx <= 0.0) return std::nullopt;
  const double slope = sxy / sxx;
  RateFit fit;
  fit.samples = n;
  fit.spanSeconds = (samples.back().pcMs - first.pcMs) / kMsPerSecond;
  fit.ppm = slope * 1e6;
  fit.interceptMs = meanY - slope * meanX;
  if (n >= 3) {
    double squares = 0.0;
    for (const EdgeSample& s : samples) {
      const double r = offsetMs(first, s) - (fit.interceptMs + slope * (s.pcMs - first.pcMs));
      squares += r * r;
    }
    fit.uncertaintyPpm = std::sqrt(squares / static_cast<double>(n - 2) / sxx) * 1e6;
  }
  return fit;
}

std::vector<OffsetPoint> offsetsOf(std::span<const EdgeSample> samples) {
  std::vector<OffsetPoint> points;
  if (samples.empty()) return points;
  points.reserve(samples.size());
  for (const EdgeSample& s : samples)
    points.push_back({(s.pcMs - samples.front().pcMs) / 60000.0, offsetMs(samples.front(), s)});
  return points;
}

double secondsPerDay(double ppm) {
  return ppm * 1e-6 * kSecondsPerDay;
}

double secondsPerMonth(double ppm) {
  return secondsPerDay(ppm) * kDaysPerMonth;
}

}  // namespace rtceval
