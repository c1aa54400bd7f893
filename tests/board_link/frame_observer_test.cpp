// What the link shows its frame observers: every frame sent, every complete frame received (good
// sum or not), and received bytes it gives up without their ever forming a frame.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "window_bench.h"

namespace rtceval::testing {
namespace {

using ::testing::ElementsAre;
using Kind = LineFrame::Kind;

struct Seen {
  Kind kind;
  Bytes bytes;
  bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& s, std::ostream* os) {
  *os << (s.kind == Kind::Sent ? "sent" : s.kind == Kind::Received ? "received" : "stray");
  for (std::uint8_t b : s.bytes) *os << ' ' << std::hex << int(b);
}

const Bytes kSrReply{0x55, 0x80, 0x01, 0x12, 0xE8};

struct Observed : LinkBench {
  std::vector<Seen> seen;
  int id = link.addFrameObserver([this](const LineFrame& f) {
    seen.push_back({f.kind, Bytes(f.bytes.begin(), f.bytes.end())});
  });
  void readSR() { link.request(*requests::readRegister(Layout::A, RegisterId::SR)); }
};

TEST(FrameObservers, SeeARequestAndItsReplyOnceHoweverTheReplyIsSplit) {
  Observed b;
  b.readSR();
  b.port.receive({0x55});
  b.port.receive({0x80, 0x01});
  b.port.receive({0x12, 0xE8});
  EXPECT_THAT(b.seen, ElementsAre(Seen{Kind::Sent, kReadSrA}, Seen{Kind::Received, kSrReply}));
  EXPECT_EQ(b.replies.size(), 1u);
}

TEST(FrameObservers, SeeAReplyCutShortByTheTimeOutAsStrayBytes) {
  Observed b;
  b.readSR();
  b.port.receive({0x55, 0x80});
  b.clock.advance(2000ms);
  EXPECT_EQ(b.timeouts, 1);
  EXPECT_THAT(b.seen, ElementsAre(Seen{Kind::Sent, kReadSrA}, Seen{Kind::Stray, {0x55, 0x80}}));
}

TEST(FrameObservers, SeeBytesBeforeTheNextRequestAsStrayBeforeThatRequest) {
  Observed b;
  b.readSR();
  // Noise after the reply never forms a frame: the next request gives it up.
  b.port.receive(kSrReply);
  const Bytes noise{0xAA, 0xBB};
  b.port.receive(noise);
  b.clock.advance(100ms);
  b.readSR();
  EXPECT_EQ(b.replies.size(), 1u);
  EXPECT_THAT(b.seen, ElementsAre(Seen{Kind::Sent, kReadSrA}, Seen{Kind::Received, kSrReply},
                                  Seen{Kind::Stray, noise}, Seen{Kind::Sent, kReadSrA}));
}

TEST(FrameObservers, SeeABadFrameOnceAndOnlyWhatFollowsItAsStray) {
  Observed b;
  b.readSR();
  const Bytes bad{0x55, 0x80, 0x01, 0x12, 0xE9};
  b.port.receive(bad);
  EXPECT_EQ(b.frameErrors, 1);
  b.port.receive({0x01});
  b.readSR();
  EXPECT_THAT(b.seen, ElementsAre(Seen{Kind::Sent, kReadSrA}, Seen{Kind::Received, bad},
                                  Seen{Kind::Stray, {0x01}}, Seen{Kind::Sent, kReadSrA}));
}

TEST(FrameObservers, SeeWhatAnOverflowDropsAsStray) {
  Observed b;
  b.readSR();
  // A lead and a length byte that promises 255 data bytes: 259 in all, more than the buffer.
  Bytes first{0x55, 0x80, 0xFF};
  first.resize(200, 0x00);
  b.port.receive(first);
  b.port.receive(Bytes(100, 0x11));
  EXPECT_EQ(b.overflows, 1);
  ASSERT_EQ(b.seen.size(), 2u);
  EXPECT_EQ(b.seen[1], (Seen{Kind::Stray, first}));
}

TEST(FrameObservers, AreToldInTurnAndCanLeaveWhileBeingTold) {
  Observed b;
  std::vector<int> order;
  int second = 0;
  second = b.link.addFrameObserver([&](const LineFrame&) {
    order.push_back(2);
    b.link.removeFrameObserver(second);
  });
  b.link.addFrameObserver([&](const LineFrame&) { order.push_back(3); });
  b.readSR();
  b.port.receive(kSrReply);
  EXPECT_THAT(order, ElementsAre(2, 3, 3));
  b.link.removeFrameObserver(b.id);
  b.readSR();
  EXPECT_EQ(b.seen.size(), 2u) << "a removed observer hears nothing more";
}

TEST(FrameObservers, MayJoinAndAskWhileBeingToldAndHearTheFramesAfter) {
  Observed b;
  bool again = true;
  int late = 0;
  b.link.addFrameObserver([&](const LineFrame& f) {
    if (f.kind != Kind::Received || !again) return;
    again = false;
    b.link.addFrameObserver([&](const LineFrame&) { ++late; });
    b.readSR();  // waits until the reply being told has been taken
  });
  b.readSR();
  b.port.receive(kSrReply);
  EXPECT_THAT(b.seen, ElementsAre(Seen{Kind::Sent, kReadSrA}, Seen{Kind::Received, kSrReply},
                                  Seen{Kind::Sent, kReadSrA}));
  EXPECT_EQ(late, 1) << "the observer that joined hears the frame sent after it joined";
}

}  // namespace
}  // namespace rtceval::testing
