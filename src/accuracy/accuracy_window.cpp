#include "accuracy/accuracy_window.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "board_link/board_link.h"
#include "board_link/chip_commands.h"
#include "board_link/write_sequencer.h"
#include "core/chip_reads.h"
#include "core/device_profile.h"
#include "core/protocol.h"
#include "core/register_image.h"
#include "core/register_map.h"
#include "dialogs/dialog_context.h"
#include "platform/timer.h"

namespace rtceval {
namespace {

constexpr double kNominalSecondMs = 1000.0;
// How long back-to-back reads look for the change of the second before the clock counts as
// stopped: two seconds and a half, so a slow line still sees one change.
constexpr double kAcquireMs = 2500.0;
// Back-to-back reads have seen the second change once the bracket is this narrow (one read alone
// brackets the next edge within a whole second).
constexpr double kAcquiredMs = 100.0;
// Reads around the expected edge start this long before it.
constexpr double kLeadMs = 80.0;
// A reply later than this is taken as lost; the link's own time-out tells the user.
constexpr double kReplyGuardMs = 250.0;
// A read aimed at an edge that cannot leave within this much of its moment waits for the next
// second.
constexpr double kAimSlackMs = 15.0;
// The line is watched this long before an aimed read for a time read of another window.
constexpr double kWatchMs = 30.0;
// Aimed reads after the bracket is first closed; each halves it. A second whose read could not
// go out in time (the slot was taken) does not count, but the aiming ends after kAimSeconds.
constexpr int kRefineRounds = 5;
constexpr int kAimSeconds = 8;
// A bracket still wider than this (every aimed read missed) gives no edge worth fitting.
constexpr double kWidestHalfMs = 5.0;
constexpr double kGoodEnoughMs = 0.5;
// An edge further than this from the line through the earlier ones means the chip's time was set.
constexpr double kJumpMs = 50.0;
constexpr double kRateSpan = 500e-6;
constexpr double kTrimReadTimeoutMs = 3000.0;
// The write sequencer's six steps take 300 ms; the new measurement starts once they are over.
constexpr double kAfterApplyMs = 1500.0;
constexpr int kSecondsPerHour = 3600;
constexpr int kSecondsOff = 2;
constexpr std::size_t kSamplesForResult = 3;

std::string fixed(double value, int decimals, bool sign = false) {
  char buffer[64];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text(buffer, ec == std::errc() ? end : buffer);
  if (sign && value >= 0) text.insert(0, "+");
  return text;
}

std::string hexByte(std::uint8_t b) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[b >> 4] + kDigits[b & 0x0F];
}

// A BCD byte's value, or nothing when a digit is not decimal.
std::optional<int> bcd(std::uint8_t b) {
  if ((b >> 4) > 9 || (b & 0x0F) > 9) return std::nullopt;
  return (b >> 4) * 10 + (b & 0x0F);
}

}  // namespace

AccuracyWindow::AccuracyWindow(DialogContext& context)
    : context_(context), timer_(context.timers.createTimer()) {
  timer_->setTickHandler([this] { onTimer(); });
}

AccuracyWindow::~AccuracyWindow() = default;

void AccuracyWindow::unload() {
  timer_->setEnabled(false);
  phase_ = Phase::Idle;
  readInFlight_ = false;
}

double AccuracyWindow::nowMs() const {
  return static_cast<double>(context_.clock.elapsedMs());
}

double AccuracyWindow::secondMs() const {
  // The chip's second as measured so far: the next edges are predicted with it.
  const double ppm = fit_ ? fit_->ppm : 0.0;
  return kNominalSecondMs / (1.0 + ppm * 1e-6);
}

Layout AccuracyWindow::layout() const {
  return layoutOf(context_.profile.Is1208Family);
}

void AccuracyWindow::armAt(double ms) {
  const auto wait = static_cast<Millis::rep>(std::ceil(ms - nowMs()));
  timer_->setEnabled(false);
  timer_->setInterval(Millis(std::max<Millis::rep>(wait, 1)));
  timer_->setEnabled(true);
}

void AccuracyWindow::startClicked() {
  if (running()) return;
  // Every model has alarm 0: without it no model is selected yet.
  if (!context_.profile.HasAlarm0) {
    status_ = Texts::kNoDevice;
    return;
  }
  if (!context_.link.isPortOpen()) {
    status_ = Texts::kNoPort;
    return;
  }
  phase_ = Phase::ReadingTrim;
  atrRead_ = false;
  dtrRead_ = false;
  status_ = Texts::kReadingTrim;
  for (RegisterId id : {RegisterId::ATR, RegisterId::DTR}) {
    const RegisterInfo& reg = registerOf(id);
    context_.link.ReadReg(*reg.address(layout()), reg.read.state, reg.read.text);
  }
  armAt(nowMs() + kTrimReadTimeoutMs);
}

void AccuracyWindow::stopClicked() {
  if (running()) stop(Texts::kStopped);
}

void AccuracyWindow::stop(const char* text) {
  timer_->setEnabled(false);
  phase_ = Phase::Idle;
  readInFlight_ = false;
  bracket_.reset();
  status_ = text;
}

void AccuracyWindow::intervalChanged(int seconds) {
  intervalSeconds_ = std::clamp(seconds, kMinIntervalSeconds, kMaxIntervalSeconds);
}

void AccuracyWindow::applyClicked() {
  if (!applyEnabled()) return;
  const TrimSetting setting = advice_->setting;
  stop(Texts::kApplying);
  context_.registers.RegATR = setting.atr;
  context_.registers.RegDTR = setting.dtr;
  context_.sequencer.start(registerOf(RegisterId::ATR).write.state);
  context_.sequencer.start(registerOf(RegisterId::DTR).write.state);
  phase_ = Phase::Applying;
  armAt(nowMs() + kAfterApplyMs);
}

void AccuracyWindow::begin() {
  counting_ = false;
  clearResult();
  status_ = Texts::kSeeking;
  startSample();
}

double AccuracyWindow::latchFraction() const {
  // The chip latches its time once the request's bytes are on the board: that share of a read's
  // round trip, from the sizes of the request (five payload bytes) and the reply.
  const auto requestBytes = static_cast<double>(protocol::kFrameOverhead + 5);
  const auto replyBytes = static_cast<double>(protocol::kFrameOverhead + timeBlock(layout()).count);
  return requestBytes / (requestBytes + replyBytes);
}

void AccuracyWindow::startSample() {
  bracket_.emplace(latchFraction(), secondMs());
  phase_ = Phase::Acquiring;
  acquireUntilMs_ = nowMs() + kAcquireMs;
  sendRead();
}

void AccuracyWindow::sendRead() {
  if (!context_.link.isPortOpen()) {
    stop(Texts::kNoPort);
    return;
  }
  const double now = nowMs();
  if (phase_ == Phase::Refining) {
    watchAndAim(now);
    return;
  }
  if (!context_.link.lineFree()) {
    // Another request holds the slot: look again in a millisecond.
    armAt(now + 1);
    return;
  }
  send(now);
}

void AccuracyWindow::send(double now) {
  readSentMs_ = now;
  context_.commands.CmdReadTime();
  readFrame_ = context_.link.framesSent();
  readInFlight_ = true;
  armAt(now + kReplyGuardMs);
}

void AccuracyWindow::watchAndAim(double now) {
  // The line is watched every millisecond before the aimed moment: a time read that another
  // window sends meanwhile is seen leaving, and its reply is as good as this window's own read.
  const std::uint64_t frames = context_.link.framesSent();
  if (watching_ && frames != watchedFrames_ && context_.link.pendingRequest() == StReadTime) {
    otherRead_ = frames;
    otherSentMs_ = now - 0.5;  // it left within the last millisecond
  }
  watchedFrames_ = frames;
  watching_ = true;
  if (now < sendAtMs_) {
    armAt(now + 1);
    return;
  }
  if (context_.link.lineFree()) {
    send(now);
    return;
  }
  // Only a read that latches inside the bracket tells more than is known.
  const double otherLatchMs = otherSentMs_ + roundTripMs_ * latchFraction();
  const double shiftMs = static_cast<double>(aimSecond_ - bracket_->reference()) * secondMs();
  if (otherRead_ == frames && otherLatchMs > bracket_->lowMs() + shiftMs &&
      otherLatchMs < bracket_->highMs() + shiftMs) {
    readSentMs_ = otherSentMs_;
    readFrame_ = frames;
    readInFlight_ = true;
    armAt(now + kReplyGuardMs);
    return;
  }
  // The slot stays taken past the moment: this second's edge is missed, the next one is aimed at.
  if (now > sendAtMs_ + kAimSlackMs) {
    aimNextRead();
    return;
  }
  armAt(now + 1);
}

void AccuracyWindow::onTimer() {
  timer_->setEnabled(false);
  switch (phase_) {
    case Phase::Idle:
      break;
    case Phase::ReadingTrim:
      stop(Texts::kTrimFailed);
      break;
    case Phase::Applying:
      phase_ = Phase::Idle;
      startClicked();
      break;
    case Phase::Waiting:
      startSample();
      break;
    case Phase::Acquiring:
    case Phase::Refining:
      if (readInFlight_) {
        // The reply is lost: the next read goes out as if it had failed.
        readInFlight_ = false;
        if (phase_ == Phase::Refining) {
          aimNextRead();
          break;
        }
      }
      sendRead();
      break;
  }
}

void AccuracyWindow::replyArrived(CmdStateCode request, bool accepted) {
  if (phase_ == Phase::ReadingTrim && (request == registerOf(RegisterId::ATR).read.state ||
                                       request == registerOf(RegisterId::DTR).read.state)) {
    onTrimReply(request, accepted);
    return;
  }
  // Only the reply to this window's own read: the main window's time reads answer too.
  if (request == StReadTime && readInFlight_ && context_.link.framesSent() == readFrame_)
    onReadReply(accepted);
}

void AccuracyWindow::onTrimReply(CmdStateCode request, bool accepted) {
  if (!accepted) {
    stop(Texts::kTrimFailed);
    return;
  }
  if (request == registerOf(RegisterId::ATR).read.state) {
    trimAtStart_.atr = context_.registers.RegATR;
    atrRead_ = true;
  } else {
    trimAtStart_.dtr = context_.registers.RegDTR;
    dtrRead_ = true;
  }
  if (atrRead_ && dtrRead_) {
    timer_->setEnabled(false);
    begin();
  }
}

std::optional<std::int64_t> AccuracyWindow::countedSecond(double atMs) {
  const ChipTime& t = context_.reads.time.time;
  const int value = *bcd(t.minute) * 60 + *bcd(t.second);
  if (!counting_) {
    counting_ = true;
    lastSecond_ = value;
    lastSecondAtMs_ = atMs;
    return value;
  }
  // The minute and second fields count round once an hour: the count goes on from the second
  // expected by now to the nearest one that shows these fields. Further off than a read's
  // uncertainty, the chip's time has been set.
  const std::int64_t expected =
      lastSecond_ + std::llround((atMs - lastSecondAtMs_) / kNominalSecondMs);
  std::int64_t diff = (value - expected) % kSecondsPerHour;
  if (diff < 0) diff += kSecondsPerHour;
  if (diff >= kSecondsPerHour / 2) diff -= kSecondsPerHour;
  if (std::abs(diff) > kSecondsOff) return std::nullopt;
  lastSecond_ = expected + diff;
  lastSecondAtMs_ = atMs;
  return lastSecond_;
}

void AccuracyWindow::timeChanged() {
  clearResult();
  counting_ = false;
  status_ = Texts::kTimeChanged;
  startSample();
}

void AccuracyWindow::onReadReply(bool accepted) {
  readInFlight_ = false;
  timer_->setEnabled(false);
  const double received = nowMs();
  const ChipTime& t = context_.reads.time.time;
  const bool readable =
      accepted && bcd(t.second).value_or(60) < 60 && bcd(t.minute).value_or(60) < 60;
  if (!readable) {
    if (phase_ == Phase::Refining)
      aimNextRead();
    else
      sendRead();
    return;
  }
  roundTripMs_ += ((received - readSentMs_) - roundTripMs_) / 4;
  const std::optional<std::int64_t> second = countedSecond(received);
  if (!second) {
    timeChanged();
    return;
  }
  const TimedRead read{readSentMs_, received, *second};
  bracket_->add(read);
  if (phase_ == Phase::Refining) {
    ++round_;
    aimNextRead();
    return;
  }
  if (bracket_->widthMs() < kAcquiredMs) {
    phase_ = Phase::Refining;
    round_ = 0;
    aimSecond_ = bracket_->reference();
    aimNextRead();
  } else if (received > acquireUntilMs_) {
    stop(Texts::kClockStopped);
  } else {
    sendRead();
  }
}

void AccuracyWindow::aimNextRead() {
  const std::int64_t lastAim = bracket_->reference() + std::min(kAimSeconds, intervalSeconds_ - 2);
  if (round_ >= kRefineRounds || bracket_->widthMs() <= kGoodEnoughMs || aimSecond_ >= lastAim) {
    finishSample();
    return;
  }
  ++aimSecond_;
  const double lead = roundTripMs_ * latchFraction();
  sendAtMs_ = *bracket_->aimMs(aimSecond_) - lead;
  watching_ = false;
  otherRead_ = 0;
  armAt(sendAtMs_ - kWatchMs);
}

void AccuracyWindow::finishSample() {
  std::optional<EdgeSample> sample = bracket_->sample();
  if (sample && sample->halfWidthMs > kWidestHalfMs) sample.reset();
  bracket_.reset();
  bool jumped = false;
  if (sample && !samples_.empty()) {
    // Where the line through the earlier edges (or the nominal rate) puts this one.
    // The rate is not known well from a few edges: over a long gap (edges missed while the slot
    // was taken) any rate a crystal may have is allowed for.
    const EdgeSample& last = samples_.back();
    const double gapMs = sample->pcMs - last.pcMs;
    const double second = samples_.size() >= kSamplesForResult ? secondMs() : kNominalSecondMs;
    const double expectedMs =
        last.pcMs + static_cast<double>(sample->chipSecond - last.chipSecond) * second;
    jumped = std::fabs(sample->pcMs - expectedMs) > kJumpMs + gapMs * kRateSpan;
    if (jumped) clearResult();
  }
  if (sample) {
    samples_.push_back(*sample);
    refreshResult();
    if (jumped) status_ = Texts::kTimeChanged;
  }
  // The next edge to measure, a whole number of intervals on.
  phase_ = Phase::Waiting;
  const double edgeMs = sample ? sample->pcMs : nowMs();
  armAt(edgeMs + intervalSeconds_ * secondMs() - kLeadMs);
}

void AccuracyWindow::clearResult() {
  samples_.clear();
  fit_.reset();
  advice_.reset();
  result_ = Texts::kNoResult;
  perDay_.clear();
  perMonth_.clear();
  adviceText_ = Texts::kNoAdvice;
}

void AccuracyWindow::refreshResult() {
  status_ = "正在测量: 已取得 " + std::to_string(samples_.size()) + " 个样本";
  fit_ = fitRate(samples_);
  if (!fit_ || !fit_->uncertaintyPpm || samples_.size() < kSamplesForResult) return;
  result_ = "误差: " + fixed(fit_->ppm, 2, true) + " ± " + fixed(*fit_->uncertaintyPpm, 2) +
            " ppm  (" + std::to_string(fit_->samples) + " 个样本, " + fixed(fit_->spanSeconds, 0) +
            " 秒)";
  perDay_ = "每天: " + fixed(secondsPerDay(fit_->ppm), 3, true) + " 秒";
  perMonth_ = "每月(30天): " + fixed(secondsPerMonth(fit_->ppm), 2, true) + " 秒";
  advice_ = adviseTrim(fit_->ppm, trimAtStart_, layout());
  const TrimSetting& s = advice_->setting;
  adviceText_ = "建议: ATR = " + hexByte(s.atr) + " (" +
                std::to_string(TrimModel::signedAtr(s.atr)) + ", " +
                fixed(TrimModel::loadPf(s.atr), 2) + " pF), DTR = " + hexByte(s.dtr) + " (" +
                (TrimModel::dtrPpm(s.dtr, layout()) > 0 ? "+" : "") +
                std::to_string(TrimModel::dtrPpm(s.dtr, layout())) + " ppm), 预计剩余误差 " +
                fixed(advice_->residualPpm, 2, true) + " ppm";
}

void AccuracyWindow::csvSaved(const std::string& path, bool ok) {
  status_ = ok ? "样本已保存到 " + path : "无法写入文件 " + path;
}

std::string AccuracyWindow::csv() const {
  std::string out = "pc_seconds,chip_seconds,offset_ms,bracket_ms\n";
  const std::vector<OffsetPoint> offsets = offsetsOf(samples_);
  for (std::size_t i = 0; i < samples_.size(); ++i) {
    const EdgeSample& s = samples_[i];
    const OffsetPoint& p = offsets[i];
    out += fixed((s.pcMs - samples_.front().pcMs) / kNominalSecondMs, 4) + "," +
           std::to_string(s.chipSecond - samples_.front().chipSecond) + "," + fixed(p.offsetMs, 3) +
           "," + fixed(s.halfWidthMs, 3) + "\n";
  }
  return out;
}

}  // namespace rtceval
