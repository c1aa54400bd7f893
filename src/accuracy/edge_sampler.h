#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "accuracy/chip_seconds.h"
#include "accuracy/edge_bracket.h"
#include "accuracy/rate_fit.h"
#include "core/cmd_state.h"
#include "core/value_codecs.h"

namespace rtceval {

class MonotonicClock;
class Timer;
class TimerFactory;

// What the sampler asks of the line to the board.
class SampleLine {
 public:
  virtual ~SampleLine() = default;
  virtual bool portOpen() const = 0;
  // A request asked for now goes out at once.
  virtual bool lineFree() const = 0;
  // Sends a read of the chip's time; its reply comes back with the ticket.
  virtual RequestTicket readTime() = 0;
  // The latest request on the line is a time read (another window's, when the sampler has none).
  virtual bool timeReadOnLine() const = 0;
};

// What the sampler tells its owner.
class SampleListener {
 public:
  virtual ~SampleListener() = default;
  // A new edge of the chip's clock. `afresh`: the chip's time was set, the edges before it no
  // longer lie on one line with it.
  virtual void edgeFound(const EdgeSample& edge, bool afresh) = 0;
  // A read showed a second far off the count: the chip's time was set; sampling starts afresh.
  virtual void timeChanged() = 0;
  // The port has closed (the board unplugged): sampling waits for it to open again.
  virtual void paused() = 0;
  // The port is open again: sampling goes on, the edges found before still on the same line.
  virtual void resumed() = 0;
  // Edges keep being missed on a slow line (reads taking `roundTrip` there and back): the seconds
  // cannot be bracketed to the width an edge needs. Sampling goes on.
  virtual void edgesMissed(std::chrono::duration<double, std::milli> roundTrip) = 0;
  // Sampling has ended by itself: replies received over more than two seconds showed one second.
  enum class End { ClockStopped };
  virtual void ended(End why) = 0;
};

// Finds the moments at which the chip's second changes, once every `interval`, against the PC's
// monotonic clock: reads back to back around the expected edge until the second changes, then one
// read a second aimed at the middle of the bracket, for a few seconds (EdgeBracket). Each read
// goes out only when the line is free, so other windows' requests keep their turns and only one
// request is on the line; before an aimed read the line is watched, and a time read another
// window sends at that moment is used instead when it latches inside the bracket.
class EdgeSampler {
 public:
  using Duration = std::chrono::duration<double, std::milli>;
  using Instant = Duration;  // since the monotonic clock's start

  EdgeSampler(SampleLine& line, SampleListener& listener, TimerFactory& timers,
              const MonotonicClock& clock);
  ~EdgeSampler();
  EdgeSampler(const EdgeSampler&) = delete;
  EdgeSampler& operator=(const EdgeSampler&) = delete;

  // Starts counting the chip's seconds afresh and finds the first edge. `latchFraction`: the
  // share of a read's round trip after which the chip latches its time.
  void start(double latchFraction);
  void stop();
  // The chip's rate has changed (a trimming byte was written): the edges found so far lie on
  // another line. The count starts afresh and the next edge is sought at once, from reads sent
  // from now on.
  void restart();
  bool running() const { return phase_ != Phase::Idle; }

  void setInterval(std::chrono::seconds interval) { interval_ = interval; }
  // The chip's rate as fitted so far: the next edges are predicted with it.
  void setRatePpm(double ppm) { ratePpm_ = ppm; }

  // A time read was answered; `time` is what it showed when `accepted`.
  void timeRead(RequestTicket ticket, bool accepted, const ChipTime& time);
  // A frame has just gone on the line (any window's).
  void frameSent();

 private:
  enum class Phase { Idle, Waiting, Acquiring, Refining, Paused };

  Instant now() const;
  Duration second() const;
  void armAt(Instant at);
  void onTimer();
  void startSample();
  void pause();
  void sendRead();
  void send(Instant at);
  void watchAndAim(Instant at);
  void aimNextRead();
  void finishSample();
  // Whether a read counted at `counted` has closed the bracket; if so the aimed reads begin.
  bool acquired(std::int64_t counted);
  void overheard(bool accepted, const ChipTime& time);
  void missedEdge();
  void restartCount();

  SampleLine& line_;
  SampleListener& listener_;
  const MonotonicClock& clock_;
  std::unique_ptr<Timer> timer_;
  Phase phase_ = Phase::Idle;
  std::chrono::seconds interval_{10};
  double ratePpm_ = 0.0;
  double latchFraction_ = 0.5;

  // The read on the line, if it is this sampler's (or another window's read it borrowed).
  std::optional<RequestTicket> ownRead_;
  bool borrowedRead_ = false;
  Instant readSent_{};
  // When the timer fires: the moment a read is to go out at (polling while the line is busy).
  Instant sendAt_{};
  // Since when the replies have shown a second off the count (their shownSince() then).
  std::optional<Instant> offCountSince_;
  // Watching the line before an aimed read: when a frame was last seen leaving, and when a time
  // read of another window left that this sampler may borrow (no frame has followed it).
  bool watching_ = false;
  std::optional<Instant> frameLeft_;
  std::optional<Instant> otherRead_;
  // When the latest frame (any window's) went on the line.
  std::optional<Instant> lastFrameSent_;
  // The last reply's wait, smoothed: sets how early an aimed read leaves.
  Duration roundTrip_{12.0};

  // Chip seconds from the minute and second fields, counted on from the first read, and whether
  // they stand still.
  ChipSeconds seconds_;

  std::optional<EdgeBracket> bracket_;
  int round_ = 0;               // aimed reads answered
  std::int64_t aimSecond_ = 0;  // the second whose edge the next aimed read is for
  // The edges found since the count began: the next one must lie on their line.
  std::optional<EdgeSample> lastEdge_;
  // When the edge being sought was first looked for, and how many in a row were missed since.
  Instant sampleStarted_{};
  int missed_ = 0;
  std::size_t edgesInRun_ = 0;
};

}  // namespace rtceval
