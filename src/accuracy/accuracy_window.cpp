#include "accuracy/accuracy_window.h"

#include <cmath>

#include <algorithm>

#include "board_link/board_link.h"
#include "board_link/requests.h"
#include "board_link/write_sequencer.h"
#include "core/chip_reads.h"
#include "core/device_profile.h"
#include "core/protocol.h"
#include "core/register_image.h"
#include "core/register_map.h"
#include "core/value_codecs.h"
#include "dialogs/dialog_context.h"
#include "platform/desktop.h"
#include "platform/message_boxes.h"
#include "platform/timer.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;

constexpr Millis kTrimReadTimeout = 3s;
// Apply's two writes take the sequencer six steps of 50 ms; replies that have not come by then
// are not waited for any longer (the link tells the user of a time-out).
constexpr Millis kApplyTimeout = 3s;

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
  writesDue_ = 0;
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
  writesDue_ = 0;
  sampler_.stop();
  phase_ = Phase::Idle;
  status_ = text;
}

void AccuracyWindow::intervalChanged(int seconds) {
  intervalSeconds_ = std::clamp(seconds, kMinIntervalSeconds, kMaxIntervalSeconds);
  sampler_.setInterval(std::chrono::seconds(intervalSeconds_));
}

std::string AccuracyWindow::Texts::applyQuestion(const TrimSetting& s) {
  return "将向芯片写入 ATR = 0x" + HexByte(s.atr) + ", DTR = 0x" + HexByte(s.dtr) +
         "，写入后从头重新测量。是否写入？";
}

void AccuracyWindow::applyClicked() {
  if (!applyEnabled()) return;
  const TrimSetting setting = report_.advice()->setting;
  if (!context_.messageBoxes.askYesNo(Texts::applyQuestion(setting), Texts::kCaption)) return;
  // The measurement may have ended, or the window closed, while the question was open.
  if (phase_ != Phase::Measuring || writesDue_ != 0) return;
  if (!context_.link.isPortOpen()) {
    stop(Texts::kNoPort);
    return;
  }
  // The values named in the question are written, even if a newer edge moved the advice meanwhile.
  context_.registers.RegATR = setting.atr;
  context_.registers.RegDTR = setting.dtr;
  context_.sequencer.start(registerOf(RegisterId::ATR).write.state);
  context_.sequencer.start(registerOf(RegisterId::DTR).write.state);
  writesDue_ = 2;
  status_ = Texts::kApplying;
  timer_->setInterval(kApplyTimeout);
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
  } else if (writesDue_ != 0) {
    writesDue_ = 0;
    status_ = report_.progressText();
  }
}

void AccuracyWindow::replyArrived(const ReplyNote& reply) {
  if (phase_ == Phase::ReadingTrim && (reply.ticket == atrRead_ || reply.ticket == dtrRead_)) {
    onTrimReply(reply);
    return;
  }
  if (phase_ != Phase::Measuring) return;
  // The main window's time reads answer too: the sampler knows its own by the ticket.
  if (reply.request == StReadTime)
    sampler_.timeRead(reply.ticket, reply.accepted, context_.reads.time.time);
  else if (reply.request == StWriteATR || reply.request == StWriteDTR)
    trimWritten(reply.accepted);
}

void AccuracyWindow::trimWritten(bool accepted) {
  if (writesDue_ != 0 && --writesDue_ == 0) timer_->setEnabled(false);
  if (!accepted) {
    if (writesDue_ == 0) status_ = report_.progressText();
    return;
  }
  // The rate has changed: edges from before the write lie on another line, and the advice is
  // now made against the trimming the register image holds, which is what was written.
  report_.clear({context_.registers.RegATR, context_.registers.RegDTR}, layout());
  sampler_.restart();
  status_ = writesDue_ != 0 ? Texts::kApplying : Texts::kTrimWritten;
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

void AccuracyWindow::paused() {
  status_ = Texts::kPaused;
}

void AccuracyWindow::resumed() {
  status_ = Texts::kResumed;
}

void AccuracyWindow::edgesMissed(std::chrono::duration<double, std::milli> roundTrip) {
  status_ = Texts::slowLine(static_cast<int>(std::lround(roundTrip.count())));
}

void AccuracyWindow::ended(End why) {
  if (why == End::ClockStopped) stop(Texts::kClockStopped);
}

}  // namespace rtceval
