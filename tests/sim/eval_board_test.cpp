#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

#include "frames.h"
#include "sim/board/eval_board.h"

namespace rtceval::sim {
namespace {

using rtceval::testing::Bytes;

using rtceval::testing::kProbe;
using rtceval::testing::kProbeAnswer;
using rtceval::testing::kReadTimeA;

Bytes status(std::uint8_t code, std::uint8_t sum) {
  return {0x55, 0x81, 0x01, code, sum};
}

// Records the bus events the board produces and answers as told.
class RecordingTarget : public I2cTarget {
 public:
  bool start(std::uint8_t device, bool read) override {
    log.push_back(std::string(read ? "R" : "W") + "@" + hex(device));
    return !refuseAddress;
  }
  bool writeByte(std::uint8_t byte) override {
    log.push_back(hex(byte));
    return ++written != refuseByte;
  }
  std::uint8_t readByte() override {
    log.push_back("rd");
    return nextRead++;
  }
  void stop() override { log.push_back("P"); }
  void advanceTo(std::int64_t nowMs) override { lastTime = nowMs; }

  static std::string hex(std::uint8_t b) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[b >> 4], kDigits[b & 15]};
  }

  std::vector<std::string> log;
  bool refuseAddress = false;
  int refuseByte = 0;  // 1-based number of the written byte to refuse; 0 = none
  int written = 0;
  std::uint8_t nextRead = 0x10;
  std::int64_t lastTime = -1;
};

class Board : public ::testing::Test {
 protected:
  std::vector<Bytes> send(const Bytes& bytes, std::int64_t atMs = 0) {
    std::vector<Bytes> frames;
    for (const BoardReply& r : board_.receive(bytes, atMs)) frames.push_back(r.frame);
    return frames;
  }
  RecordingTarget chip_;
  EvalBoard board_{chip_};
};

TEST_F(Board, ProbeIsAnsweredWithAnEmptyDataReplyAndNoBusTraffic) {
  EXPECT_EQ(send(kProbe), std::vector<Bytes>{kProbeAnswer});
  EXPECT_TRUE(chip_.log.empty());
}

TEST_F(Board, ReadIsAddressWriteThenRepeatedStartAndReads) {
  const auto replies = board_.receive(kReadTimeA, 42);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].frame,
            (Bytes{0x55, 0x80, 0x08, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x79}));
  EXPECT_EQ(chip_.log, (std::vector<std::string>{"W@6F", "00", "30", "R@6F", "rd", "rd", "rd", "rd",
                                                 "rd", "rd", "rd", "rd", "P"}));
  EXPECT_EQ(chip_.lastTime, 42);
  // Two address bytes, two device bytes and eight reads at 100 kHz, plus the bus conditions.
  EXPECT_EQ(replies[0].busTime.count(), 12 * 90 + 3 * 5);
}

TEST_F(Board, AddressHighByteFfSendsAOneByteAddress) {
  send({0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x00, 0x07, 0xCF});
  EXPECT_EQ(chip_.log, (std::vector<std::string>{"W@6F", "00", "R@6F", "rd", "rd", "rd", "rd", "rd",
                                                 "rd", "rd", "P"}));
}

TEST_F(Board, WriteIsAddressThenDataThenStopAndIsAcknowledged) {
  EXPECT_EQ(send({0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x3F, 0x01, 0x02, 0x0D}),
            std::vector<Bytes>{status(0x00, 0xD7)});
  EXPECT_EQ(chip_.log, (std::vector<std::string>{"W@6F", "00", "3F", "02", "P"}));
}

TEST_F(Board, ChipRefusalsBecomeReadAndWriteErrorsAfterAStop) {
  chip_.refuseAddress = true;
  EXPECT_EQ(send(kReadTimeA), std::vector<Bytes>{status(0x84, 0x5B)});
  EXPECT_EQ(chip_.log, (std::vector<std::string>{"W@6F", "P"}));

  chip_.refuseAddress = false;
  chip_.log.clear();
  chip_.refuseByte = 3;  // the data byte
  EXPECT_EQ(send({0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x11, 0x01, 0x80, 0x5D}),
            std::vector<Bytes>{status(0x85, 0x5C)});
  EXPECT_EQ(chip_.log, (std::vector<std::string>{"W@6F", "00", "11", "80", "P"}));
}

struct BadRequest {
  const char* what;
  Bytes frame;
  Bytes reply;
};
void PrintTo(const BadRequest& c, std::ostream* os) {
  *os << c.what;
}

class BadRequests : public Board, public ::testing::WithParamInterface<BadRequest> {};

TEST_P(BadRequests, AreAnsweredWithTheirStatusCodeAndNeverReachTheChip) {
  EXPECT_EQ(send(GetParam().frame), std::vector<Bytes>{GetParam().reply}) << GetParam().what;
  EXPECT_TRUE(chip_.log.empty());
  // The board is ready for the next request at once.
  EXPECT_EQ(send(kProbe), std::vector<Bytes>{kProbeAnswer}) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    StatusCodes, BadRequests,
    ::testing::Values(
        BadRequest{"checksum", {0x55, 0x00, 0x00, 0x56}, status(0x01, 0xD8)},
        BadRequest{"lead byte", {0x56}, status(0x02, 0xD9)},
        BadRequest{"flag byte", {0x55, 0x01}, status(0x03, 0xDA)},
        BadRequest{"34 payload bytes", {0x55, 0x00, 0x22}, status(0x04, 0xDB)},
        BadRequest{"read of six bytes",
                   {0x55, 0x00, 0x06, 0x00, 0x6F, 0x00, 0x30, 0x08, 0x00, 0x02},
                   status(0x06, 0xDD)},
        BadRequest{"read of four bytes",
                   {0x55, 0x00, 0x04, 0x00, 0x6F, 0x00, 0x30, 0xF8},
                   status(0x06, 0xDD)},
        BadRequest{"read count 0",
                   {0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x30, 0x00, 0xF9},
                   status(0x06, 0xDD)},
        BadRequest{"read count 65",
                   {0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x30, 0x41, 0x3A},
                   status(0x06, 0xDD)},
        BadRequest{"write count 0",
                   {0x55, 0x00, 0x05, 0x01, 0x6F, 0x00, 0x30, 0x00, 0xFA},
                   status(0x07, 0xDE)},
        BadRequest{"write count above data",
                   {0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x30, 0x02, 0x00, 0xFD},
                   status(0x07, 0xDE)},
        BadRequest{"write without count", {0x55, 0x00, 0x02, 0x01, 0x6F, 0xC7}, status(0x07, 0xDE)},
        BadRequest{"command 2",
                   {0x55, 0x00, 0x05, 0x02, 0x6F, 0x00, 0x30, 0x01, 0xFC},
                   status(0x08, 0xDF)}));

TEST_F(Board, ALongestReadAndAFullBufferWriteAreAccepted) {
  const auto replies = send({0x55, 0x00, 0x05, 0x00, 0x57, 0x00, 0x00, 0x40, 0xF1});
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].size(), 68u);

  Bytes write{0x55, 0x00, 33, 0x01, 0x57, 0x00, 0x00, 28};
  write.resize(write.size() + 28, 0xAB);
  std::uint8_t sum = 0;
  for (std::uint8_t b : write) sum = static_cast<std::uint8_t>(sum + b);
  write.push_back(sum);
  EXPECT_EQ(send(write), std::vector<Bytes>{status(0x00, 0xD7)});
}

TEST_F(Board, AnySplitOfARequestGivesOneReply) {
  const auto whole = send(kReadTimeA);
  for (std::size_t cut = 1; cut < kReadTimeA.size(); ++cut) {
    const Bytes head(kReadTimeA.begin(), kReadTimeA.begin() + static_cast<long>(cut));
    const Bytes tail(kReadTimeA.begin() + static_cast<long>(cut), kReadTimeA.end());
    EXPECT_TRUE(send(head, 10).empty()) << "cut " << cut;
    chip_.nextRead = 0x10;
    EXPECT_EQ(send(tail, 20), whole) << "cut " << cut;
  }
  for (std::size_t i = 0; i + 1 < kProbe.size(); ++i) EXPECT_TRUE(send({kProbe[i]}).empty());
  EXPECT_EQ(send({kProbe.back()}), std::vector<Bytes>{kProbeAnswer});
}

TEST_F(Board, SeveralRequestsInOneChunkAreAnsweredInOrder) {
  Bytes both = kProbe;
  both.insert(both.end(), {0x55, 0x00, 0x00, 0x00});
  EXPECT_EQ(send(both), (std::vector<Bytes>{kProbeAnswer, status(0x01, 0xD8)}));
}

TEST_F(Board, AFrameLeftIncompleteTimesOutAndTheRestIsIgnoredUntilTheNextLeadByte) {
  EXPECT_TRUE(send({0x55, 0x00, 0x05, 0x00, 0x6F}, 1000).empty());
  EXPECT_TRUE(send({0x00}, 1100).empty()) << "100 ms between bytes is still in time";
  EXPECT_EQ(board_.deadline(), 1201);
  EXPECT_FALSE(board_.poll(1200));
  const auto timedOut = board_.poll(1201);
  ASSERT_TRUE(timedOut);
  EXPECT_EQ(timedOut->frame, status(0x82, 0x59));
  EXPECT_FALSE(board_.poll(5000)) << "reported once";
  EXPECT_TRUE(send({0x30, 0x08, 0x01}, 1300).empty()) << "the stale tail is dropped quietly";
  EXPECT_EQ(send(kProbe, 1400), std::vector<Bytes>{kProbeAnswer});
  EXPECT_TRUE(chip_.log.empty());
}

TEST_F(Board, BytesAfterAnUnreportedGapGetTheTimeOutFirst) {
  send({0x55, 0x00}, 0);
  EXPECT_EQ(send(kProbe, 500), (std::vector<Bytes>{status(0x82, 0x59), kProbeAnswer}));
}

TEST_F(Board, GarbageIsReportedOnceAndTheBoardResynchronisesOnTheLeadByte) {
  EXPECT_EQ(send({0xAA, 0xBB, 0x00, 0x55, 0x00, 0x00, 0x55}),
            (std::vector<Bytes>{status(0x02, 0xD9), kProbeAnswer}));
  EXPECT_EQ(send({0x13}), std::vector<Bytes>{status(0x02, 0xD9)}) << "reported again after a frame";
}

}  // namespace
}  // namespace rtceval::sim
