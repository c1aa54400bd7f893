// Request frames on the wire and the reassembly of replies that arrive in any split.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "board_link/board_link.h"
#include "board_link/requests.h"
#include "core/device_profile.h"
#include "window_bench.h"

namespace rtceval::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

TEST(RequestFrame, ProbeIsLeadFlagZeroLengthAndSum) {
  LinkBench b;
  b.link.requestQuietly(requests::probe(StProbe));
  ASSERT_EQ(b.port.writes.size(), 1u);
  EXPECT_THAT(b.sent(), ElementsAre(0x55, 0x00, 0x00, 0x55));
  EXPECT_EQ(b.link.pendingRequest(), StProbe);
  EXPECT_FALSE(b.link.awaitingReply()) << "a probe arms no response time-out";
  b.profile.Is1208Family = true;
  b.link.requestQuietly(requests::probe(StConnect));
  EXPECT_THAT(b.sent(), ElementsAre(0x55, 0x00, 0x00, 0x55));
}

TEST(RequestFrame, ReadOfEightBytesAt0x30) {
  LinkBench b;
  b.link.request(requests::readTime(Layout::A));
  EXPECT_THAT(b.sent(), ElementsAre(0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x30, 0x08, 0x01));
}

TEST(RequestFrame, The1208FamilySendsAndSumsAddressHighByteAsFF) {
  LinkBench b;
  b.profile.Is1208Family = true;
  b.link.request(requests::readTime(Layout::B));
  EXPECT_THAT(b.sent(), ElementsAre(0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x00, 0x07, 0xCF));
  // A probe after it still goes out empty: the address byte stays within the request.
  b.port.receive(dataReply({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
  b.link.requestQuietly(requests::probe(StProbe));
  EXPECT_THAT(b.sent(), ElementsAre(0x55, 0x00, 0x00, 0x55));
}

TEST(RequestFrame, ChecksumWrapsModulo256) {
  LinkBench b;
  const std::uint8_t byte[] = {0xFF};
  b.link.request(requests::writeEeprom(0xFFFF, byte));
  // 0x55 + 6 + 0x01 + 0x57 + 0xFF + 0xFF + 0x01 + 0xFF = 0x3B1
  EXPECT_THAT(b.sent(), ElementsAre(0x55, 0x00, 0x06, 0x01, 0x57, 0xFF, 0xFF, 0x01, 0xFF, 0xB1));
}

TEST(RequestFrame, EepromBlocksCarryTheirCountAndEveryByte) {
  LinkBench b;
  const std::uint8_t page[] = {0xDE, 0xAD, 0xBE, 0xEF};
  b.link.request(requests::writeEeprom(0x01F0, page));
  EXPECT_THAT(b.sent(), ElementsAre(0x55, 0x00, 0x09, 0x01, 0x57, 0x01, 0xF0, 0x04, 0xDE, 0xAD,
                                    0xBE, 0xEF, 0xE3));
  b.port.receive(kAck);
  b.link.request(requests::readEeprom(0x0100, 0x40));
  EXPECT_THAT(b.sent(), ElementsAre(0x55, 0x00, 0x05, 0x00, 0x57, 0x01, 0x00, 0x40, 0xF2));
}

TEST(RequestOperation, ArmsTimeoutRecordsKindAndShowsText) {
  LinkBench b;
  b.port.receive({0x55, 0x80, 0x01});  // the start of an older reply
  b.link.request(*requests::readRegister(Layout::A, RegisterId::SR));
  EXPECT_TRUE(b.link.awaitingReply());
  EXPECT_EQ(b.link.pendingRequest(), StReadSR);
  EXPECT_THAT(b.statusTexts, ElementsAre("读SR"));
  // Every request starts a new reply at index 0: the older bytes are gone.
  b.port.receive(dataReply({0x80}));
  ASSERT_EQ(b.replies.size(), 1u);
  EXPECT_EQ(b.replies[0], std::make_pair(StReadSR, dataReply({0x80})));
  EXPECT_FALSE(b.link.awaitingReply()) << "a complete reply ends the time-out";
}

TEST(RequestOperation, FailedWriteOnClosedPortIsIgnored) {
  LinkBench b;
  b.port.receive({0x55, 0x80, 0x01, 0x00});
  b.port.close();
  b.link.request(*requests::readRegister(Layout::A, RegisterId::SR));
  EXPECT_TRUE(b.port.writes.empty());
  EXPECT_EQ(b.overflows + b.frameErrors, 0);
  EXPECT_TRUE(b.link.awaitingReply()) << "the missing reply runs into the time-out";
  EXPECT_THAT(b.statusTexts, ElementsAre("读SR"));
  b.clock.advance(2000ms);
  EXPECT_EQ(b.timeouts, 1);
  EXPECT_FALSE(b.link.awaitingReply());
  b.clock.advance(10000ms);
  EXPECT_EQ(b.timeouts, 1) << "the time-out fires once per request";
}

// --- Reassembly, through the window so that a dispatched reply is visible ---------------------

struct Reassembly : ::testing::Test {
  WindowBench b;
  void SetUp() override {
    b.loadConnectedWith(MenuId::X1226);
    b.window.menuClick(MenuId::READTIME);
  }
  bool timeShown() const {
    return b.panel(2) == "读时间成功" && b.controls().timeLabel.caption == "09:05:30";
  }
};

TEST_F(Reassembly, ByteByByte) {
  for (std::size_t i = 0; i < kTimeReply.size(); ++i) {
    EXPECT_EQ(b.panel(2), "读时间...") << "dispatched early, after " << i << " bytes";
    b.port.receive({kTimeReply[i]});
  }
  EXPECT_TRUE(timeShown());
  EXPECT_FALSE(b.window.link().awaitingReply());
}

TEST_F(Reassembly, EveryTwoAndThreePieceSplit) {
  const std::ptrdiff_t n = std::ssize(kTimeReply);
  for (std::ptrdiff_t i = 1; i < n; ++i) {
    for (std::ptrdiff_t j = i; j < n; ++j) {
      WindowBench fresh;
      fresh.loadConnectedWith(MenuId::X1226);
      fresh.window.menuClick(MenuId::READTIME);
      fresh.port.receive(Bytes(kTimeReply.begin(), kTimeReply.begin() + i));
      if (j > i) fresh.port.receive(Bytes(kTimeReply.begin() + i, kTimeReply.begin() + j));
      EXPECT_EQ(fresh.panel(2), "读时间...") << "split " << i << "/" << j;
      fresh.port.receive(Bytes(kTimeReply.begin() + j, kTimeReply.end()));
      EXPECT_EQ(fresh.panel(2), "读时间成功") << "split " << i << "/" << j;
      EXPECT_EQ(fresh.controls().timeLabel.caption, "09:05:30") << "split " << i << "/" << j;
    }
  }
}

TEST(ReassemblyAck, AcknowledgementOneChunkOrByteByByte) {
  for (bool byteByByte : {false, true}) {
    WindowBench b;
    b.loadConnectedWith(MenuId::X1226);
    b.window.commands().CmdWriteAL0();
    if (byteByByte)
      for (std::uint8_t x : kAck) b.port.receive({x});
    else
      b.port.receive(kAck);
    EXPECT_EQ(b.panel(2), "设置AL0成功") << (byteByByte ? "byte by byte" : "one chunk");
  }
}

TEST_F(Reassembly, RepliesAfterAGoodReplyStartAtIndexZero) {
  b.port.receive(kTimeReply);
  ASSERT_TRUE(timeShown());
  b.window.commands().CmdWriteTime();
  b.port.receive({0x55, 0x81});
  b.port.receive({0x01, 0x00, 0xD7});
  EXPECT_EQ(b.panel(2), "设置时间成功");
  b.window.commands().CmdGetSR();
  b.port.receive(dataReply({0x80}));
  EXPECT_EQ(b.panel(2), "读SR成功");
  EXPECT_EQ(b.window.registers().RegSR, 0x80);
}

TEST_F(Reassembly, BadChecksumIsReportedAndNotDispatched) {
  b.port.receive(kTimeReply);
  b.window.commands().CmdWriteAL0();
  b.port.receive({0x55, 0x81, 0x01, 0x00, 0xD8});
  EXPECT_EQ(b.panel(2), "帧和校验错");
  EXPECT_EQ(b.messageBoxes.beeps, 1);
  EXPECT_TRUE(b.window.link().awaitingReply()) << "the request still waits for its time-out";
  // The bad frame stays in the buffer: a good acknowledgement right after it is not read until
  // a new request starts the buffer afresh.
  b.port.receive(kAck);
  EXPECT_EQ(b.panel(2), "帧和校验错");
  b.window.commands().CmdWriteAL0();
  b.port.receive(kAck);
  EXPECT_EQ(b.panel(2), "设置AL0成功");
}

TEST_F(Reassembly, MoreBytesThanTheLengthSaysAreNeverDispatched) {
  Bytes longer = kTimeReply;
  longer.push_back(0x00);
  b.port.receive(longer);
  EXPECT_EQ(b.panel(2), "读时间...");
  b.port.receive({0x00, 0x00});
  EXPECT_EQ(b.panel(2), "读时间...");
  EXPECT_EQ(b.messageBoxes.beeps, 0);
}

TEST_F(Reassembly, TimeoutDropsAPartialReply) {
  b.port.receive(Bytes(kTimeReply.begin(), kTimeReply.begin() + 5));
  b.clock.advance(2000ms);
  b.window.commands().CmdReadTime();
  b.port.receive(kTimeReply);
  EXPECT_TRUE(timeShown()) << "the next read's reply is not glued to the half before";
}

TEST_F(Reassembly, OverflowRestartsAtIndexZeroWithTheChunk) {
  b.port.receive(Bytes(250, 0x00));  // length byte 0: never complete
  EXPECT_TRUE(b.messageBoxes.shown.empty());
  b.port.receive(Bytes(kTimeReply.begin(), kTimeReply.begin() + 8));  // 258 > 257
  EXPECT_TRUE(b.messageBoxes.shown.empty()) << "no box from inside the receive handler";
  b.clock.advance(1ms);
  ASSERT_EQ(b.messageBoxes.shown.size(), 1u);
  EXPECT_EQ(b.messageBoxes.shown[0].text, "接收缓冲区溢出");
  EXPECT_FALSE(b.messageBoxes.shown[0].question);
  b.port.receive(Bytes(kTimeReply.begin() + 8, kTimeReply.end()));
  EXPECT_TRUE(timeShown());
}

TEST(ReassemblyOverflow, ChunkLongerThanTheBufferKeepsItsFirst257Bytes) {
  LinkBench b;
  b.link.request(*requests::readRegister(Layout::A, RegisterId::SR));
  b.port.receive({0x55, 0x80});
  // A 257-byte reply (253 data bytes) followed by 43 bytes more, in one chunk.
  Bytes data(253);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i);
  const Bytes reply = dataReply(data);
  ASSERT_EQ(reply.size(), 257u);
  Bytes huge = reply;
  huge.insert(huge.end(), 43, 0xEE);
  b.port.receive(huge);
  EXPECT_EQ(b.overflows, 1);
  ASSERT_EQ(b.replies.size(), 1u);
  EXPECT_THAT(b.replies[0].second, ElementsAreArray(reply));
}

TEST_F(Reassembly, LargestReplyFillsTheBufferWithoutOverflow) {
  // 253 data bytes make a 257-byte frame; under a pending time read it is the wrong length.
  b.port.receive(Bytes{0x55, 0x80, 0xFD});
  b.port.receive(Bytes(253, 0x11));
  b.port.receive(Bytes{0x9F});
  EXPECT_TRUE(b.messageBoxes.shown.empty());
  EXPECT_EQ(b.panel(2), "读时间失败");
}

}  // namespace
}  // namespace rtceval::testing
