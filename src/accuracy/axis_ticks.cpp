#include "accuracy/axis_ticks.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace rtceval {

AxisTicks roundTicks(double from, double to, int maxIntervals) {
  if (!(to > from)) to = from + 1.0;
  maxIntervals = std::max(maxIntervals, 1);
  // Start a decade below the step an even split would need, then take the first round step that
  // fits; rounding the ends outwards adds at most two intervals.
  double decade = std::pow(10.0, std::floor(std::log10((to - from) / maxIntervals)) - 1);
  constexpr std::array<double, 3> kMantissas = {1.0, 2.0, 5.0};
  for (;;) {
    for (double m : kMantissas) {
      const double step = m * decade;
      const double low = std::floor(from / step + 1e-9) * step;
      const double high = std::ceil(to / step - 1e-9) * step;
      const auto intervals = static_cast<int>(std::lround((high - low) / step));
      if (intervals <= maxIntervals) return {low, high, step, intervals};
    }
    decade *= 10.0;
  }
}

}  // namespace rtceval
