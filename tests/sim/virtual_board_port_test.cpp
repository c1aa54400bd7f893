#include <gtest/gtest.h>

#include <vector>

#include "frames.h"
#include "sim/virtual_board_port.h"
#include "virtual_clock.h"

namespace rtceval::sim {
namespace {

using namespace std::chrono_literals;
using rtceval::testing::Bytes;

using rtceval::testing::kProbe;
using rtceval::testing::kProbeAnswer;
using rtceval::testing::kReadTimeA;

struct Received {
  std::int64_t atMs;
  Bytes bytes;
};

class PortTest : public ::testing::Test {
 protected:
  explicit PortTest(ChipModel model = ChipModel::X1226)
      : port_(clock_, clock_, model, CivilTime{2004, 5, 20, 9, 5, 30}) {
    port_.setReceiveHandler([this](std::span<const std::uint8_t> chunk) {
      received_.push_back({clock_.now(), Bytes(chunk.begin(), chunk.end())});
    });
  }

  // Sends a request and returns everything that came back within `wait`, joined.
  Bytes exchange(const Bytes& request, Millis wait = 50ms) {
    received_.clear();
    EXPECT_TRUE(port_.write(request));
    clock_.advance(wait);
    Bytes all;
    for (const Received& r : received_) all.insert(all.end(), r.bytes.begin(), r.bytes.end());
    return all;
  }

  rtceval::testing::VirtualClock clock_;
  VirtualBoardPort port_;
  std::vector<Received> received_;
};

TEST_F(PortTest, OpensOnlyItsOwnPortNumber) {
  EXPECT_FALSE(port_.write(kProbe)) << "closed";
  EXPECT_FALSE(port_.open(2));
  EXPECT_FALSE(port_.isOpen());
  EXPECT_EQ(port_.deviceName(2), "");
  EXPECT_TRUE(port_.open(1));
  EXPECT_TRUE(port_.isOpen());
  // The name the port dialog and the system information show the user.
  EXPECT_EQ(port_.deviceName(1), "虚拟评估板 (X1226)");
  EXPECT_FALSE(port_.open(3)) << "opening another number closes this one";
  EXPECT_FALSE(port_.isOpen());
}

TEST_F(PortTest, RepliesArriveAfterTheirTimeOnTheLine) {
  ASSERT_TRUE(port_.open(1));
  ASSERT_TRUE(port_.write(kProbe));
  clock_.advance(4ms);  // 8 bytes at 19200 baud take 4.17 ms
  EXPECT_TRUE(received_.empty());
  clock_.advance(1ms);
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].bytes, kProbeAnswer);
  EXPECT_EQ(received_[0].atMs, 5);

  received_.clear();
  ASSERT_TRUE(port_.write(kReadTimeA));
  clock_.advance(11ms);  // 21 bytes on the line and the chip's bus time: just over 12 ms
  EXPECT_TRUE(received_.empty());
  clock_.advance(2ms);
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].bytes,
            (Bytes{0x55, 0x80, 0x08, 0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20, 0xE8}));
}

TEST_F(PortTest, TheChipCountsOnTheSameClock) {
  ASSERT_TRUE(port_.open(1));
  clock_.advance(61'000ms);
  const Bytes reply = exchange(kReadTimeA);
  ASSERT_EQ(reply.size(), 12u);
  EXPECT_EQ(reply[3], 0x31);
  EXPECT_EQ(reply[4], 0x06);
}

TEST_F(PortTest, TheProgramsWriteSequenceUnlocksAndWritesARegister) {
  ASSERT_TRUE(port_.open(1));
  const Bytes ack{0x55, 0x81, 0x01, 0x00, 0xD7};
  EXPECT_EQ(exchange({0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x11, 0x01, 0x98, 0x75}),
            (Bytes{0x55, 0x81, 0x01, 0x85, 0x5C}))
      << "locked";
  EXPECT_EQ(exchange({0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x3F, 0x01, 0x02, 0x0D}), ack);
  EXPECT_EQ(exchange({0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x3F, 0x01, 0x06, 0x11}), ack);
  EXPECT_EQ(exchange({0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x11, 0x01, 0x98, 0x75}), ack);
  EXPECT_EQ(exchange({0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x11, 0x01, 0xDB}),
            (Bytes{0x55, 0x80, 0x01, 0x98, 0x6E}));
}

TEST_F(PortTest, AWriteCycleRefusesTheNextRequestSentTooSoon) {
  ASSERT_TRUE(port_.open(1));
  exchange({0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x3F, 0x01, 0x02, 0x0D});
  exchange({0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x3F, 0x01, 0x06, 0x11});
  received_.clear();
  ASSERT_TRUE(port_.write(Bytes{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x11, 0x01, 0x98, 0x75}));
  ASSERT_TRUE(port_.write(Bytes{0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x11, 0x01, 0xDB}));
  clock_.advance(50ms);
  ASSERT_EQ(received_.size(), 2u);
  EXPECT_EQ(received_[1].bytes, (Bytes{0x55, 0x81, 0x01, 0x84, 0x5B}));
}

TEST_F(PortTest, AnIncompleteRequestIsAnsweredWithAFrameTimeOut) {
  ASSERT_TRUE(port_.open(1));
  ASSERT_TRUE(port_.write(Bytes{0x55, 0x00, 0x05}));
  clock_.advance(100ms);
  EXPECT_TRUE(received_.empty());
  clock_.advance(10ms);
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].bytes, (Bytes{0x55, 0x81, 0x01, 0x82, 0x59}));
  EXPECT_EQ(exchange(kProbe), kProbeAnswer);
}

TEST_F(PortTest, RequestsWrittenInPiecesAreAnsweredOnce) {
  ASSERT_TRUE(port_.open(1));
  for (std::uint8_t b : kProbe) {
    ASSERT_TRUE(port_.write(Bytes{b}));
    clock_.advance(3ms);
  }
  clock_.advance(20ms);
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].bytes, kProbeAnswer);
}

TEST_F(PortTest, RepliesDueWhileClosedAreLost) {
  ASSERT_TRUE(port_.open(1));
  ASSERT_TRUE(port_.write(kProbe));
  port_.close();
  clock_.advance(50ms);
  EXPECT_TRUE(received_.empty());
  ASSERT_TRUE(port_.open(1));
  EXPECT_EQ(exchange(kProbe), kProbeAnswer);
}

TEST_F(PortTest, AHandlerMayWriteTheNextRequestFromTheReply) {
  ASSERT_TRUE(port_.open(1));
  int answered = 0;
  port_.setReceiveHandler([&](std::span<const std::uint8_t>) {
    if (++answered < 3) port_.write(kProbe);
  });
  ASSERT_TRUE(port_.write(kProbe));
  clock_.advance(100ms);
  EXPECT_EQ(answered, 3);
}

TEST_F(PortTest, LineFaultsShapeTheReplies) {
  ASSERT_TRUE(port_.open(1));
  FaultInjector& faults = port_.board().faults();

  faults.set(ReplyFault::Split, 3);
  EXPECT_EQ(exchange(kReadTimeA),
            (Bytes{0x55, 0x80, 0x08, 0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20, 0xE8}));
  ASSERT_EQ(received_.size(), 4u);
  EXPECT_EQ(received_[0].bytes, (Bytes{0x55, 0x80, 0x08}));
  EXPECT_LT(received_[0].atMs, received_[3].atMs) << "pieces come as their bytes cross the line";

  faults.set(ReplyFault::Drop);
  EXPECT_EQ(exchange(kProbe), (Bytes{0x55, 0x80, 0x00}));
  faults.set(ReplyFault::Corrupt);
  EXPECT_EQ(exchange(kProbe), (Bytes{0x55, 0x80, 0x00, 0xD6}));
  faults.set(ReplyFault::Stall);
  EXPECT_EQ(exchange(kProbe, 1000ms), Bytes{});

  faults.set(ReplyFault::None);
  EXPECT_EQ(exchange(kProbe), kProbeAnswer);
  EXPECT_EQ(received_.size(), 1u);
}

class LayoutBPortTest : public PortTest {
 protected:
  LayoutBPortTest() : PortTest(ChipModel::X1209) {}
};

TEST_F(LayoutBPortTest, ReadsWithTheShortAddressFormAndRefusesTheMemory) {
  ASSERT_TRUE(port_.open(1));
  EXPECT_EQ(exchange({0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x00, 0x07, 0xCF}),
            (Bytes{0x55, 0x80, 0x07, 0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0xC7}));
  EXPECT_EQ(exchange({0x55, 0x00, 0x05, 0x00, 0x57, 0x00, 0x01, 0x01, 0xB3}),
            (Bytes{0x55, 0x81, 0x01, 0x84, 0x5B}));
}

}  // namespace
}  // namespace rtceval::sim
