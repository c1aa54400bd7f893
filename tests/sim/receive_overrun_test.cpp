#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <random>
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
// 64 bytes of the EEPROM from address 0: a 9-byte request, a 68-byte reply.
const Bytes kLongRead{0x55, 0x00, 0x05, 0x00, 0x57, 0x00, 0x00, 0x40, 0xF1};

struct Arrival {
  std::int64_t atMs;
  Bytes bytes;
};

// The program's side of the line to a virtual board, on a virtual clock.
class BoardReceiveOverrun : public ::testing::Test {
 protected:
  BoardReceiveOverrun()
      : port_(clock_, clock_, ChipModel::X1226, CivilTime{2004, 5, 20, 9, 5, 30}) {
    port_.setReceiveHandler([this](std::span<const std::uint8_t> chunk) {
      received_.push_back({clock_.now(), Bytes(chunk.begin(), chunk.end())});
    });
    EXPECT_TRUE(port_.open(1));
  }

  // Hands the bytes to the board in pieces of at most 4096, as a pseudo-terminal read would.
  void writeInPieces(const Bytes& bytes) {
    for (std::size_t at = 0; at < bytes.size(); at += 4096) {
      const std::size_t n = std::min<std::size_t>(4096, bytes.size() - at);
      ASSERT_TRUE(port_.write(std::span(bytes).subspan(at, n)));
    }
  }

  int probeRepliesReceived() const {
    Bytes all;
    for (const Arrival& r : received_) all.insert(all.end(), r.bytes.begin(), r.bytes.end());
    int count = 0;
    for (auto it = all.begin();
         (it = std::search(it, all.end(), kProbeAnswer.begin(), kProbeAnswer.end())) != all.end();
         ++it) {
      ++count;
    }
    return count;
  }

  rtceval::testing::VirtualClock clock_;
  VirtualBoardPort port_;
  std::vector<Arrival> received_;
};

TEST_F(BoardReceiveOverrun, BytesWrittenFasterThanTheLineBeyondTheFifoAreLost) {
  Bytes hundredProbes;
  for (int i = 0; i < 100; ++i)
    hundredProbes.insert(hundredProbes.end(), kProbe.begin(), kProbe.end());
  ASSERT_TRUE(port_.write(hundredProbes));
  clock_.advance(1000ms);
  EXPECT_EQ(probeRepliesReceived(), 16) << "a 64-byte FIFO holds 16 probes";
  EXPECT_EQ(port_.board().overrunBytes(), 336u);
}

TEST_F(BoardReceiveOverrun, NothingIsLostWhileThePcKeepsToTheLine) {
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(port_.write(kProbe));
    clock_.advance(3ms);  // a probe takes 2.1 ms on the line, its reply as long again
  }
  clock_.advance(20ms);
  EXPECT_EQ(probeRepliesReceived(), 100);
  EXPECT_EQ(port_.board().overrunBytes(), 0u);
}

// Garbage of three kinds: random bytes, lead bytes only, and frame heads announcing the longest
// payload, which leave a frame under way when the FIFO is full.
enum class Garbage { Random, LeadBytes, OpenFrames };
void PrintTo(Garbage g, std::ostream* os) {
  *os << (g == Garbage::Random ? "Random" : g == Garbage::LeadBytes ? "LeadBytes" : "OpenFrames");
}

Bytes twentyThousandBytesOf(Garbage kind) {
  Bytes out(20000);
  if (kind == Garbage::Random) {
    std::mt19937 random(1);
    for (std::uint8_t& b : out) b = static_cast<std::uint8_t>(random());
  } else if (kind == Garbage::LeadBytes) {
    std::fill(out.begin(), out.end(), std::uint8_t{0x55});
  } else {
    const Bytes head{0x55, 0x00, 0x21};
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = head[i % head.size()];
  }
  return out;
}

class BoardAfterABurstOf : public BoardReceiveOverrun,
                           public ::testing::WithParamInterface<Garbage> {};

TEST_P(BoardAfterABurstOf, AProbeIsAnsweredOnceAFrameTimeOutHasPassed) {
  writeInPieces(twentyThousandBytesOf(GetParam()));
  // The FIFO's 64 bytes cross the line in 34 ms; a frame they leave open ends 100 ms later.
  clock_.advance(140ms);
  received_.clear();
  ASSERT_TRUE(port_.write(kProbe));
  clock_.advance(20ms);
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].bytes, kProbeAnswer);
  EXPECT_EQ(received_[0].atMs, 145) << "the probe's own time on the line, no more";
}

INSTANTIATE_TEST_SUITE_P(Garbage, BoardAfterABurstOf,
                         ::testing::Values(Garbage::Random, Garbage::LeadBytes,
                                           Garbage::OpenFrames),
                         [](const auto& param) { return ::testing::PrintToString(param.param); });

TEST_F(BoardReceiveOverrun, LongRepliesDoNotPileUpBehindRequestsSentAtLineSpeed) {
  // Each request takes 4.7 ms on the line, each reply 35 ms and the bus 6 ms: the board cannot
  // keep up, takes no bytes while it answers, and loses what its FIFO cannot hold.
  for (int i = 0; i < 1000; ++i) {
    ASSERT_TRUE(port_.write(kLongRead));
    clock_.advance(5ms);
  }
  const std::int64_t lastWriteMs = clock_.now() - 5;
  clock_.advance(60'000ms);
  ASSERT_FALSE(received_.empty());
  EXPECT_LT(received_.back().atMs, lastWriteMs + 500)
      << "at most a FIFO's worth of requests was still waiting";
  EXPECT_GT(port_.board().overrunBytes(), 0u);
}

}  // namespace
}  // namespace rtceval::sim
