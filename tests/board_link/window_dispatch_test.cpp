// Replies as the main window takes them from the link: the panel texts, the clock, the beep and
// the time-out they end.

#include <gtest/gtest.h>

#include "window_bench.h"

namespace rtceval::testing {
namespace {

TEST(WindowDispatch, SevenByteTimeReplyNeverReadsTheChecksumAsCentury) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1209);
  // The checksum of this frame is 0x19, where an eighth data byte would stand.
  b.replyTo(StReadTime, {0x55, 0x80, 0x07, 0x59, 0x13, 0x91, 0x15, 0x06, 0x23, 0x02, 0x19});
  EXPECT_EQ(b.panel(2), "读时间成功");
  EXPECT_EQ(b.controls().timeLabel.caption, "11:13:59");
  EXPECT_EQ(b.controls().dateLabel.caption, "2023年06月15日 星期二");
}

TEST(WindowDispatch, AGarbledReplyEndsTheTimeoutWithABeep) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  b.window.autoReadTimeClicked(true);
  b.clock.advance(200ms);
  ASSERT_TRUE(b.window.link().awaitingReply());
  b.window.autoReadTimeClicked(false);
  b.port.receive({0x55, 0x82, 0x00, 0xD7});
  EXPECT_EQ(b.panel(2), "帧标志错");
  EXPECT_EQ(b.messageBoxes.beeps, 1);
  EXPECT_FALSE(b.window.link().awaitingReply());
}

TEST(WindowDispatch, ATimeReplyAfterItsTimeOutIsNotReadAsTheSrReadThatFollowed) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  const std::string timeShown = b.controls().timeLabel.caption;
  b.window.menuClick(MenuId::READTIME);
  b.window.commands().CmdGetSR();
  b.clock.advance(60ms);
  EXPECT_EQ(b.port.writes.back(), kReadTimeA) << "the SR read waits for the time reply";
  b.clock.advance(1940ms);  // the time read is given up; the SR read goes out
  ASSERT_EQ(b.port.writes.back(), kReadSrA);
  b.port.receive(dataReply({0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20}));
  EXPECT_EQ(b.controls().timeLabel.caption, timeShown) << "a late reply is dropped";
  b.port.receive(dataReply({0x20}));
  EXPECT_EQ(b.panel(2), "读SR成功");
  EXPECT_EQ(b.window.registers().RegSR, 0x20);
}

}  // namespace
}  // namespace rtceval::testing
