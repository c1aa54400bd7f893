#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace rtceval {

// One measured edge of the chip's clock: the moment (ms of the monotonic clock) at which the chip
// began second `chipSecond` (seconds counted from the start of the measurement), and half the
// width of the bracket it was found in.
struct EdgeSample {
  std::int64_t chipSecond = 0;
  double pcMs = 0.0;
  double halfWidthMs = 0.0;
};

// The chip's rate against the PC's clock: the least-squares line through the offsets (chip time
// minus PC time, both from the first sample) over PC time.
struct RateFit {
  std::size_t samples = 0;
  double spanSeconds = 0.0;  // PC time from the first sample to the last
  double ppm = 0.0;          // positive: the chip runs fast
  // The standard error of `ppm` from the scatter about the line; empty with fewer than three
  // samples.
  std::optional<double> uncertaintyPpm;
  double interceptMs = 0.0;  // the line's offset at the first sample
};

// Empty with fewer than two samples or when they all stand at one PC time.
std::optional<RateFit> fitRate(std::span<const EdgeSample> samples);

// A point of the offset plot: minutes since the first sample, offset in ms.
struct OffsetPoint {
  double minutes;
  double offsetMs;
};
std::vector<OffsetPoint> offsetsOf(std::span<const EdgeSample> samples);

// What a rate error makes of a day and of a 30-day month, in seconds (positive: gained).
double secondsPerDay(double ppm);
double secondsPerMonth(double ppm);

}  // namespace rtceval
