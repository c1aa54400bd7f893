// The automatic time read (200 ms), the monitor (1 s) and the write sequencer (50 ms) share the one
// request slot: their requests interleave, and a reply is read under whatever request went out
// last.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>

#include "window_bench.h"

namespace rtceval::testing {
namespace {

using ::testing::ElementsAre;

const Bytes READ_TIME_A{0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x30, 0x08, 0x01};
const Bytes GET_SR_A{0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x3F, 0x01, 0x09};
const Bytes WEL_A{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x3F, 0x01, 0x02, 0x0D};
const Bytes RWEL_A{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x3F, 0x01, 0x06, 0x11};

// Every frame the window sends, with the virtual time it left at.
struct TimedWrites {
  explicit TimedWrites(WindowBench& b) {
    b.port.onWrite = [this, &b](const Bytes& frame) { frames.emplace_back(b.clock.now(), frame); };
  }
  std::vector<std::int64_t> timesOf(const Bytes& frame) const {
    std::vector<std::int64_t> times;
    for (const auto& [t, f] : frames)
      if (f == frame) times.push_back(t);
    return times;
  }
  std::vector<std::pair<std::int64_t, Bytes>> frames;
};

TEST(Interleaving, ReadsMonitorAndWriteSequenceEachKeepTheirOwnPace) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  TimedWrites sent(b);
  const std::int64_t t0 = b.clock.now();
  b.window.autoReadTimeClicked(true);
  b.window.autoMonitorClicked(true);
  b.clock.advance(130ms);
  b.window.events().run([&] { b.window.sequencer().start(StWriteATR); });
  b.clock.advance(1000ms - 130ms);

  std::vector<std::int64_t> reads;
  for (std::int64_t t : sent.timesOf(READ_TIME_A)) reads.push_back(t - t0);
  EXPECT_EQ(reads.size(), 5u) << "five time reads a second, whatever else goes out";
  for (std::size_t i = 1; i < reads.size(); ++i) EXPECT_EQ(reads[i] - reads[i - 1], 200);

  const auto wel = sent.timesOf(WEL_A);
  const auto rwel = sent.timesOf(RWEL_A);
  ASSERT_EQ(wel.size(), 1u);
  ASSERT_EQ(rwel.size(), 1u);
  EXPECT_EQ(wel[0] - t0, 180) << "the first step goes out one sequencer tick after the start";
  EXPECT_EQ(rwel[0] - wel[0], 50);
  std::vector<std::int64_t> atrWrites;
  for (const auto& [t, f] : sent.frames)
    if (f.size() == 10 && f[3] == 0x01 && f[6] == 0x12) atrWrites.push_back(t);
  ASSERT_EQ(atrWrites.size(), 1u);
  EXPECT_EQ(atrWrites[0] - rwel[0], 50);

  const auto srReads = sent.timesOf(GET_SR_A);
  ASSERT_EQ(srReads.size(), 1u);
  EXPECT_EQ(srReads[0] - t0, 1000);
}

TEST(Interleaving, AStatusReplyArrivingAfterATimeReadWentOutIsReadAsATimeReply) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  b.window.autoMonitorClicked(true);
  b.clock.advance(1000ms);  // the monitor's SR read goes out
  ASSERT_EQ(b.link().pendingRequest(), StReadSR);
  b.window.menuClick(MenuId::READTIME);  // the user reads the time before SR is answered
  b.port.receive(DataReply({0x20}));     // the late SR answer: alarm 0 set

  EXPECT_EQ(b.panel(2), "读时间失败") << "one byte where eight were expected";
  EXPECT_EQ(b.window.registers().RegSR, 0x00);
  EXPECT_EQ(b.controls().colours.alarm0Lamp, kAlarmUnlit);
}

TEST(Interleaving, ATimeReplyArrivingAfterTheSequencerStepIsNotAnAcknowledgement) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  b.window.menuClick(MenuId::READTIME);
  b.window.events().run([&] { b.window.sequencer().start(StWriteTime); });
  b.clock.advance(50ms);  // WEL replaces the pending time read
  b.port.receive(DataReply({0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20}));
  EXPECT_EQ(b.panel(2), "写WEL") << "a data reply is no acknowledgement; the progress text stays";
  EXPECT_EQ(b.controls().timeLabel.caption, "12:00:00");
  b.port.receive(ACK);
  EXPECT_EQ(b.panel(2), "写WEL成功");
}

TEST(ModelChange, IndicatorsKeepTheirColoursUntilAnSrReplyOfTheNewLayoutTouchesThem) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1209);
  b.replyTo(StReadSR, DataReply({0x08}));  // EVT
  ASSERT_EQ(b.controls().colours.eventLamp, kAlarmLit);

  b.window.menuClick(MenuId::X1226);
  EXPECT_EQ(b.controls().colours.eventLamp, kAlarmLit) << "a model change repaints nothing";
  b.replyTo(StReadSR, DataReply({0x40}));  // AL1 on layout A
  EXPECT_EQ(b.controls().colours.eventLamp, kAlarmLit) << "layout A never touches the event lamp";
  EXPECT_EQ(b.controls().colours.alarm1Lamp, kAlarmLit);

  b.window.menuClick(MenuId::X1208);
  b.replyTo(StReadSR, DataReply({0x00}));
  EXPECT_EQ(b.controls().colours.alarm1Lamp, kAlarmLit) << "layout B has no alarm 1";
  EXPECT_EQ(b.controls().colours.eventLamp, kAlarmUnlit);
  EXPECT_EQ(b.controls().colours.alarm0Lamp, kAlarmUnlit);
}

TEST(ModelChange, TheMonitorReadsTheFlagsOfTheModelSelectedWhenItTicks) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  b.replyTo(StReadSR, DataReply({0x08}));  // bit 3 means nothing on layout A
  b.window.autoMonitorClicked(true);
  b.clock.advance(1000ms);
  EXPECT_TRUE(b.dialogs.shown.empty());
  b.window.menuClick(MenuId::X1209);  // the same byte is EVT on layout B
  b.replyTo(StReadSR, DataReply({0x08}));
  b.clock.advance(1000ms);
  EXPECT_THAT(b.shownTexts(), ElementsAre("事件发生"));
}

}  // namespace
}  // namespace rtceval::testing
