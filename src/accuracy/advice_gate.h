#pragma once

#include <cstddef>
#include <optional>

#include "accuracy/rate_fit.h"
#include "accuracy/trim_advice.h"

namespace rtceval {

// Whether a measured rate is known well enough to stand behind the trimming advised from it.
//
// The advice is given once the rate's 95 % interval (the slope's standard error times Student's t
// with n − 2 degrees of freedom) reaches no further than half an ATR step either side: the true
// rate then lies nearer the advised setting than any neighbour is from it, so the advised setting
// is the best one, or at worst as good as its neighbour. The step is the smaller of the two
// between the advised ATR value and the values next to it (the pulling grows towards small
// loads). A fit of fewer than `kSamplesForAdvice` edges gives no advice however close its points
// lie: a standard error from so few is itself unreliable.
struct AdviceGate {
  static constexpr std::size_t kSamplesForAdvice = 6;

  bool ready = false;
  bool enoughSamples = false;
  double halfIntervalPpm = 0.0;  // the rate's 95 % interval, either side
  double halfStepPpm = 0.0;      // what it must shrink to
  // How much longer to measure until it has, estimated from the fit so far: with edges evenly
  // spaced the slope's standard error falls as the span to the power −1.5. Empty when ready or
  // when the fit has no uncertainty yet.
  std::optional<double> moreSeconds;
};

// The two-sided 95 % quantile of Student's t with `dof` degrees of freedom (dof ≥ 1).
double studentT95(std::size_t dof);

// The smaller rate change an ATR step up or down makes at `advised`, in ppm.
double atrStepPpm(const TrimSetting& advised);

AdviceGate judgeAdvice(const RateFit& fit, const TrimSetting& advised);

}  // namespace rtceval
