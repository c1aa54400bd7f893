#include "accuracy/accuracy_report.h"

#include <charconv>

#include "core/value_codecs.h"

namespace rtceval {
namespace {

// A result is shown once a line through this many edges has an uncertainty.
constexpr std::size_t kSamplesForResult = 3;
constexpr double kMsPerSecond = 1000.0;

std::string fixed(double value, int decimals, bool sign = false) {
  char buffer[64];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text(buffer, ec == std::errc() ? end : buffer);
  if (sign && value >= 0) text.insert(0, "+");
  return text;
}

}  // namespace

void AccuracyReport::clear(const TrimSetting& trimAtStart, Layout layout) {
  trimAtStart_ = trimAtStart;
  layout_ = layout;
  samples_.clear();
  fit_.reset();
  advice_.reset();
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
  advice_ = adviseTrim(fit_->ppm, trimAtStart_, layout_);
  const TrimSetting& s = advice_->setting;
  const int dtrPpm = TrimModel::dtrPpm(s.dtr, layout_);
  adviceText_ = "建议: ATR = 0x" + HexByte(s.atr) + " (" +
                std::to_string(TrimModel::signedAtr(s.atr)) + ", " +
                fixed(TrimModel::loadPf(s.atr), 2) + " pF), DTR = 0x" + HexByte(s.dtr) + " (" +
                (dtrPpm > 0 ? "+" : "") + std::to_string(dtrPpm) + " ppm), 预计剩余误差 " +
                fixed(advice_->residualPpm, 2, true) + " ppm";
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
