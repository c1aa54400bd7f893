#pragma once

namespace rtceval {

// An axis from `low` to `high` marked every `step`: both ends and the step are round values
// (1, 2 or 5 times a power of ten), so every tick is one.
struct AxisTicks {
  double low = 0.0;
  double high = 1.0;
  double step = 1.0;
  int intervals = 1;  // (high − low) / step
};

// The finest round step that covers `from` … `to` with at most `maxIntervals` intervals, and the
// ends widened outwards to multiples of it. An empty or reversed range is taken as one unit wide.
AxisTicks roundTicks(double from, double to, int maxIntervals = 8);

}  // namespace rtceval
