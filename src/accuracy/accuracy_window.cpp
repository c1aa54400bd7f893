#include "accuracy/accuracy_window.h"

#include <algorithm>

#include "board_link/board_link.h"
#include "board_link/requests.h"
#include "board_link/write_sequencer.h"
#include "core/chip_reads.h"
#include "core/device_profile.h"
#include "core/protocol.h"
#include "core/register_image.h"
#include "core/register_map.h"
#include "dialogs/dialog_context.h"
#include "platform/desktop.h"
#include "platform/timer.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;

constexpr Millis kTrimReadTimeout = 3s;
// The write sequencer's six steps take 300 ms; the new measurement starts once they are over.
constexpr Millis kAfterApply = 1500ms;

}  // namespace

AccuracyWindow::AccuracyWindow(DialogContext& context)
    : context_(context),
      timer_(context.timers.createTimer()),
      sampler_(*this, *this, context.timers, context.clock) {
  timer_->setTickHandler([this] { onTimer(); });
  sampler_.setInterval(std::chrono::seconds(intervalSeconds_));
  // Every frame sent is seen: a time read of another window may be borrowed, and a frame after
  // it ends it.
  observer_ = context.link.addFrameObserver([this](const LineFrame& frame) {
    if (frame.kind == LineFrame::Kind::Sent) sampler_.frameSent();
  });
}

AccuracyWindow::~AccuracyWindow() {
  unload();
}

void AccuracyWindow::unload() {
  timer_->setEnabled(false);
  sampler_.stop();
  phase_ = Phase::Idle;
  if (observer_) context_.link.removeFrameObserver(observer_);
  observer_ = 0;
}

Layout AccuracyWindow::layout() const {
  return layoutOf(context_.profile.Is1208Family);
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
  atr_.reset();
  dtr_.reset();
  status_ = Texts::kReadingTrim;
  atrRead_ = context_.link.request(*requests::readRegister(layout(), RegisterId::ATR));
  dtrRead_ = context_.link.request(*requests::readRegister(layout(), RegisterId::DTR));
  timer_->setInterval(kTrimReadTimeout);
  timer_->setEnabled(true);
}

void AccuracyWindow::stopClicked() {
  if (running()) stop(Texts::kStopped);
}

void AccuracyWindow::stop(const char* text) {
  timer_->setEnabled(false);
  sampler_.stop();
  phase_ = Phase::Idle;
  status_ = text;
}

void AccuracyWindow::intervalChanged(int seconds) {
  intervalSeconds_ = std::clamp(seconds, kMinIntervalSeconds, kMaxIntervalSeconds);
  sampler_.setInterval(std::chrono::seconds(intervalSeconds_));
}

void AccuracyWindow::applyClicked() {
  if (!applyEnabled()) return;
  const TrimSetting setting = report_.advice()->setting;
  stop(Texts::kApplying);
  context_.registers.RegATR = setting.atr;
  context_.registers.RegDTR = setting.dtr;
  context_.sequencer.start(registerOf(RegisterId::ATR).write.state);
  context_.sequencer.start(registerOf(RegisterId::DTR).write.state);
  phase_ = Phase::Applying;
  timer_->setInterval(kAfterApply);
  timer_->setEnabled(true);
}

void AccuracyWindow::saveTo(const std::string& path) {
  const FileWrite written = context_.desktop.writeFile(path, report_.csv());
  status_ = written.ok() ? Texts::saved(path) : Texts::notSaved(path, written.failure);
}

void AccuracyWindow::onTimer() {
  timer_->setEnabled(false);
  if (phase_ == Phase::ReadingTrim) {
    stop(Texts::kTrimFailed);
  } else if (phase_ == Phase::Applying) {
    phase_ = Phase::Idle;
    startClicked();
  }
}

void AccuracyWindow::replyArrived(const ReplyNote& reply) {
  if (phase_ == Phase::ReadingTrim && (reply.ticket == atrRead_ || reply.ticket == dtrRead_)) {
    onTrimReply(reply);
    return;
  }
  // The main window's time reads answer too: the sampler knows its own by the ticket.
  if (phase_ == Phase::Measuring && reply.request == StReadTime)
    sampler_.timeRead(reply.ticket, reply.accepted, context_.reads.time.time);
}

void AccuracyWindow::onTrimReply(const ReplyNote& reply) {
  if (!reply.accepted) {
    stop(Texts::kTrimFailed);
    return;
  }
  if (reply.ticket == atrRead_)
    atr_ = context_.registers.RegATR;
  else
    dtr_ = context_.registers.RegDTR;
  if (!atr_ || !dtr_) return;
  timer_->setEnabled(false);
  report_.clear({*atr_, *dtr_}, layout());
  status_ = Texts::kSeeking;
  phase_ = Phase::Measuring;
  // The chip latches its time once the request's bytes are on the board: that share of a read's
  // round trip, from the sizes of the request (five payload bytes) and the reply.
  const auto requestBytes = static_cast<double>(protocol::kFrameOverhead + 5);
  const auto replyBytes = static_cast<double>(protocol::kFrameOverhead + timeBlock(layout()).count);
  sampler_.start(requestBytes / (requestBytes + replyBytes));
}

bool AccuracyWindow::portOpen() const {
  return context_.link.isPortOpen();
}

bool AccuracyWindow::lineFree() const {
  return context_.link.lineFree();
}

RequestTicket AccuracyWindow::readTime() {
  return context_.link.request(requests::readTime(layout()));
}

bool AccuracyWindow::timeReadOnLine() const {
  return context_.link.pendingRequest() == StReadTime;
}

void AccuracyWindow::edgeFound(const EdgeSample& edge, bool afresh) {
  if (afresh) report_.clear();
  report_.add(edge);
  status_ = afresh ? Texts::kTimeChanged : report_.progressText();
  sampler_.setRatePpm(report_.fit() ? report_.fit()->ppm : 0.0);
}

void AccuracyWindow::timeChanged() {
  report_.clear();
  status_ = Texts::kTimeChanged;
}

void AccuracyWindow::ended(End why) {
  stop(why == End::ClockStopped ? Texts::kClockStopped : Texts::kNoPort);
}

}  // namespace rtceval
