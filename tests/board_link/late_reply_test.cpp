// A request holds the line until its reply has come or its own time-out has passed (2 s, the
// probe's 200 ms); a reply that comes after its request was given up is late: the line monitor
// sees it as late, and it is never read under a newer request.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "window_bench.h"

namespace rtceval::testing {
namespace {

using ::testing::ElementsAre;
using Kind = LineFrame::Kind;

// SR with AL0 set.
const Bytes kSrAlarm0Reply = dataReply({0x20});

struct LateBench : LinkBench {
  LateBench() {
    link.addFrameObserver([this](const LineFrame& f) {
      if (f.kind == Kind::Late) late.emplace_back(f.bytes.begin(), f.bytes.end());
    });
  }
  RequestTicket readTime() { return link.request(requests::readTime(Layout::A)); }
  RequestTicket readSR() {
    return link.request(*requests::readRegister(Layout::A, RegisterId::SR));
  }
  std::vector<Bytes> late;
};

TEST(LateReply, TheNextRequestWaitsForTheReplyOrTheRequestsOwnTimeout) {
  struct Row {
    const char* what;
    bool probeFirst;
    Millis silence;      // how long the first request goes unanswered
    bool secondGoesOut;  // whether the waiting read has gone out by then
  };
  const Row rows[] = {
      {"a reply 40 ms late still holds the line", false, 60ms, false},
      {"an ordinary request holds it just short of 2 s", false, 1999ms, false},
      {"and gives it up at 2 s", false, 2000ms, true},
      {"the search probe holds it just short of 200 ms", true, 199ms, false},
      {"and gives it up at 200 ms", true, 200ms, true},
  };
  for (const Row& row : rows) {
    LateBench b;
    if (row.probeFirst)
      b.link.requestQuietly(requests::probe(StProbe));
    else
      b.readTime();
    b.readSR();
    b.clock.advance(row.silence);
    EXPECT_EQ(b.port.writes.size(), row.secondGoesOut ? 2u : 1u) << row.what;
    EXPECT_EQ(b.sent() == kReadSrA, row.secondGoesOut) << row.what;
  }
}

TEST(LateReply, AReplyAfterItsRequestWasGivenUpIsDroppedAsLate) {
  // Given up with the SR read waiting (it goes out at once), and with nothing waiting.
  for (const bool srWaiting : {true, false}) {
    LateBench b;
    const RequestTicket time = b.readTime();
    const RequestTicket sr = srWaiting ? b.readSR() : 0;
    b.clock.advance(2000ms);
    ASSERT_EQ(b.timeouts, 1);
    b.clock.advance(100ms);
    b.port.receive(kTimeReply);
    EXPECT_TRUE(b.replies.empty()) << srWaiting;
    EXPECT_THAT(b.late, ElementsAre(kTimeReply)) << srWaiting;

    const RequestTicket next = srWaiting ? sr : b.readSR();
    ASSERT_EQ(b.sent(), kReadSrA);
    std::vector<RequestTicket> tickets;
    b.link.setListener([&](const LinkEvent& e) {
      if (e.kind == LinkEvent::Kind::Reply) tickets.push_back(e.ticket);
    });
    b.port.receive(kSrAlarm0Reply);
    EXPECT_THAT(tickets, ElementsAre(next)) << "the SR reply is the SR read's, not " << time;
  }
}

TEST(LateReply, AProbesAnswerIsTheLastProbesUnlessAnotherRequestWentOut) {
  struct Row {
    const char* what;
    bool srReadAfter;
    bool taken;
  };
  const Row rows[] = {
      {"a slow board's answer to the last probe still counts", false, true},
      {"but is never read as the SR read's", true, false},
  };
  for (const Row& row : rows) {
    LateBench b;
    b.link.requestQuietly(requests::probe(StConnect));
    b.clock.advance(300ms);  // the probe is given up
    if (row.srReadAfter) b.readSR();
    b.port.receive(kProbeAnswer);
    EXPECT_EQ(b.replies.size(), row.taken ? 1u : 0u) << row.what;
    if (row.taken) {
      EXPECT_EQ(b.replies[0].first, StConnect) << row.what;
    }
    EXPECT_EQ(b.late.size(), row.taken ? 0u : 1u) << row.what;
  }
}

}  // namespace
}  // namespace rtceval::testing
