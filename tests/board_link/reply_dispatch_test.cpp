// What each reply does under each kind of pending request.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "board_link/board_status.h"
#include "board_link/reply_dispatcher.h"
#include "board_link/reply_effects.h"
#include "main_window/device_profile.h"
#include "window_bench.h"

namespace rtceval::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Records what a reply does outside the link; `log` keeps the order of texts and decoding.
class RecordingEffects : public ReplyEffects {
 public:
  std::vector<std::string> texts, log;
  int beeps = 0, timeoutStops = 0, dialogCloses = 0, srReads = 0, panelRefreshes = 0;
  std::vector<int> ports;
  std::vector<std::pair<int, Bytes>> reads;  // alarm 0/1 (0, 1), memory (2), user registers (3)

  void setLinkStatus(const std::string& t) override { texts.push_back(t), log.push_back(t); }
  void beep() override { ++beeps; }
  void stopResponseTimeout() override { ++timeoutStops; }
  void showTime(std::span<const std::uint8_t> d) override { record(-1, Bytes(d.begin(), d.end())); }
  void showBoardPort(int portNo) override { ports.push_back(portNo); }
  void closeConnectDialog() override { ++dialogCloses; }
  void statusRegisterRead() override { ++srReads; }
  void refreshPanel() override { ++panelRefreshes; }
  void alarmRead(int n, std::span<const std::uint8_t> d) override {
    record(n, {d.begin(), d.end()});
  }
  void memoryRead(std::uint8_t v) override { record(2, {v}); }
  void userRegistersRead(std::uint8_t a, std::uint8_t b) override { record(3, {a, b}); }

 private:
  void record(int kind, Bytes data) {
    reads.emplace_back(kind, std::move(data));
    log.push_back("decoded");
  }
};

struct Dispatch {
  LinkState link;
  RegisterImage regs;
  DeviceProfile profile;
  RecordingEffects fx;

  explicit Dispatch(bool is1208Family = false) { profile.Is1208Family = is1208Family; }
  void deliver(CmdStateCode state, const Bytes& frame) {
    link.CmdState = state;
    std::copy(frame.begin(), frame.end(), link.RecvBuf.begin());
    link.RecvCount = static_cast<std::int16_t>(frame.size());
    ReplyContext ctx{link, regs, profile, fx};
    ParseReply(ctx);
  }
};

const Bytes ONE_BYTE_REPLY = DataReply({0x5C});
const Bytes READ_ERROR{0x55, 0x81, 0x01, 0x84, 0x5B};

// --- Acknowledged writes ------------------------------------------------------------------------

struct AckCase {
  CmdStateCode state;
  const char* done;
};

class AcknowledgedWrite : public ::testing::TestWithParam<AckCase> {};

TEST_P(AcknowledgedWrite, OnlyAnAcknowledgementShowsItsText) {
  Dispatch ok;
  ok.deliver(GetParam().state, ACK);
  EXPECT_THAT(ok.fx.texts, ElementsAre(GetParam().done));
  EXPECT_EQ(ok.fx.timeoutStops, 1);
  EXPECT_EQ(ok.link.CmdState, GetParam().state) << "a reply never clears the request kind";
  EXPECT_EQ(ok.link.RecvCount, 0);

  Dispatch data;
  data.deliver(GetParam().state, ONE_BYTE_REPLY);
  EXPECT_THAT(data.fx.texts, IsEmpty());
  EXPECT_EQ(data.fx.timeoutStops, 1);

  Dispatch error;
  error.deliver(GetParam().state, {0x55, 0x81, 0x01, 0x85, 0x5C});
  EXPECT_THAT(error.fx.texts, ElementsAre("评估板写器件错"));
  EXPECT_EQ(error.fx.beeps, 0);
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
  bool isSR;
};

class RegisterRead : public ::testing::TestWithParam<std::tuple<RegReadCase, bool>> {};

TEST_P(RegisterRead, OnlyAOneByteDataReplyStoresTheRegister) {
  const auto& [c, family] = GetParam();
  Dispatch d(family);
  d.deliver(c.state, ONE_BYTE_REPLY);
  EXPECT_EQ(d.regs.*c.image, 0x5C);
  EXPECT_THAT(d.fx.texts, ElementsAre(c.done));
  EXPECT_EQ(d.fx.srReads, c.isSR ? 1 : 0);
  EXPECT_EQ(d.fx.panelRefreshes, c.isSR ? 0 : 1);

  for (const Bytes& frame : {ACK, DataReply({0x5C, 0x5D}), DataReply({}), READ_ERROR}) {
    Dispatch other(family);
    other.regs.*c.image = 0xA7;
    other.deliver(c.state, frame);
    EXPECT_EQ(other.regs.*c.image, 0xA7);
    EXPECT_EQ(other.fx.srReads + other.fx.panelRefreshes, 0);
    if (frame == READ_ERROR)
      EXPECT_THAT(other.fx.texts, ElementsAre("评估板读器件错")) << "the board's text stays";
    else
      EXPECT_THAT(other.fx.texts, IsEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    AllRegisters, RegisterRead,
    ::testing::Combine(
        ::testing::Values(RegReadCase{0x11, "读SR成功", &RegisterImage::RegSR, true},
                          RegReadCase{0x21, "读INT成功", &RegisterImage::RegINT, false},
                          RegReadCase{0x31, "读BL成功", &RegisterImage::RegBL, false},
                          RegReadCase{0x41, "读ATR成功", &RegisterImage::RegATR, false},
                          RegReadCase{0x51, "读DTR成功", &RegisterImage::RegDTR, false},
                          RegReadCase{0x61, "读EV成功", &RegisterImage::RegEV, false}),
        ::testing::Bool()));

// --- Reads that report their own failure --------------------------------------------------------

struct BlockReadCase {
  const char* name;
  CmdStateCode state;
  int lengthA;
  int lengthB;
  const char* done;
  const char* failed;
};

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
  d.link.PortNo = 3;
  d.deliver(c.state, DataReply(dataOf(n)));
  ASSERT_FALSE(d.fx.texts.empty());
  EXPECT_EQ(d.fx.texts.back(), c.done);

  for (const Bytes& frame :
       {DataReply(dataOf(n + 1)), DataReply(dataOf(n == 0 ? 2 : n - 1)), ACK}) {
    Dispatch other(family);
    other.deliver(c.state, frame);
    EXPECT_THAT(other.fx.texts, ElementsAre(c.failed)) << c.name;
    EXPECT_THAT(other.fx.reads, IsEmpty());
  }
  Dispatch error(family);
  error.deliver(c.state, READ_ERROR);
  EXPECT_THAT(error.fx.texts, ElementsAre("评估板读器件错", c.failed)) << "the failure text stays";
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
    [](const auto& info) {
      std::string n = std::get<0>(info.param).name;
      std::replace(n.begin(), n.end(), ' ', '_');
      return n + (std::get<1>(info.param) ? "_LayoutB" : "_LayoutA");
    });

TEST(ReplyDispatch, AcceptedDataIsShownAfterTheTextAndPassedOn) {
  struct Case {
    CmdStateCode state;
    bool family;
    Bytes data;
    int kind;  // -1 time, 0/1 alarm, 2 memory, 3 user registers
  };
  const Case cases[] = {{0x01, false, {0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20}, -1},
                        {0x01, true, {0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04}, -1},
                        {0x71, false, {1, 2, 3, 4, 5, 6, 7, 8}, 0},
                        {0x71, true, {1, 2, 3, 4, 5, 6}, 0},
                        {0x81, false, {9, 8, 7, 6, 5, 4, 3, 2}, 1},
                        {0xB1, false, {0x3A}, 2},
                        {0xC1, true, {0x12, 0xEF}, 3}};
  for (const Case& c : cases) {
    Dispatch d(c.family);
    d.deliver(c.state, DataReply(c.data));
    EXPECT_THAT(d.fx.reads, ElementsAre(std::pair<int, Bytes>{c.kind, c.data})) << c.state;
    ASSERT_EQ(d.fx.log.size(), 2u);
    EXPECT_EQ(d.fx.log[1], "decoded") << "the text comes first";
  }
}

TEST(ReplyDispatch, ControlBlockFillsTheFourRegistersOfTheLayout) {
  Dispatch a;
  a.regs.RegEV = 0x5A;
  a.deliver(0x77, DataReply({0xB1, 0xC2, 0xD3, 0xE4}));
  const RegisterImage& ra = a.regs;
  EXPECT_EQ(std::vector<int>({ra.RegBL, ra.RegINT, ra.RegATR, ra.RegDTR, ra.RegEV}),
            std::vector<int>({0xB1, 0xC2, 0xD3, 0xE4, 0x5A}));
  EXPECT_THAT(a.fx.texts, IsEmpty());
  EXPECT_EQ(a.fx.panelRefreshes, 1);

  Dispatch b(true);
  b.regs.RegBL = 0x5A;
  b.deliver(0x77, DataReply({0xB1, 0xC2, 0xD3, 0xE4}));
  const RegisterImage& rb = b.regs;
  EXPECT_EQ(std::vector<int>({rb.RegINT, rb.RegEV, rb.RegATR, rb.RegDTR, rb.RegBL}),
            std::vector<int>({0xB1, 0xC2, 0xD3, 0xE4, 0x5A}));

  Dispatch one;  // four bytes expected: ignored silently
  one.deliver(0x77, DataReply({0xB1}));
  EXPECT_EQ(one.regs.RegBL + one.regs.RegINT, 0);
  EXPECT_THAT(one.fx.texts, IsEmpty());
  EXPECT_EQ(one.fx.panelRefreshes, 0);
}

TEST(ReplyDispatch, ProbeAnswerShowsPortAndEndsTheSearch) {
  Dispatch d;
  d.link.PortNo = 2;
  d.link.Detecting = true;
  d.deliver(0x08, PROBE_ANSWER);
  EXPECT_THAT(d.fx.texts, ElementsAre("成功连接评估板于串口2"));
  EXPECT_THAT(d.fx.ports, ElementsAre(2));
  EXPECT_FALSE(d.link.Detecting);
  EXPECT_EQ(d.fx.dialogCloses, 0);
  Dispatch other;
  other.link.Detecting = true;
  other.deliver(0x08, ACK);
  EXPECT_THAT(other.fx.texts, IsEmpty());
  EXPECT_TRUE(other.link.Detecting) << "the next detection step goes on";
}

TEST(ReplyDispatch, ConnectReplyClosesThePortDialogEitherWay) {
  Dispatch ok;
  ok.link.PortNo = 4;
  ok.deliver(0x09, PROBE_ANSWER);
  EXPECT_THAT(ok.fx.texts, ElementsAre("成功连接评估板于串口4"));
  EXPECT_THAT(ok.fx.ports, ElementsAre(4));
  EXPECT_EQ(ok.fx.dialogCloses, 1);
  Dispatch bad;
  bad.deliver(0x09, ACK);
  EXPECT_THAT(bad.fx.texts, ElementsAre("未成功连接到评估板"));
  EXPECT_TRUE(bad.fx.ports.empty());
  EXPECT_EQ(bad.fx.dialogCloses, 1);
}

// --- Frame errors and board status codes --------------------------------------------------------

TEST(ReplyDispatch, BadLeadByteBeepsAndStopsTheTimeout) {
  for (CmdStateCode state : {0x01, 0x08, 0x11, 0x77, 0xEE}) {
    Dispatch d;
    d.link.Detecting = true;
    d.deliver(state, {0x56, 0x80, 0x00, 0xD6});
    EXPECT_THAT(d.fx.texts, ElementsAre("无效的帧头")) << state;
    EXPECT_EQ(d.fx.beeps, 1);
    EXPECT_EQ(d.fx.timeoutStops, 1);
    EXPECT_EQ(d.link.RecvCount, 0);
    EXPECT_TRUE(d.link.Detecting);
  }
}

TEST(ReplyDispatch, BadFlagByteBeeps) {
  for (std::uint8_t flag : {0x00, 0x7F, 0x82, 0xFF}) {
    Dispatch d;
    d.deliver(0x11, ReplyFrame(flag, {0x20}));
    EXPECT_THAT(d.fx.texts, ElementsAre("帧标志错")) << int(flag);
    EXPECT_EQ(d.fx.beeps, 1);
    EXPECT_EQ(d.fx.timeoutStops, 1);
    EXPECT_EQ(d.regs.RegSR, 0);
  }
}

TEST(ReplyDispatch, WithoutARequestKindOnlyTheCommonStepsRun) {
  for (CmdStateCode state : {0x00, 0xEE, 0x03, 0x99}) {
    for (const Bytes& frame : {ACK, ONE_BYTE_REPLY, PROBE_ANSWER, DataReply({1, 2, 3, 4})}) {
      Dispatch d;
      d.link.Detecting = true;
      d.deliver(state, frame);
      EXPECT_THAT(d.fx.texts, IsEmpty()) << state;
      EXPECT_EQ(d.fx.timeoutStops, 1);
      EXPECT_EQ(d.link.RecvCount, 0);
      EXPECT_TRUE(d.link.Detecting);
      EXPECT_EQ(d.regs.RegSR + d.regs.RegBL + d.regs.RegINT, 0);
      EXPECT_EQ(d.fx.srReads + d.fx.panelRefreshes, 0);
    }
  }
  Dispatch d;
  d.deliver(0xEE, READ_ERROR);
  EXPECT_THAT(d.fx.texts, ElementsAre("评估板读器件错"));
}

struct StatusCase {
  std::uint8_t code;
  const char* text;
};

class BoardStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(BoardStatus, ErrorReplyShowsTheCodesText) {
  EXPECT_STREQ(BoardErrorText(GetParam().code), GetParam().text);
  Dispatch d;
  d.deliver(0x20, ReplyFrame(0x81, {GetParam().code}));
  EXPECT_THAT(d.fx.texts, ElementsAre(GetParam().text));
  EXPECT_EQ(d.fx.beeps, 0);
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

// --- The same replies through the window --------------------------------------------------------

TEST(WindowDispatch, SevenByteTimeReplyNeverReadsTheChecksumAsCentury) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1209);
  // The checksum of this frame is 0x19, where an eighth data byte would stand.
  b.replyTo(StReadTime, {0x55, 0x80, 0x07, 0x59, 0x13, 0x91, 0x15, 0x06, 0x23, 0x02, 0x19});
  EXPECT_EQ(b.panel(2), "读时间成功");
  EXPECT_EQ(b.controls().LabTime.caption, "11:13:59");
  EXPECT_EQ(b.controls().LabDate.caption, "2023年06月15日 星期二");
}

TEST(WindowDispatch, LateReplyIsReadUnderTheNewerRequest) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  b.window.MenuClick(MenuId::READTIME);
  b.window.commands().CmdGetSR();
  b.port.receive(DataReply({0x20}));
  EXPECT_EQ(b.panel(2), "读SR成功");
  EXPECT_EQ(b.window.registers().RegSR, 0x20);
}

}  // namespace
}  // namespace rtceval::testing
