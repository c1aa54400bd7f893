// The edge sampler alone on the virtual clock, against a chip whose second begins at a known
// moment: every edge it reports lies inside its bracket, the edges come an interval apart, and a
// time set on the chip starts the count afresh.
#include "accuracy/edge_sampler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

#include "virtual_clock.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using testing::VirtualClock;

constexpr double kLatch = 0.5;
constexpr std::int64_t kFirstShown = 40 * 60 + 3;  // the chip shows 40:03 at its first edge

// A chip at `ppm` whose count `kFirstShown` begins at `edgeMs`, answering each time read after
// `roundTrip`; it latches half-way. `setAt` moves its count by `setBy` seconds from then on.
struct Chip : SampleLine, SampleListener {
  VirtualClock& clock;
  double ppm;
  double edgeMs;
  Millis roundTrip;
  std::int64_t setAtMs = -1;
  std::int64_t setBy = 0;
  // Replies to reads sent in [dropFromMs, dropUntilMs) are lost; from stopAtMs the count stands.
  std::int64_t dropFromMs = -1;
  std::int64_t dropUntilMs = -1;
  double stopAtMs = 1e18;

  EdgeSampler sampler;
  std::unique_ptr<Timer> reply = clock.createTimer();
  RequestTicket lastTicket = 0;
  std::int64_t shownOnLine = 0;
  std::vector<EdgeSample> edges;
  int changes = 0;
  std::optional<End> end;  // stays empty while the clock runs
  std::int64_t endedAtMs = -1;

  Chip(VirtualClock& c, double p, double edge, Millis rt)
      : clock(c), ppm(p), edgeMs(edge), roundTrip(rt), sampler(*this, *this, c, c) {
    reply->setTickHandler([this] {
      reply->setEnabled(false);
      ChipTime t;
      t.minute = BcdByte(static_cast<int>(shownOnLine / 60 % 60));
      t.second = BcdByte(static_cast<int>(shownOnLine % 60));
      sampler.timeRead(lastTicket, true, t);
    });
  }
  double secondMs() const { return 1000.0 / (1 + ppm * 1e-6); }
  std::int64_t shown(double atMs) const {
    atMs = std::min(atMs, stopAtMs);
    std::int64_t count =
        kFirstShown + static_cast<std::int64_t>(std::floor((atMs - edgeMs) / secondMs()));
    if (setAtMs >= 0 && atMs >= static_cast<double>(setAtMs)) count += setBy;
    return count;
  }
  // The moment the chip began showing `count` (before any time was set).
  double edgeOf(std::int64_t count) const {
    return edgeMs + static_cast<double>(count - kFirstShown) * secondMs();
  }

  // Another window holds the line for this long once a read has shown the second change, so no
  // aimed read narrows the bracket back-to-back reads left.
  std::int64_t busyAfterChangeMs = 0;
  std::int64_t busyUntil = -1;

  bool portOpen() const override { return true; }
  bool lineFree() const override { return !reply->isEnabled() && clock.now() >= busyUntil; }
  RequestTicket readTime() override {
    const double sent = static_cast<double>(clock.now());
    const std::int64_t before = shownOnLine;
    shownOnLine = shown(sent + kLatch * static_cast<double>(roundTrip.count()));
    if (busyAfterChangeMs && lastTicket && shownOnLine != before)
      busyUntil = clock.now() + busyAfterChangeMs;
    reply->setInterval(roundTrip);
    reply->setEnabled(clock.now() < dropFromMs || clock.now() >= dropUntilMs);
    sampler.frameSent();
    return ++lastTicket;
  }
  bool timeReadOnLine() const override { return false; }

  void edgeFound(const EdgeSample& edge, bool afresh) override {
    if (afresh) edges.clear();
    edges.push_back(edge);
    const auto fit = fitRate(edges);
    sampler.setRatePpm(fit ? fit->ppm : 0.0);
  }
  void timeChanged() override {
    ++changes;
    edges.clear();
  }
  void paused() override {}
  void resumed() override {}
  void edgesMissed(std::chrono::duration<double, std::milli>) override {}
  void ended(End why) override {
    end = why;
    endedAtMs = clock.now();
  }
};

struct Row {
  const char* name;
  double ppm;
  Millis roundTrip;
  std::int64_t setBy;  // seconds the chip's time is set on by at 95 s; 0: not set
};

TEST(EdgeSampler, FindsEachEdgeInsideItsBracketAnIntervalApart) {
  for (const Row& row :
       {Row{"exact", 0.0, 12ms, 0}, Row{"fast", 80.0, 12ms, 0},
        Row{"slow on a slow line", -120.0, 40ms, 0}, Row{"time set", 30.0, 12ms, 100}}) {
    SCOPED_TRACE(row.name);
    VirtualClock clock;
    clock.advance(1000ms);
    Chip chip(clock, row.ppm, 1337.4, row.roundTrip);
    if (row.setBy) {
      chip.setAtMs = 95'000;
      chip.setBy = row.setBy;
    }
    chip.sampler.setInterval(10s);
    chip.sampler.start(kLatch);
    clock.advance(200s);

    EXPECT_EQ(chip.changes, row.setBy ? 1 : 0);
    ASSERT_GE(chip.edges.size(), row.setBy ? 9u : 18u);
    for (std::size_t i = 0; i < chip.edges.size(); ++i) {
      const EdgeSample& e = chip.edges[i];
      // The count the chip began at this edge, as it stood before its time was set.
      const std::int64_t count = e.chipSecond - (e.pcMs >= 95'000 ? row.setBy : 0);
      EXPECT_LE(e.halfWidthMs, 1.0);
      // Inside its bracket, but for what the rate not yet fitted moves the aimed seconds by.
      EXPECT_NEAR(e.pcMs, chip.edgeOf(count), e.halfWidthMs + std::fabs(row.ppm) * 8e-3 + 0.05)
          << "edge " << i;
      if (i > 0) {
        EXPECT_EQ(e.chipSecond - chip.edges[i - 1].chipSecond, 10);
      }
    }
    EXPECT_FALSE(chip.end.has_value());
  }
}

TEST(EdgeSampler, AnEdgeKnownOnlyToSeveralMillisecondsIsNotReported) {
  // Back-to-back reads bracket the edge by their round trip: ±6 ms at 12 ms, ±20 ms at 40 ms.
  for (Millis roundTrip : {12ms, 40ms}) {
    SCOPED_TRACE(roundTrip.count());
    VirtualClock clock;
    clock.advance(1000ms);
    Chip chip(clock, 0.0, 1337.4, roundTrip);
    chip.busyAfterChangeMs = 9500;
    chip.sampler.setInterval(10s);
    chip.sampler.start(kLatch);
    clock.advance(100s);
    EXPECT_TRUE(chip.edges.empty()) << chip.edges.front().halfWidthMs;
  }
}

TEST(EdgeSampler, JudgesTheClockStoppedOnlyFromRepliesThatShowOneSecond) {
  // Replies to reads sent in [dropFromMs, dropFromMs + 10 s) are lost; from stopAtMs the chip
  // shows one second for good.
  struct Case {
    const char* name;
    std::int64_t dropFromMs;
    double stopAtMs;
    std::int64_t endsAfterMs;  // the clock is judged stopped in the 1.5 s after; -1: never
  };
  constexpr double kRuns = 1e18;
  for (const Case& c : {
           Case{"replies lost for ten seconds", 40'000, kRuns, -1},
           Case{"stopped from the start", -1, 0.0, 1'000 + 2'500},
           // After the edge at 41.3 s has been narrowed; the next is sought from 51.25 s.
           Case{"stops between two edges", -1, 48'000.0, 51'250 + 2'500},
           Case{"stops while replies are lost", 40'000, 42'000.0, 50'000 + 2'500},
       }) {
    SCOPED_TRACE(c.name);
    VirtualClock clock;
    clock.advance(1000ms);
    Chip chip(clock, 50.0, 1337.4, 12ms);
    if (c.dropFromMs >= 0) {
      chip.dropFromMs = c.dropFromMs;
      chip.dropUntilMs = c.dropFromMs + 10'000;
    }
    chip.stopAtMs = c.stopAtMs;
    chip.sampler.setInterval(10s);
    chip.sampler.start(kLatch);
    clock.advance(120s);
    // A stopped clock is no time set, and only replies showing one second end the measurement.
    EXPECT_EQ(chip.changes, 0);
    if (c.endsAfterMs >= 0) {
      EXPECT_EQ(chip.end, SampleListener::End::ClockStopped);
      EXPECT_GT(chip.endedAtMs, c.endsAfterMs);
      EXPECT_LT(chip.endedAtMs, c.endsAfterMs + 1'500);
      EXPECT_FALSE(chip.sampler.running());
      continue;
    }
    EXPECT_FALSE(chip.end.has_value());
    // Only the edges the gap hid are missing, and the later ones lie on the same line.
    ASSERT_GE(chip.edges.size(), 9u);
    EXPECT_GT(chip.edges.back().pcMs, 110'000.0);
    EXPECT_NEAR(chip.edges.back().pcMs, chip.edgeOf(chip.edges.back().chipSecond), 1.5);
  }
}

}  // namespace
}  // namespace rtceval
