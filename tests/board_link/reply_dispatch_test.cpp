// What each reply does under each kind of pending request: the texts it leaves in the link panel
// and what it writes into the register image, the records and the chip reads.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "board_link/board_status.h"
#include "board_link/reply_dispatcher.h"
#include "core/device_profile.h"
#include "window_bench.h"

namespace rtceval::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The models a reply writes into, and what the last reply did.
struct Dispatch {
  RegisterImage regs;
  TimeAlarmRecords records;
  ChipReads reads;
  DeviceProfile profile;
  int portNo = 1;
  ReplyOutcome out;

  explicit Dispatch(bool is1208Family = false) { profile.Is1208Family = is1208Family; }
  void deliver(CmdStateCode state, const Bytes& frame) {
    ReplyModels models{regs, records, reads};
    out = ParseReply(frame, state, profile, portNo, models);
  }
  const std::vector<std::string>& texts() const { return out.texts; }
};

const Bytes kOneByteReply = dataReply({0x5C});
const Bytes kReadError{0x55, 0x81, 0x01, 0x84, 0x5B};

std::string layoutName(bool is1208Family) {
  return is1208Family ? "LayoutB" : "LayoutA";
}

// --- Acknowledged writes ------------------------------------------------------------------------

struct AckCase {
  CmdStateCode state;
  const char* done;
};
void PrintTo(const AckCase& c, std::ostream* os) {
  *os << "request " << int(c.state) << " -> " << c.done;
}

class AcknowledgedWrite : public ::testing::TestWithParam<AckCase> {};

TEST_P(AcknowledgedWrite, OnlyAnAcknowledgementShowsItsText) {
  Dispatch ok;
  ok.deliver(GetParam().state, kAck);
  EXPECT_THAT(ok.texts(), ElementsAre(GetParam().done));
  EXPECT_TRUE(ok.out.accepted);

  Dispatch data;
  data.deliver(GetParam().state, kOneByteReply);
  EXPECT_THAT(data.texts(), IsEmpty());
  EXPECT_FALSE(data.out.accepted);
  EXPECT_EQ(data.regs.RegSR, 0) << "a write stores nothing";

  Dispatch error;
  error.deliver(GetParam().state, {0x55, 0x81, 0x01, 0x85, 0x5C});
  EXPECT_THAT(error.texts(), ElementsAre("评估板写器件错"));
  EXPECT_FALSE(error.out.beep);
}

INSTANTIATE_TEST_SUITE_P(
    AllWrites, AcknowledgedWrite,
    ::testing::Values(AckCase{0x02, "设置时间成功"}, AckCase{0x10, "设置SR成功"},
                      AckCase{0x12, "写WEL成功"}, AckCase{0x13, "写RWEL成功"},
                      AckCase{0x18, "写WRTC成功"}, AckCase{0x20, "设置INT成功"},
                      AckCase{0x30, "设置BL成功"}, AckCase{0x40, "设置ATR成功"},
                      AckCase{0x50, "设置DTR成功"}, AckCase{0x60, "设置EV成功"},
                      AckCase{0x70, "设置AL0成功"}, AckCase{0x80, "设置AL1成功"},
                      AckCase{0xB0, "写存储器成功"}, AckCase{0xC0, "写用户寄存器成功"}));

// --- One-register reads -------------------------------------------------------------------------

struct RegReadCase {
  CmdStateCode state;
  const char* done;
  std::uint8_t RegisterImage::*image;
};
void PrintTo(const RegReadCase& c, std::ostream* os) {
  *os << "request " << int(c.state) << " -> " << c.done;
}

class RegisterRead : public ::testing::TestWithParam<std::tuple<RegReadCase, bool>> {};

TEST_P(RegisterRead, OnlyAOneByteDataReplyStoresTheRegister) {
  const auto& [c, family] = GetParam();
  Dispatch d(family);
  d.deliver(c.state, kOneByteReply);
  EXPECT_EQ(d.regs.*c.image, 0x5C);
  EXPECT_THAT(d.texts(), ElementsAre(c.done));
  EXPECT_TRUE(d.out.accepted);

  for (const Bytes& frame : {kAck, dataReply({0x5C, 0x5D}), dataReply({}), kReadError}) {
    Dispatch other(family);
    other.regs.*c.image = 0xA7;
    other.deliver(c.state, frame);
    EXPECT_EQ(other.regs.*c.image, 0xA7);
    EXPECT_FALSE(other.out.accepted);
    if (frame == kReadError)
      EXPECT_THAT(other.texts(), ElementsAre("评估板读器件错")) << "the board's text stays";
    else
      EXPECT_THAT(other.texts(), IsEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    AllRegisters, RegisterRead,
    ::testing::Combine(::testing::Values(RegReadCase{0x11, "读SR成功", &RegisterImage::RegSR},
                                         RegReadCase{0x21, "读INT成功", &RegisterImage::RegINT},
                                         RegReadCase{0x31, "读BL成功", &RegisterImage::RegBL},
                                         RegReadCase{0x41, "读ATR成功", &RegisterImage::RegATR},
                                         RegReadCase{0x51, "读DTR成功", &RegisterImage::RegDTR},
                                         RegReadCase{0x61, "读EV成功", &RegisterImage::RegEV}),
                       ::testing::Bool()),
    [](const auto& testInfo) {
      const RegReadCase& c = std::get<0>(testInfo.param);
      return "Request" + std::to_string(c.state) + "_" + layoutName(std::get<1>(testInfo.param));
    });

// --- Reads that report their own failure --------------------------------------------------------

struct BlockReadCase {
  const char* name;
  CmdStateCode state;
  int lengthA;
  int lengthB;
  const char* done;
  const char* failed;
};
void PrintTo(const BlockReadCase& c, std::ostream* os) {
  *os << c.name;
}

class BlockRead : public ::testing::TestWithParam<std::tuple<BlockReadCase, bool>> {
 protected:
  static Bytes dataOf(int n) {
    Bytes data;
    for (int i = 0; i < n; ++i) data.push_back(static_cast<std::uint8_t>(0x10 + i));
    return data;
  }
  int expectedLength() const {
    const auto& [c, family] = GetParam();
    return family ? c.lengthB : c.lengthA;
  }
};

TEST_P(BlockRead, OnlyTheLayoutsLengthIsAcceptedOthersShowTheFailureText) {
  const auto& [c, family] = GetParam();
  const int n = expectedLength();
  Dispatch d(family);
  d.portNo = 3;
  d.deliver(c.state, dataReply(dataOf(n)));
  EXPECT_THAT(d.texts(), ElementsAre(c.done));
  EXPECT_TRUE(d.out.accepted);

  for (const Bytes& frame :
       {dataReply(dataOf(n + 1)), dataReply(dataOf(n == 0 ? 2 : n - 1)), kAck}) {
    Dispatch other(family);
    other.deliver(c.state, frame);
    EXPECT_THAT(other.texts(), ElementsAre(c.failed)) << c.name;
    EXPECT_FALSE(other.out.accepted);
    EXPECT_EQ(other.records.Alarm0Regs.second + other.records.Alarm1Regs.second +
                  other.reads.memoryByte + other.reads.userRegisters[0] +
                  other.reads.time.time.second,
              0)
        << "nothing is stored from a rejected reply";
  }
  Dispatch error(family);
  error.deliver(c.state, kReadError);
  EXPECT_THAT(error.texts(), ElementsAre("评估板读器件错", c.failed)) << "the failure text stays";
}

INSTANTIATE_TEST_SUITE_P(
    Reads, BlockRead,
    ::testing::Combine(
        ::testing::Values(
            BlockReadCase{"time", 0x01, 8, 7, "读时间成功", "读时间失败"},
            BlockReadCase{"alarm 0", 0x71, 8, 6, "读AL0成功", "读AL0失败"},
            BlockReadCase{"alarm 1", 0x81, 8, 8, "读AL1成功", "读AL1失败"},
            BlockReadCase{"memory", 0xB1, 1, 1, "读存储器成功", "读存储器失败"},
            BlockReadCase{"user registers", 0xC1, 2, 2, "读用户寄存器成功", "读用户寄存器失败"},
            BlockReadCase{"connect", 0x09, 0, 0, "成功连接评估板于串口3", "未成功连接到评估板"}),
        ::testing::Bool()),
    [](const auto& testInfo) {
      std::string n = std::get<0>(testInfo.param).name;
      std::replace(n.begin(), n.end(), ' ', '_');
      return n + "_" + layoutName(std::get<1>(testInfo.param));
    });

TEST(ReplyDispatch, AcceptedDataGoesIntoTheModels) {
  Dispatch time;
  time.deliver(StReadTime, dataReply({0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20}));
  EXPECT_EQ(time.reads.time.display.timeText, "09:05:30");
  EXPECT_TRUE(time.reads.time.is24Hour);

  // Alarm records in register order; layout B has no year and keeps the weekday sixth.
  Dispatch alarm0;
  alarm0.deliver(StReadAL0, dataReply({0x81, 0x82, 0x83, 0x84, 0x85, 0x04, 0x86, 0x20}));
  const TimeRecord& a0 = alarm0.records.Alarm0Regs;
  EXPECT_EQ(std::vector<int>({a0.second, a0.minute, a0.hour, a0.date, a0.month, a0.weekday}),
            std::vector<int>({0x81, 0x82, 0x83, 0x84, 0x85, 0x86}));
  EXPECT_EQ(a0.year, 0x2004);
  Dispatch alarm0B(true);
  alarm0B.records.Alarm0Regs.year = 0x1999;
  alarm0B.deliver(StReadAL0, dataReply({1, 2, 3, 4, 5, 6}));
  const TimeRecord& b0 = alarm0B.records.Alarm0Regs;
  EXPECT_EQ(std::vector<int>({b0.second, b0.minute, b0.hour, b0.date, b0.month, b0.weekday}),
            std::vector<int>({1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(b0.year, 0x1999) << "the X1208 family's alarm has no year";
  Dispatch alarm1;
  alarm1.deliver(StReadAL1, dataReply({9, 8, 7, 6, 5, 0x99, 3, 0x19}));
  EXPECT_EQ(alarm1.records.Alarm1Regs.second, 9);
  EXPECT_EQ(alarm1.records.Alarm1Regs.year, 0x1999);
  EXPECT_EQ(alarm1.records.Alarm0Regs.second, 0) << "alarm 0 is left alone";

  Dispatch memory;
  memory.deliver(StReadMem, dataReply({0x3A}));
  EXPECT_EQ(memory.reads.memoryByte, 0x3A);
  Dispatch user(true);
  user.deliver(StReadUR, dataReply({0x12, 0xEF}));
  EXPECT_EQ(user.reads.userRegisters, (std::array<std::uint8_t, 2>{0x12, 0xEF}));
}

TEST(ReplyDispatch, AnEepromBlockReadKeepsEveryByteUpToAPage) {
  Bytes page;
  for (int i = 0; i < 64; ++i) page.push_back(static_cast<std::uint8_t>(0xC0 ^ i));
  Dispatch block;
  block.deliver(StReadMemBlock, dataReply(page));
  EXPECT_TRUE(block.out.accepted);
  EXPECT_EQ(block.reads.memoryBlock, page);
  EXPECT_EQ(block.reads.memoryByte, 0) << "the EEPROM dialog's byte is left alone";
  EXPECT_THAT(block.texts(), ElementsAre("读存储器成功"));

  page.push_back(0x00);
  for (const Bytes& frame : {dataReply(page), dataReply({}), kAck, kReadError}) {
    Dispatch other;
    other.deliver(StReadMemBlock, frame);
    EXPECT_FALSE(other.out.accepted);
    EXPECT_TRUE(other.reads.memoryBlock.empty());
    EXPECT_EQ(other.texts().back(), "读存储器失败");
  }
}

TEST(ReplyDispatch, ControlBlockFillsTheFourRegistersOfTheLayout) {
  Dispatch a;
  a.regs.RegEV = 0x5A;
  a.deliver(0x77, dataReply({0xB1, 0xC2, 0xD3, 0xE4}));
  const RegisterImage& ra = a.regs;
  EXPECT_EQ(std::vector<int>({ra.RegBL, ra.RegINT, ra.RegATR, ra.RegDTR, ra.RegEV}),
            std::vector<int>({0xB1, 0xC2, 0xD3, 0xE4, 0x5A}));
  EXPECT_THAT(a.texts(), IsEmpty());
  EXPECT_TRUE(a.out.accepted);

  Dispatch b(true);
  b.regs.RegBL = 0x5A;
  b.deliver(0x77, dataReply({0xB1, 0xC2, 0xD3, 0xE4}));
  const RegisterImage& rb = b.regs;
  EXPECT_EQ(std::vector<int>({rb.RegINT, rb.RegEV, rb.RegATR, rb.RegDTR, rb.RegBL}),
            std::vector<int>({0xB1, 0xC2, 0xD3, 0xE4, 0x5A}));

  Dispatch one;  // four bytes expected: ignored silently
  one.deliver(0x77, dataReply({0xB1}));
  EXPECT_EQ(one.regs.RegBL + one.regs.RegINT, 0);
  EXPECT_THAT(one.texts(), IsEmpty());
  EXPECT_FALSE(one.out.accepted);
}

TEST(ReplyDispatch, ProbeAnswersNameThePort) {
  Dispatch probe;
  probe.portNo = 2;
  probe.deliver(StProbe, kProbeAnswer);
  EXPECT_THAT(probe.texts(), ElementsAre("成功连接评估板于串口2"));
  EXPECT_TRUE(probe.out.accepted);
  Dispatch other;
  other.deliver(StProbe, kAck);
  EXPECT_THAT(other.texts(), IsEmpty()) << "the next detection step goes on";
  EXPECT_FALSE(other.out.accepted);

  Dispatch connect;
  connect.portNo = 4;
  connect.deliver(StConnect, kProbeAnswer);
  EXPECT_THAT(connect.texts(), ElementsAre("成功连接评估板于串口4"));
  Dispatch refused;
  refused.deliver(StConnect, kAck);
  EXPECT_THAT(refused.texts(), ElementsAre("未成功连接到评估板"));
  EXPECT_TRUE(refused.out.interpreted) << "the port dialog hears of it and closes";
}

// --- Frame errors and board status codes --------------------------------------------------------

// A frame that fails the checks beeps, says what failed, and is read under no request kind,
// whichever is pending.
TEST(ReplyDispatch, ABadFrameBeepsAndIsNotInterpreted) {
  const std::pair<Bytes, const char*> rows[] = {
      {{0x56, 0x80, 0x00, 0xD6}, "无效的帧头"},
      {replyFrame(0x00, {0x20}), "帧标志错"},
      {replyFrame(0x7F, {0x20}), "帧标志错"},
      {replyFrame(0x82, {0x20}), "帧标志错"},
      {replyFrame(0xFF, {0x20}), "帧标志错"},
      // A status reply has one byte after the flag: with two the first is a code 00; with none
      // the checksum would be read as one.
      {replyFrame(0x81, {0x00, 0x00}), "帧标志错"},
      {replyFrame(0x81, {}), "帧标志错"},
      {replyFrame(0x81, {0x84, 0x00, 0x00}), "帧标志错"},
  };
  for (const auto& [frame, text] : rows) {
    for (CmdStateCode state :
         {StReadTime, StProbe, StReadSR, StReadCtrlBlock, StWriteAL0, StPortOpened}) {
      SCOPED_TRACE(::testing::PrintToString(frame) + " under request " + std::to_string(state));
      Dispatch d;
      d.deliver(state, frame);
      EXPECT_THAT(d.texts(), ElementsAre(text));
      EXPECT_TRUE(d.out.beep);
      EXPECT_FALSE(d.out.interpreted);
      EXPECT_EQ(d.regs.RegSR, 0);
    }
  }
}

TEST(ReplyDispatch, WithoutARequestKindOnlyTheCommonStepsRun) {
  for (CmdStateCode state : std::vector<CmdStateCode>{0x00, 0xEE, 0x03, 0x99}) {
    for (const Bytes& frame : {kAck, kOneByteReply, kProbeAnswer, dataReply({1, 2, 3, 4})}) {
      Dispatch d;
      d.deliver(state, frame);
      EXPECT_THAT(d.texts(), IsEmpty()) << state;
      EXPECT_FALSE(d.out.interpreted);
      EXPECT_FALSE(d.out.beep);
      EXPECT_EQ(d.regs.RegSR + d.regs.RegBL + d.regs.RegINT, 0);
    }
  }
  Dispatch d;
  d.deliver(0xEE, kReadError);
  EXPECT_THAT(d.texts(), ElementsAre("评估板读器件错"));
}

struct StatusCase {
  std::uint8_t code;
  const char* text;
};
void PrintTo(const StatusCase& c, std::ostream* os) {
  *os << "code " << int(c.code) << " -> " << c.text;
}

class BoardStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(BoardStatus, ErrorReplyShowsTheCodesText) {
  EXPECT_STREQ(boardErrorText(GetParam().code), GetParam().text);
  Dispatch d;
  d.deliver(0x20, replyFrame(0x81, {GetParam().code}));
  EXPECT_THAT(d.texts(), ElementsAre(GetParam().text));
  EXPECT_FALSE(d.out.beep);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, BoardStatus,
    ::testing::Values(
        StatusCase{0x01, "评估板接收帧和校验错"}, StatusCase{0x02, "评估板接收帧头错"},
        StatusCase{0x03, "评估板接收帧标志错"}, StatusCase{0x04, "评估板接收帧长度超出接收缓冲区"},
        StatusCase{0x05, "评估板接收状态错"}, StatusCase{0x06, "评估板接收到无效的读命令"},
        StatusCase{0x07, "评估板接收到无效的定命令"}, StatusCase{0x08, "评估板接收到无效的命令"},
        StatusCase{0x81, "评估板接收超时"}, StatusCase{0x82, "评估板接收帧超时"},
        StatusCase{0x84, "评估板读器件错"}, StatusCase{0x85, "评估板写器件错"},
        StatusCase{0x83, "未知的错误"}, StatusCase{0x09, "未知的错误"},
        StatusCase{0x80, "未知的错误"}, StatusCase{0xFF, "未知的错误"}));

}  // namespace
}  // namespace rtceval::testing
