#include "accuracy/edge_sampler.h"

#include <algorithm>
#include <cmath>

#include "platform/timer.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using Duration = EdgeSampler::Duration;

constexpr Duration kNominalSecond = 1s;
// While the port is closed, it is looked at this often.
constexpr Duration kPausePoll = 1s;
// Back-to-back reads have seen the second change once the bracket is this narrow (one read alone
// brackets the next edge within a whole second).
constexpr Duration kAcquired = 100ms;
// Reads around the expected edge start this long before it.
constexpr Duration kLead = 80ms;
// A reply later than this is taken as lost; the link's own time-out tells the user.
constexpr Duration kReplyGuard = 250ms;
// A read aimed at an edge that cannot leave within this much of its moment waits for the next
// second.
constexpr Duration kAimSlack = 15ms;
// The line is watched this long before an aimed read for a time read of another window.
constexpr Duration kWatch = 30ms;
// While waiting for the line or the aimed moment, it is looked at this often.
constexpr Duration kPoll = 1ms;
// Aimed reads after the bracket is first closed; each halves it. A second whose read could not
// go out in time (the slot was taken) does not count, but the aiming ends after kAimSeconds.
constexpr int kRefineRounds = 5;
constexpr int kAimSeconds = 8;
// A bracket still wider than this (every aimed read missed) gives no edge worth fitting.
constexpr Duration kWidestHalf = 5ms;
constexpr Duration kGoodEnough = 500us;
// A line whose reads take longer than this there and back is slow (a relay on it): when its edges
// keep being missed, the owner is told why.
constexpr Duration kSlowLine = 30ms;
constexpr int kMissedToTell = 2;
// An edge further than this from the line through the earlier ones means the chip's time was set;
// over a gap, any rate a crystal may have (kRateSpan) is allowed for on top.
constexpr Duration kJump = 50ms;
constexpr double kRateSpan = 500e-6;
// Edges a rate is trusted from for predicting the next one.
constexpr std::size_t kEdgesForRate = 3;

}  // namespace

EdgeSampler::EdgeSampler(SampleLine& line, SampleListener& listener, TimerFactory& timers,
                         const MonotonicClock& clock)
    : line_(line), listener_(listener), clock_(clock), timer_(timers.createTimer()) {
  timer_->setTickHandler([this] { onTimer(); });
}

EdgeSampler::~EdgeSampler() = default;

EdgeSampler::Instant EdgeSampler::now() const {
  return Instant(static_cast<double>(clock_.elapsedMs()));
}

Duration EdgeSampler::second() const {
  return kNominalSecond / (1.0 + ratePpm_ * 1e-6);
}

void EdgeSampler::armAt(Instant at) {
  const auto wait = static_cast<Millis::rep>(std::ceil((at - now()).count()));
  timer_->setEnabled(false);
  timer_->setInterval(Millis(std::max<Millis::rep>(wait, 1)));
  timer_->setEnabled(true);
}

void EdgeSampler::start(double latchFraction) {
  latchFraction_ = latchFraction;
  seconds_.forgetShown();
  restartCount();
  startSample();
}

void EdgeSampler::stop() {
  timer_->setEnabled(false);
  phase_ = Phase::Idle;
  ownRead_.reset();
  borrowedRead_ = false;
  bracket_.reset();
}

void EdgeSampler::restart() {
  if (!running()) return;
  timer_->setEnabled(false);
  ownRead_.reset();
  borrowedRead_ = false;
  watching_ = false;
  restartCount();
  startSample();
}

void EdgeSampler::restartCount() {
  seconds_.restartCount();
  offCountSince_.reset();
  ratePpm_ = 0.0;
  lastEdge_.reset();
  edgesInRun_ = 0;
  missed_ = 0;
}

void EdgeSampler::startSample() {
  sampleStarted_ = now();
  bracket_.emplace(latchFraction_, second().count());
  phase_ = Phase::Acquiring;
  sendRead();
}

void EdgeSampler::pause() {
  // The chip runs on by itself: the count and the edges found stay, only this edge is lost.
  timer_->setEnabled(false);
  phase_ = Phase::Paused;
  ownRead_.reset();
  borrowedRead_ = false;
  watching_ = false;
  bracket_.reset();
  listener_.paused();
  armAt(now() + kPausePoll);
}

void EdgeSampler::sendRead() {
  if (!line_.portOpen()) {
    pause();
    return;
  }
  const Instant at = now();
  if (phase_ == Phase::Refining) {
    watchAndAim(at);
    return;
  }
  if (!line_.lineFree()) {
    // Another request holds the slot: look again shortly.
    armAt(at + kPoll);
    return;
  }
  send(at);
}

void EdgeSampler::send(Instant at) {
  readSent_ = at;
  watching_ = false;
  borrowedRead_ = false;
  ownRead_ = line_.readTime();
  armAt(at + kReplyGuard);
}

void EdgeSampler::frameSent() {
  lastFrameSent_ = now();
  // A frame after a borrowed read means its reply is over, whether or not it came.
  borrowedRead_ = false;
  if (!watching_) return;
  frameLeft_ = now();
  otherRead_.reset();
}

void EdgeSampler::watchAndAim(Instant at) {
  // The line is watched before the aimed moment: a time read that another window sends meanwhile
  // is seen leaving, and its reply is as good as this sampler's own read.
  if (watching_ && frameLeft_ && line_.timeReadOnLine()) otherRead_ = frameLeft_;
  frameLeft_.reset();
  watching_ = true;
  if (at < sendAt_) {
    armAt(at + kPoll);
    return;
  }
  if (line_.lineFree()) {
    send(at);
    return;
  }
  // Only a read that latches inside the bracket tells more than is known.
  if (otherRead_) {
    const double latchMs = (*otherRead_ + roundTrip_ * latchFraction_).count();
    const double shiftMs =
        static_cast<double>(aimSecond_ - bracket_->reference()) * second().count();
    if (latchMs > bracket_->lowMs() + shiftMs && latchMs < bracket_->highMs() + shiftMs) {
      readSent_ = *otherRead_;
      watching_ = false;
      ownRead_.reset();
      borrowedRead_ = true;
      armAt(at + kReplyGuard);
      return;
    }
  }
  // The slot stays taken past the moment: this second's edge is missed, the next one is aimed at.
  if (at > sendAt_ + kAimSlack) {
    aimNextRead();
    return;
  }
  armAt(at + kPoll);
}

void EdgeSampler::onTimer() {
  timer_->setEnabled(false);
  switch (phase_) {
    case Phase::Idle:
      break;
    case Phase::Waiting:
      startSample();
      break;
    case Phase::Paused:
      if (!line_.portOpen()) {
        armAt(now() + kPausePoll);
        break;
      }
      listener_.resumed();
      startSample();
      break;
    case Phase::Acquiring:
    case Phase::Refining:
      if (ownRead_ || borrowedRead_) {
        // The reply is lost: the next read goes out as if it had failed.
        ownRead_.reset();
        borrowedRead_ = false;
        if (phase_ == Phase::Refining) {
          aimNextRead();
          break;
        }
      }
      sendRead();
      break;
  }
}

void EdgeSampler::timeRead(RequestTicket ticket, bool accepted, const ChipTime& time) {
  const bool mine = (ownRead_ && *ownRead_ == ticket) || borrowedRead_;
  if (phase_ != Phase::Acquiring && phase_ != Phase::Refining) return;
  if (!mine) {
    overheard(accepted, time);
    return;
  }
  ownRead_.reset();
  borrowedRead_ = false;
  timer_->setEnabled(false);
  const Instant received = now();
  const bool readable = accepted && ChipSeconds::readable(time);
  if (!readable) {
    if (phase_ == Phase::Refining)
      aimNextRead();
    else
      sendRead();
    return;
  }
  roundTrip_ += ((received - readSent_) - roundTrip_) / 4;
  if (seconds_.heldStill(time, received)) {
    stop();
    listener_.ended(SampleListener::End::ClockStopped);
    return;
  }
  const std::optional<std::int64_t> counted = seconds_.counted(time, received);
  if (!counted) {
    // Off the count: the chip's time was set, or its clock stopped and shows the second it
    // stopped at. Reads go back to back until the second changes (the time was set) or has stood
    // too long (heldStill).
    if (!offCountSince_) {
      offCountSince_ = seconds_.shownSince();
      bracket_.emplace(latchFraction_, second().count());
      phase_ = Phase::Acquiring;
    }
    if (seconds_.shownSince() == *offCountSince_) {
      sendRead();
      return;
    }
    restartCount();
    listener_.timeChanged();
    startSample();
    return;
  }
  offCountSince_.reset();
  bracket_->add({readSent_.count(), received.count(), *counted});
  if (phase_ == Phase::Refining) {
    ++round_;
    aimNextRead();
    return;
  }
  if (acquired(*counted)) return;
  // Still no edge after a whole interval: the reads around it are held off (the slot taken by
  // other windows at the same moment of every second). Looking goes on; the next one may fall
  // elsewhere.
  if (received - sampleStarted_ > Duration(interval_)) {
    sampleStarted_ = received;
    missedEdge();
  }
  sendRead();
}

void EdgeSampler::missedEdge() {
  if (++missed_ >= kMissedToTell && roundTrip_ > kSlowLine) listener_.edgesMissed(roundTrip_);
}

bool EdgeSampler::acquired(std::int64_t counted) {
  // Reads showing one second alone narrow the bracket too, from the far side, as the expected
  // edge draws near: only a read that has seen the second change closes it.
  if (counted < bracket_->reference() || Duration(bracket_->widthMs()) >= kAcquired) return false;
  phase_ = Phase::Refining;
  round_ = 0;
  aimSecond_ = bracket_->reference();
  aimNextRead();
  return true;
}

void EdgeSampler::overheard(bool accepted, const ChipTime& time) {
  // Another window's time read: with one request on the line at a time, its reply answers the
  // latest frame sent. While this sampler's own read is out, or before the bracket has begun, it
  // is left alone; otherwise it narrows the bracket like an own read, without costing a turn.
  if (ownRead_ || !lastFrameSent_ || !bracket_ || !bracket_->started()) return;
  if (!accepted || !ChipSeconds::readable(time) || offCountSince_) return;
  const Instant received = now();
  const std::optional<std::int64_t> counted = seconds_.counted(time, received);
  if (!counted) return;
  bracket_->add({lastFrameSent_->count(), received.count(), *counted});
  if (phase_ == Phase::Acquiring) (void)acquired(*counted);
}

void EdgeSampler::aimNextRead() {
  const auto seconds = static_cast<int>(interval_.count());
  const std::int64_t lastAim = bracket_->reference() + std::min(kAimSeconds, seconds - 2);
  if (round_ >= kRefineRounds || Duration(bracket_->widthMs()) <= kGoodEnough ||
      aimSecond_ >= lastAim) {
    finishSample();
    return;
  }
  ++aimSecond_;
  sendAt_ = Instant(*bracket_->aimMs(aimSecond_)) - roundTrip_ * latchFraction_;
  watching_ = false;
  frameLeft_.reset();
  otherRead_.reset();
  armAt(sendAt_ - kWatch);
}

void EdgeSampler::finishSample() {
  std::optional<EdgeSample> edge = bracket_->sample();
  if (edge && Duration(edge->halfWidthMs) > kWidestHalf) edge.reset();
  bracket_.reset();
  bool jumped = false;
  if (edge && lastEdge_) {
    // Where the line through the earlier edges (or the nominal rate) puts this one. The rate is
    // not known well from a few edges: over a long gap (edges missed while the slot was taken)
    // any rate a crystal may have is allowed for.
    const Duration gap(edge->pcMs - lastEdge_->pcMs);
    const Duration length = edgesInRun_ >= kEdgesForRate ? second() : kNominalSecond;
    const Instant expected = Instant(lastEdge_->pcMs) +
                             static_cast<double>(edge->chipSecond - lastEdge_->chipSecond) * length;
    jumped = std::fabs(edge->pcMs - expected.count()) > (kJump + gap * kRateSpan).count();
  }
  // The next edge to measure, a whole number of intervals on.
  phase_ = Phase::Waiting;
  if (!edge) missedEdge();
  if (edge) {
    missed_ = 0;
    if (jumped) {
      ratePpm_ = 0.0;
      edgesInRun_ = 0;
    }
    lastEdge_ = edge;
    ++edgesInRun_;
    // The owner fits the rate anew and tells it (setRatePpm) before the next edge is aimed at.
    listener_.edgeFound(*edge, jumped);
  }
  const Instant from = edge ? Instant(edge->pcMs) : now();
  armAt(from + static_cast<double>(interval_.count()) * second() - kLead);
}

}  // namespace rtceval
