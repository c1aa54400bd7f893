#pragma once

#include <optional>
#include <string>
#include <vector>

#include "accuracy/advice_gate.h"
#include "accuracy/rate_fit.h"
#include "accuracy/trim_advice.h"

namespace rtceval {

// What the accuracy measurement shows of its edges: the rate with its uncertainty, what it makes
// of a day and a month, the trimming advised against the setting read at the start (once the
// rate is known well enough to tell it from its neighbours, AdviceGate; until then how long that
// will take), the offset plot, and the edges as CSV.
class AccuracyReport {
 public:
  static constexpr const char* kNoResult = "误差: 样本不足";
  static constexpr const char* kNoAdvice = "建议: 样本不足";

  // Forgets every edge; the advice is then made against `trimAtStart` on `layout`.
  void clear(const TrimSetting& trimAtStart, Layout layout);
  void clear() { clear(trimAtStart_, layout_); }
  // One more edge: the fit, its texts and the advice follow.
  void add(const EdgeSample& edge);

  const std::vector<EdgeSample>& samples() const { return samples_; }
  std::vector<OffsetPoint> plot() const { return offsetsOf(samples_); }
  const std::optional<RateFit>& fit() const { return fit_; }
  // The advice, only once the gate lets it through.
  const std::optional<TrimAdvice>& advice() const { return advice_; }
  const std::optional<AdviceGate>& gate() const { return gate_; }
  const TrimSetting& trimAtStart() const { return trimAtStart_; }

  // "正在测量: 已取得 N 个样本".
  std::string progressText() const;
  const std::string& resultText() const { return result_; }
  const std::string& perDayText() const { return perDay_; }
  const std::string& perMonthText() const { return perMonth_; }
  const std::string& adviceText() const { return adviceText_; }
  // One line per edge with its PC time and chip second from the first edge, the offset and the
  // bracket's half-width.
  std::string csv() const;

 private:
  TrimSetting trimAtStart_;
  Layout layout_ = Layout::A;
  std::vector<EdgeSample> samples_;
  std::optional<RateFit> fit_;
  std::optional<TrimAdvice> advice_;
  std::optional<AdviceGate> gate_;
  std::string result_ = kNoResult;
  std::string perDay_;
  std::string perMonth_;
  std::string adviceText_ = kNoAdvice;
};

}  // namespace rtceval
