#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "accuracy/edge_bracket.h"
#include "accuracy/rate_fit.h"
#include "accuracy/trim_advice.h"
#include "dialogs/dialog_model.h"

namespace rtceval {

class Timer;
struct DialogContext;

// "走时精度测量": measures the chip's rate against the PC's monotonic clock and advises the
// trimming that brings it nearest to 0 ppm.
//
// Start reads ATR and DTR, then finds the moment at which the chip's second changes once every
// `intervalSeconds`: reads back to back around the expected edge until the second changes, then
// one read a second aimed at the middle of the bracket, for a few seconds (EdgeBracket). Each read
// goes out only when the link's request slot is free, so the main window's timers keep their
// turns and only one request is ever on the line; its send and receive times come from the
// monotonic clock. A least-squares line through the edges gives the rate with its uncertainty,
// live. Apply hands the advised ATR and DTR to the write sequencer and, once they are written,
// starts a new measurement, which reads them back and confirms the result.
class AccuracyWindow : public DialogModel {
 public:
  struct Texts {
    static constexpr const char* kCaption = "走时精度测量";
    static constexpr const char* kStart = "开始(&S)";
    static constexpr const char* kStop = "停止(&T)";
    static constexpr const char* kSave = "保存数据(&V)…";
    static constexpr const char* kApply = "应用建议(&A)";
    static constexpr const char* kInterval = "测量间隔(秒):";
    static constexpr const char* kIdle = "点击“开始”测量芯片时钟相对电脑时钟的走时误差。";
    static constexpr const char* kNoDevice = "请先在“器件”菜单中选择芯片型号。";
    static constexpr const char* kNoPort = "串口未打开，无法测量。";
    static constexpr const char* kReadingTrim = "正在读取ATR和DTR…";
    static constexpr const char* kSeeking = "正在测量: 寻找秒的跳变…";
    static constexpr const char* kTrimFailed = "读取ATR和DTR失败，测量停止。";
    static constexpr const char* kClockStopped = "芯片的秒在两秒内没有变化：时钟未运行，测量停止。";
    static constexpr const char* kTimeChanged = "芯片时间被改动，样本重新开始。";
    static constexpr const char* kStopped = "测量已停止。";
    static constexpr const char* kApplying = "正在写入建议的ATR和DTR，随后重新测量以确认…";
    static constexpr const char* kNoResult = "误差: 样本不足";
    static constexpr const char* kNoAdvice = "建议: 样本不足";
  };

  static constexpr int kDefaultIntervalSeconds = 10;
  static constexpr int kMinIntervalSeconds = 5;
  static constexpr int kMaxIntervalSeconds = 600;

  explicit AccuracyWindow(DialogContext& context);
  ~AccuracyWindow() override;

  void unload() override;
  void replyArrived(CmdStateCode request, bool accepted) override;

  // Events.
  void startClicked();
  void stopClicked();
  void applyClicked();
  void intervalChanged(int seconds);
  // The view wrote (or failed to write) csv() to `path`.
  void csvSaved(const std::string& path, bool ok);

  // The samples as CSV: one line per edge with its PC time, chip second, offset and bracket.
  std::string csv() const;

  // What the view shows.
  bool running() const { return phase_ != Phase::Idle; }
  bool startEnabled() const { return !running(); }
  bool stopEnabled() const { return running(); }
  bool saveEnabled() const { return !samples_.empty(); }
  bool applyEnabled() const { return advice_.has_value() && phase_ != Phase::Applying; }
  int intervalSeconds() const { return intervalSeconds_; }
  const std::string& statusText() const { return status_; }
  const std::string& resultText() const { return result_; }
  const std::string& perDayText() const { return perDay_; }
  const std::string& perMonthText() const { return perMonth_; }
  const std::string& adviceText() const { return adviceText_; }
  const std::vector<EdgeSample>& samples() const { return samples_; }
  std::vector<OffsetPoint> plot() const { return offsetsOf(samples_); }
  const std::optional<RateFit>& fit() const { return fit_; }
  const std::optional<TrimAdvice>& advice() const { return advice_; }
  const TrimSetting& trimAtStart() const { return trimAtStart_; }

 private:
  enum class Phase { Idle, ReadingTrim, Waiting, Acquiring, Refining, Applying };

  void begin();
  void stop(const char* text);
  void startSample();
  void sendRead();
  void send(double now);
  void watchAndAim(double now);
  void onTimer();
  void armAt(double ms);
  void onReadReply(bool accepted);
  void onTrimReply(CmdStateCode request, bool accepted);
  void aimNextRead();
  void finishSample();
  void clearResult();
  double latchFraction() const;
  void refreshResult();
  // The chip second a read showed, counted on from the first; empty when the chip's time was set.
  std::optional<std::int64_t> countedSecond(double atMs);
  void timeChanged();
  double nowMs() const;
  double secondMs() const;
  Layout layout() const;

  DialogContext& context_;
  std::unique_ptr<Timer> timer_;
  Phase phase_ = Phase::Idle;
  int intervalSeconds_ = kDefaultIntervalSeconds;

  // The trimming as read at the start.
  TrimSetting trimAtStart_;
  bool atrRead_ = false;
  bool dtrRead_ = false;

  // The read on the line, if it is this window's.
  bool readInFlight_ = false;
  std::uint64_t readFrame_ = 0;
  double readSentMs_ = 0.0;
  // When the timer fires: the moment a read is to go out at (polling while the line is busy).
  double sendAtMs_ = 0.0;
  double acquireUntilMs_ = 0.0;
  // Watching the line before an aimed read: the frames sent when last looked, and a time read of
  // another window seen leaving (its frame number and when).
  bool watching_ = false;
  std::uint64_t watchedFrames_ = 0;
  std::uint64_t otherRead_ = 0;
  double otherSentMs_ = 0.0;
  // The last reply's wait, smoothed: sets how early an aimed read leaves.
  double roundTripMs_ = 12.0;

  // Chip seconds from the minute and second fields, counted on from the first read.
  bool counting_ = false;
  std::int64_t lastSecond_ = 0;
  double lastSecondAtMs_ = 0.0;

  std::optional<EdgeBracket> bracket_;
  int round_ = 0;               // aimed reads answered
  std::int64_t aimSecond_ = 0;  // the second whose edge the next aimed read is for
  std::vector<EdgeSample> samples_;
  std::optional<RateFit> fit_;
  std::optional<TrimAdvice> advice_;

  std::string status_ = Texts::kIdle;
  std::string result_ = Texts::kNoResult;
  std::string perDay_;
  std::string perMonth_;
  std::string adviceText_ = Texts::kNoAdvice;
};

}  // namespace rtceval
