// The words the trace and the line monitor give each frame: literal frames of both layouts, read
// in the order they pass on the line, so each reply is read under the request before it.
#include "board_link/line_decoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/device_profile.h"
#include "frames.h"

namespace rtceval {
namespace {

using testing::Bytes;
using testing::kAck;
using testing::kProbeAnswer;
using testing::kReadTimeA;
using testing::kWelA;
using testing::kWrtcB;
using Kind = LineFrame::Kind;

struct Step {
  Kind kind;
  Bytes bytes;
  std::string meaning;
};

std::vector<std::string> decodeAll(bool is1208Family, const std::vector<Step>& steps) {
  DeviceProfile profile;
  profile.Is1208Family = is1208Family;
  LineDecoder decoder(profile);
  std::vector<std::string> out;
  for (const Step& s : steps) out.push_back(decoder.meaning({s.kind, s.bytes}));
  return out;
}

void expectMeanings(bool is1208Family, const std::vector<Step>& steps) {
  const auto got = decodeAll(is1208Family, steps);
  for (std::size_t i = 0; i < steps.size(); ++i)
    EXPECT_EQ(got[i], steps[i].meaning) << "step " << i;
}

TEST(LineDecoder, ReadsLayoutAFramesUnderTheRequestBeforeThem) {
  expectMeanings(false,
                 {
                     {Kind::Sent, {0x55, 0x00, 0x00, 0x55}, "探测评估板"},
                     {Kind::Received, kProbeAnswer, "评估板应答"},
                     {Kind::Sent, kReadTimeA, "读 CCR 时间 地址30 8字节"},
                     {Kind::Received,
                      {0x55, 0x80, 0x08, 0x03, 0x02, 0x81, 0x08, 0x12, 0x26, 0x02, 0x20, 0xC5},
                      "2026年12月08日 星期二 01:02:03"},
                     {Kind::Sent, kWelA, "写 CCR SR 地址3F 1字节：SR=02 (WEL)"},
                     {Kind::Received, kAck, "状态00：成功"},
                     {Kind::Sent,
                      {0x55, 0x00, 0x0D, 0x01, 0x6F, 0x00, 0x30, 0x08, 0x03, 0x02, 0x81, 0x08, 0x12,
                       0x26, 0x02, 0x20, 0xF2},
                      "写 CCR 时间 地址30 8字节：2026年12月08日 星期二 01:02:03"},
                     {Kind::Sent,
                      {0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x10, 0x04, 0xDD},
                      "读 CCR 控制寄存器 地址10 4字节"},
                     {Kind::Received,
                      {0x55, 0x80, 0x04, 0x18, 0xA0, 0x20, 0x07, 0xB8},
                      "BL=18 (WDT1 WDT0) INT=A0 (IM AL0E) ATR=20 (ATR5) DTR=07 (DTR2 DTR1 DTR0)"},
                     {Kind::Sent,
                      {0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x00, 0x08, 0xD1},
                      "读 CCR 报警0 地址00 8字节"},
                     {Kind::Sent,
                      {0x55, 0x00, 0x05, 0x00, 0x57, 0x01, 0x23, 0x01, 0xD6},
                      "读 EEPROM 地址0123 1字节"},
                     {Kind::Received, {0x55, 0x80, 0x01, 0x5A, 0x30}, "5A"},
                 });
}

TEST(LineDecoder, ReadsLayoutBFramesWithTheirOwnAddressesAndTwelveHourTime) {
  expectMeanings(true, {
                           {Kind::Sent,
                            {0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x00, 0x07, 0xCF},
                            "读 CCR 时间 地址00 7字节"},
                           // No century byte: the 2000s. 12-hour format with the PM bit.
                           {Kind::Received,
                            {0x55, 0x80, 0x07, 0x59, 0x59, 0x31, 0x31, 0x12, 0x99, 0x05, 0xA0},
                            "2099年12月31日 星期五 11:59:59 PM"},
                           {Kind::Sent,
                            {0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x08, 0x01, 0xD1},
                            "读 CCR INT 地址08 1字节"},
                           {Kind::Received, {0x55, 0x80, 0x01, 0xC1, 0x97}, "INT=C1 (IM ALME FO0)"},
                           {Kind::Sent, kWrtcB, "写 CCR SR 地址07 1字节：SR=10 (WRTC)"},
                           {Kind::Sent,
                            {0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x12, 0x02, 0xDC},
                            "读 CCR 用户寄存器 地址12 2字节"},
                           {Kind::Received, {0x55, 0x80, 0x02, 0xAB, 0xCD, 0x4F}, "AB CD"},
                       });
}

TEST(LineDecoder, NamesFaultsInTheLinkPanelsWords) {
  expectMeanings(
      false, {
                 {Kind::Sent, kReadTimeA, "读 CCR 时间 地址30 8字节"},
                 {Kind::Received, {0x55, 0x81, 0x01, 0x84, 0x5B}, "状态84：评估板读器件错"},
                 {Kind::Received, {0x55, 0x81, 0x01, 0x42, 0x19}, "状态42：未知的错误"},
                 // The sum is judged first, as the link does.
                 {Kind::Received, {0x55, 0x81, 0x01, 0x00, 0xD8}, "帧和校验错"},
                 {Kind::Received, {0xAA, 0x80, 0x00, 0x2A}, "无效的帧头"},
                 {Kind::Received, {0x55, 0x82, 0x00, 0xD7}, "帧标志错"},
                 // A status flag with more than its one byte is a wrong flag for what follows.
                 {Kind::Received, {0x55, 0x81, 0x02, 0x00, 0x00, 0xD8}, "帧标志错"},
                 {Kind::Received, {0x55, 0x80, 0x01, 0x00, 0xD6}, "数据1字节，请求的是8字节"},
                 {Kind::Stray, {0x12, 0x34, 0x56}, "未成帧的字节（3个）"},
                 {Kind::Sent, {0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x30, 0x08, 0x02}, "帧和校验错"},
                 {Kind::Sent, {0x55, 0x00, 0x05, 0x00}, "不是请求帧"},
             });
}

TEST(LineDecoder, AReplyWithoutAReadBeforeItIsOnlyCounted) {
  expectMeanings(false, {
                            {Kind::Received, {0x55, 0x80, 0x01, 0x5A, 0x30}, "数据1字节"},
                            {Kind::Sent, kWelA, "写 CCR SR 地址3F 1字节：SR=02 (WEL)"},
                            {Kind::Received, {0x55, 0x80, 0x01, 0x5A, 0x30}, "数据1字节"},
                            // A reply that cannot be the probe's answer.
                            {Kind::Sent, {0x55, 0x00, 0x00, 0x55}, "探测评估板"},
                            {Kind::Received, {0x55, 0x80, 0x01, 0x5A, 0x30}, "数据1字节"},
                        });
}

// A request that cannot be read ends the one before it: the reply after it is not read as the
// answer to the earlier read.
TEST(LineDecoder, AMalformedRequestEndsTheReadBeforeIt) {
  const Bytes timeReply{0x55, 0x80, 0x08, 0x03, 0x02, 0x81, 0x08, 0x12, 0x26, 0x02, 0x20, 0xC5};
  const std::vector<Step> malformed{
      {Kind::Sent, {0x55, 0x00, 0x05, 0x00}, "不是请求帧"},
      {Kind::Sent, {0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x30, 0x08, 0x02}, "帧和校验错"},
      {Kind::Sent, {0x55, 0x00, 0x05, 0x07, 0x6F, 0x00, 0x30, 0x08, 0x08}, "未知命令 07"},
  };
  for (const Step& bad : malformed) {
    expectMeanings(false, {
                              {Kind::Sent, kReadTimeA, "读 CCR 时间 地址30 8字节"},
                              bad,
                              {Kind::Received, timeReply, "数据8字节"},
                          });
  }
}

TEST(LineDecoder, FollowsTheChipSelectedAfterItWasMade) {
  DeviceProfile profile;
  LineDecoder decoder(profile);
  const Bytes readAtEight{0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x08, 0x01, 0xD2};
  EXPECT_EQ(decoder.meaning({Kind::Sent, readAtEight}), "读 CCR 地址08 1字节");
  profile.Is1208Family = true;
  EXPECT_EQ(decoder.meaning({Kind::Sent, readAtEight}), "读 CCR INT 地址08 1字节");
}

}  // namespace
}  // namespace rtceval
