#include "accuracy/accuracy_report.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/value_codecs.h"

namespace rtceval {
namespace {

// A result is shown once a line through this many edges has an uncertainty.
constexpr std::size_t kSamplesForResult = 3;
constexpr double kMsPerSecond = 1000.0;
constexpr double kSecondsPerMinute = 60.0;

std::string fixed(double value, int decimals, bool sign = false) {
  char buffer[64];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text(buffer, ec == std::errc() ? end : buffer);
  if (sign && value >= 0) text.insert(0, "+");
  return text;
}

// Whole minutes, rounded up: an estimate, never promising less than one.
std::string minutesText(double seconds) {
  return std::to_string(std::max(1L, std::lround(std::ceil(seconds / kSecondsPerMinute))));
}

}  // namespace

void AccuracyReport::clear(const TrimSetting& trimAtStart, Layout layout) {
  trimAtStart_ = trimAtStart;
  layout_ = layout;
  samples_.clear();
  fit_.reset();
  advice_.reset();
  gate_.reset();
  result_ = kNoResult;
  perDay_.clear();
  perMonth_.clear();
  adviceText_ = kNoAdvice;
}

std::string AccuracyReport::progressText() const {
  return "正在测量: 已取得 " + std::to_string(samples_.size()) + " 个样本";
}

void AccuracyReport::add(const EdgeSample& edge) {
  samples_.push_back(edge);
  fit_ = fitRate(samples_);
  if (!fit_ || !fit_->uncertaintyPpm || samples_.size() < kSamplesForResult) return;
  result_ = "误差: " + fixed(fit_->ppm, 2, true) + " ± " + fixed(*fit_->uncertaintyPpm, 2) +
            " ppm  (" + std::to_string(fit_->samples) + " 个样本, " + fixed(fit_->spanSeconds, 0) +
            " 秒)";
  perDay_ = "每天: " + fixed(secondsPerDay(fit_->ppm), 3, true) + " 秒";
  perMonth_ = "每月(30天): " + fixed(secondsPerMonth(fit_->ppm), 2, true) + " 秒";
  const TrimAdvice advice = adviseTrim(fit_->ppm, trimAtStart_, layout_);
  gate_ = judgeAdvice(*fit_, advice.setting);
  advice_.reset();
  if (!gate_->enoughSamples) {
    adviceText_ = kNoAdvice;
    return;
  }
  if (!gate_->ready) {
    adviceText_ = "建议: 误差的95%区间 ±" + fixed(gate_->halfIntervalPpm, 2) +
                  " ppm 还分不清相邻的微调设置(需在 ±" + fixed(gate_->halfStepPpm, 2) +
                  " ppm 以内)";
    if (gate_->moreSeconds)
      adviceText_ += "，预计再测约 " + minutesText(*gate_->moreSeconds) + " 分钟";
    return;
  }
  advice_ = advice;
  const TrimSetting& s = advice.setting;
  const int dtrPpm = TrimModel::dtrPpm(s.dtr, layout_);
  // What is left after applying is known no better than the rate it was computed from.
  adviceText_ =
      "建议: ATR = 0x" + HexByte(s.atr) + " (" + std::to_string(TrimModel::signedAtr(s.atr)) +
      ", " + fixed(TrimModel::loadPf(s.atr), 2) + " pF), DTR = 0x" + HexByte(s.dtr) + " (" +
      (dtrPpm > 0 ? "+" : "") + std::to_string(dtrPpm) + " ppm), 预计剩余误差 " +
      fixed(advice.residualPpm, 2, true) + " ± " + fixed(*fit_->uncertaintyPpm, 2) + " ppm";
}

std::string AccuracyReport::csv() const {
  std::string out = "pc_seconds,chip_seconds,offset_ms,bracket_ms\n";
  const std::vector<OffsetPoint> offsets = offsetsOf(samples_);
  for (std::size_t i = 0; i < samples_.size(); ++i) {
    const EdgeSample& s = samples_[i];
    const OffsetPoint& p = offsets[i];
    out += fixed((s.pcMs - samples_.front().pcMs) / kMsPerSecond, 4) + "," +
           std::to_string(s.chipSecond - samples_.front().chipSecond) + "," + fixed(p.offsetMs, 3) +
           "," + fixed(s.halfWidthMs, 3) + "\n";
  }
  return out;
}

}  // namespace rtceval
