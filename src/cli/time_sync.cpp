#include <algorithm>
#include <chrono>
#include <cstdio>

#include "accuracy/edge_bracket.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "cli/time_command.h"
#include "core/protocol.h"
#include "platform/pc_clock.h"
#include "platform/timer.h"

namespace rtceval::cli {
namespace {

using namespace std::chrono_literals;

constexpr double kBaud = 19200;
constexpr double kBitsPerByte = 10;  // 8N1
// The board's bus write to the chip after the last byte arrived.
constexpr double kBusWriteMs = 1.5;
// The unlock steps are out of the way well before the boundary the write aims at.
constexpr std::int64_t kLeadMs = 150;
// A time read: its request frame out, its reply back; the chip latches its time once the request
// has crossed the line.
constexpr double kReadOutBytes = 9;
constexpr double kReadBackBytes = 12;
constexpr double kLatchFraction = kReadOutBytes / (kReadOutBytes + kReadBackBytes);
// Reads aimed at the bracket's middle in the seconds after the write narrow it.
constexpr int kAimedSeconds = 3;
constexpr std::int64_t kMsPerDay = 86'400'000;

double wireMs(std::size_t payloadBytes) {
  return static_cast<double>(payloadBytes + protocol::kFrameOverhead) * kBitsPerByte * 1000.0 /
         kBaud;
}

// The PC's steady milliseconds beside the monotonic clock the session waits on.
struct Clocks {
  const PcClock& pc;
  const MonotonicClock& mono;
  std::int64_t monoOf(std::int64_t steady) const {
    return steady + (mono.elapsedMs() - pc.now().steadyMs);
  }
};

}  // namespace

int syncClock(Session& session) {
  const Clocks clocks{session.seams().pcClock, session.seams().clock};
  for (const Request& unlock : requests::writeEnable(session.layout()))
    if (const int done = session.transact(unlock); done != kDone) return done;

  // The next PC second boundary far enough ahead, and the PC's date and time at it; never the
  // boundary of midnight, whose date this program would have to roll on.
  PcInstant now = clocks.pc.now();
  std::int64_t msOfDay = now.msOfDay + kLeadMs;
  msOfDay += 1000 - msOfDay % 1000;
  if (msOfDay >= kMsPerDay) msOfDay = 1000;  // the first second of tomorrow is not aimed at
  const std::int64_t boundary = now.steadyMs + (msOfDay - now.msOfDay);
  const PcDate today = clocks.pc.today();
  CivilFields at{today.year,
                 today.month,
                 today.day,
                 static_cast<int>(msOfDay / 3600000),
                 static_cast<int>(msOfDay / 60000 % 60),
                 static_cast<int>(msOfDay / 1000 % 60),
                 today.weekday};
  session.records.NewTime = timeRecordOf(at, false);
  const Request write = requests::writeTime(session.layout(), session.records.NewTime);
  const double lead = wireMs(write.payload.size()) + kBusWriteMs;
  if (!session.waitUntil(clocks.monoOf(boundary - static_cast<std::int64_t>(lead + 0.5))))
    return kInterrupted;
  if (const int done = session.transact(write); done != kDone) return done;

  // The written second began at `boundary` if the write met it; the reads bracket the moment the
  // chip's seconds actually begin.
  const std::int64_t written = secondsOf(decodedRecord(session.records.NewTime));
  EdgeBracket bracket(kLatchFraction, 1000.0);
  double roundTrip = (kReadOutBytes + kReadBackBytes) * kBitsPerByte * 1000.0 / kBaud;
  const auto timedRead = [&]() -> int {
    const double sent = static_cast<double>(clocks.pc.now().steadyMs);
    if (const int done = readClock(session); done != kDone) return done;
    const double received = static_cast<double>(clocks.pc.now().steadyMs);
    roundTrip = received - sent;
    bracket.add({sent, received, secondsOf(session.reads.time) - written});
    return kDone;
  };
  const std::int64_t giveUp = clocks.pc.now().steadyMs + 2000;
  // Reads back to back until one shows the next second: the edge then lies within one read.
  while ((!bracket.closed() || bracket.widthMs() > 2 * roundTrip) &&
         clocks.pc.now().steadyMs < giveUp)
    if (const int done = timedRead(); done != kDone) return done;
  for (int i = 1; i <= kAimedSeconds && bracket.closed(); ++i) {
    const auto aim = bracket.aimMs(bracket.reference() + i);
    if (!aim) break;
    const auto sendAt = static_cast<std::int64_t>(*aim - roundTrip * kLatchFraction);
    if (!session.waitUntil(clocks.monoOf(sendAt))) return kInterrupted;
    if (const int done = timedRead(); done != kDone) return done;
  }
  const auto edge = bracket.sample();
  if (!edge) {
    session.out().error("the chip's second could not be bracketed");
    return kNoBoard;
  }
  const double offset = edge->pcMs - static_cast<double>(boundary + bracket.reference() * 1000);
  char text[96];
  std::snprintf(text, sizeof text, "chip second starts %+.1f ms from the PC's (±%.1f ms)", offset,
                edge->halfWidthMs);
  session.out().result({{"offset_ms", offset}, {"uncertainty_ms", edge->halfWidthMs}}, text);
  return kDone;
}

}  // namespace rtceval::cli
