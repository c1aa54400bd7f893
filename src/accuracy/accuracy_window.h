#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "accuracy/accuracy_report.h"
#include "accuracy/edge_sampler.h"
#include "dialogs/dialog_model.h"

namespace rtceval {

class Timer;
struct DialogContext;

// "走时精度测量": measures the chip's rate against the PC's monotonic clock and advises the
// trimming that brings it nearest to 0 ppm.
//
// Start reads ATR and DTR, then the edge sampler finds the moment at which the chip's second
// changes once every `intervalSeconds`, each read taking the link's request slot only when it is
// free. The report fits a line through the edges and gives the rate with its uncertainty, live,
// and the advice once the rate can support it. Apply asks first, naming the registers and values,
// then hands the advised ATR and DTR to the write sequencer. Any write of ATR or DTR during the
// measurement (Apply's or another window's) changes the chip's rate: the fit starts afresh from
// the first edge after it, against the trimming written. Save writes the edges as CSV through the
// file seam.
class AccuracyWindow : public DialogModel, private SampleLine, private SampleListener {
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
    static constexpr const char* kPaused = "评估板断开，测量暂停…";
    static constexpr const char* kResumed = "评估板已重新连接，测量继续";
    static constexpr const char* kTimeChanged = "芯片时间被改动，样本重新开始。";
    static constexpr const char* kStopped = "测量已停止。";
    static constexpr const char* kApplying = "正在写入建议的ATR和DTR，随后重新测量以确认…";
    static constexpr const char* kTrimWritten = "微调已写入，样本从写入后的第一个秒跳变重新开始。";
    static std::string applyQuestion(const TrimSetting& s);
    static std::string slowLine(int roundTripMs) {
      return "线路往返约 " + std::to_string(roundTripMs) +
             " 毫秒，秒的跳变定不准到 ±5 毫秒：请关闭自动读时间或换用直接连接的串口";
    }
    static std::string saved(const std::string& path) { return "样本已保存到 " + path; }
    static std::string notSaved(const std::string& path, const std::string& reason) {
      return "无法写入文件 " + path + "：" + reason;
    }
  };

  static constexpr int kDefaultIntervalSeconds = 10;
  static constexpr int kMinIntervalSeconds = 5;
  static constexpr int kMaxIntervalSeconds = 600;

  explicit AccuracyWindow(DialogContext& context);
  ~AccuracyWindow() override;

  void unload() override;
  void replyArrived(const ReplyNote& reply) override;

  // Events.
  void startClicked();
  void stopClicked();
  void applyClicked();
  void intervalChanged(int seconds);
  // Writes csv() to `path` (the file the user chose) and says in the status whether it could.
  void saveTo(const std::string& path);

  // The samples as CSV: one line per edge with its PC time, chip second, offset and bracket.
  std::string csv() const { return report_.csv(); }

  // What the view shows.
  bool running() const { return phase_ != Phase::Idle; }
  bool startEnabled() const { return !running(); }
  bool stopEnabled() const { return running(); }
  bool saveEnabled() const { return !report_.samples().empty(); }
  bool applyEnabled() const {
    return report_.advice().has_value() && phase_ == Phase::Measuring && writesDue_ == 0;
  }
  int intervalSeconds() const { return intervalSeconds_; }
  const std::string& statusText() const { return status_; }
  const std::string& resultText() const { return report_.resultText(); }
  const std::string& perDayText() const { return report_.perDayText(); }
  const std::string& perMonthText() const { return report_.perMonthText(); }
  const std::string& adviceText() const { return report_.adviceText(); }
  const std::vector<EdgeSample>& samples() const { return report_.samples(); }
  std::vector<OffsetPoint> plot() const { return report_.plot(); }
  const std::optional<RateFit>& fit() const { return report_.fit(); }
  const std::optional<TrimAdvice>& advice() const { return report_.advice(); }
  const std::optional<AdviceGate>& adviceGate() const { return report_.gate(); }
  const TrimSetting& trimAtStart() const { return report_.trimAtStart(); }

 private:
  enum class Phase { Idle, ReadingTrim, Measuring };

  void stop(const char* text);
  void onTimer();
  void onTrimReply(const ReplyNote& reply);
  void trimWritten(bool accepted);
  Layout layout() const;

  // The line, as the sampler sees it.
  bool portOpen() const override;
  bool lineFree() const override;
  RequestTicket readTime() override;
  bool timeReadOnLine() const override;
  // What the sampler finds.
  void edgeFound(const EdgeSample& edge, bool afresh) override;
  void timeChanged() override;
  void paused() override;
  void resumed() override;
  void ended(End why) override;
  void edgesMissed(std::chrono::duration<double, std::milli> roundTrip) override;

  DialogContext& context_;
  // The time-outs of reading the trimming and of the write sequencer's steps.
  std::unique_ptr<Timer> timer_;
  EdgeSampler sampler_;
  AccuracyReport report_;
  int observer_ = 0;
  Phase phase_ = Phase::Idle;
  int intervalSeconds_ = kDefaultIntervalSeconds;
  // Apply's writes whose replies have not come yet.
  int writesDue_ = 0;

  // The trimming read at the start: the tickets of its two reads, and what they showed.
  RequestTicket atrRead_ = 0;
  RequestTicket dtrRead_ = 0;
  std::optional<std::uint8_t> atr_;
  std::optional<std::uint8_t> dtr_;

  std::string status_ = Texts::kIdle;
};

}  // namespace rtceval
