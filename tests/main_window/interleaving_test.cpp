// The automatic time read (200 ms), the monitor (1 s) and the write sequencer (50 ms) share the one
// request slot: their requests interleave, one at a time on the line, and each reply is read under
// the request it answers.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "window_bench.h"

namespace rtceval::testing {
namespace {

using ::testing::ElementsAre;

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

TEST(Interleaving, OnASilentLineEveryRequestStillGoesOutOneAtATime) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  b.messageBoxes.answers = {false};  // the automatic modes go on after the time-out
  TimedWrites sent(b);
  b.window.autoReadTimeClicked(true);
  b.window.autoMonitorClicked(true);
  b.clock.advance(130ms);
  b.window.events().run([&] { b.window.sequencer().start(StWriteATR); });
  std::size_t mostWaiting = 0;
  for (int ms = 0; ms < 12000; ms += 10) {
    b.clock.advance(10ms);
    mostWaiting = std::max(mostWaiting, b.link().waitingRequests());
  }

  // Nothing answers, so each request holds the line until its own time-out before the next goes
  // out; the sequencer's steps keep their order, the timers' reads are asked once while they wait.
  for (std::size_t i = 1; i < sent.frames.size(); ++i)
    EXPECT_EQ(sent.frames[i].first - sent.frames[i - 1].first, 2000) << "frame " << i;
  EXPECT_LE(mostWaiting, 5u) << "the job's three steps, one time read and one SR read";
  const auto wel = sent.timesOf(kWelA);
  const auto rwel = sent.timesOf(kRwelA);
  ASSERT_EQ(wel.size(), 1u);
  ASSERT_EQ(rwel.size(), 1u);
  EXPECT_GT(rwel[0], wel[0]);
  EXPECT_GE(sent.timesOf(kReadTimeA).size(), 1u);
  EXPECT_GE(sent.timesOf(kReadSrA).size(), 1u);
}

TEST(Interleaving, OnAnIdleLineEachTimerKeepsItsOwnPace) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  TimedWrites sent(b);
  // A board that answers every request 15 ms after it went out.
  b.port.onWrite = [&](const Bytes& frame) { sent.frames.emplace_back(b.clock.now(), frame); };
  const std::int64_t t0 = b.clock.now();
  b.window.autoReadTimeClicked(true);
  for (int ms = 0; ms < 1020; ++ms) {
    b.clock.advance(1ms);
    if (!sent.frames.empty() && sent.frames.back().first == b.clock.now() - 15) {
      const Bytes& last = sent.frames.back().second;
      b.port.receive(
          last == kReadTimeA ? dataReply({0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20}) : kAck);
    }
  }
  std::vector<std::int64_t> reads;
  for (std::int64_t t : sent.timesOf(kReadTimeA)) reads.push_back(t - t0);
  EXPECT_THAT(reads, ElementsAre(200, 400, 600, 800, 1000));
  EXPECT_EQ(b.panel(2), "读时间成功");
}

TEST(Interleaving, AReplyIsReadUnderTheRequestItAnswersWhenTheUserAsksInBetween) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  b.window.autoMonitorClicked(true);
  b.clock.advance(1000ms);  // the monitor's SR read goes out
  ASSERT_EQ(b.link().pendingRequest(), StReadSR);
  b.port.writes.clear();
  b.window.menuClick(MenuId::READTIME);  // the user reads the time before SR is answered
  EXPECT_TRUE(b.port.writes.empty()) << "the time read waits for the SR reply";
  b.port.receive(dataReply({0x20}));  // the SR answer: alarm 0 set

  EXPECT_EQ(b.window.registers().RegSR, 0x20);
  EXPECT_EQ(b.controls().colours.alarm0Lamp, kAlarmLit);
  EXPECT_THAT(b.port.writes, ElementsAre(kReadTimeA)) << "then the time read goes out";
  b.port.receive(dataReply({0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20}));
  EXPECT_EQ(b.panel(2), "读时间成功");
}

TEST(Interleaving, ASlowAcknowledgementOfATimeWriteIsNotTakenForATimeRead) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  b.window.autoReadTimeClicked(true);
  b.clock.advance(190ms);
  b.window.commands().CmdWriteTime();  // 10 ms before the next automatic time read
  b.port.writes.clear();
  b.clock.advance(15ms);
  b.port.receive({0x55, 0x81});
  for (std::uint8_t byte : Bytes{0x01, 0x00, 0xD7}) {  // the rest, a byte every 10 ms
    EXPECT_TRUE(b.port.writes.empty()) << "the time read waits while the reply arrives";
    b.clock.advance(10ms);
    b.port.receive({byte});
  }
  EXPECT_EQ(b.panel(2), "读时间...") << "the acknowledgement was the write's, not a failed read";
  EXPECT_THAT(b.port.writes, ElementsAre(kReadTimeA));
  b.port.receive(dataReply({0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20}));
  EXPECT_EQ(b.panel(2), "读时间成功");
}

TEST(Interleaving, ASequencerStepWaitsForTheTimeReplyAndEachIsReadUnderItsOwnRequest) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  b.window.menuClick(MenuId::READTIME);
  b.window.events().run([&] { b.window.sequencer().start(StWriteTime); });
  b.clock.advance(50ms);
  EXPECT_EQ(b.port.writes.back(), kReadTimeA) << "WEL waits while the time reply is due";
  b.port.receive(dataReply({0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20}));
  EXPECT_EQ(b.controls().timeLabel.caption, "09:05:30");
  EXPECT_EQ(b.port.writes.back(), kWelA) << "the step goes out once the reply is in";
  EXPECT_EQ(b.panel(2), "写WEL");
  b.port.receive(kAck);
  EXPECT_EQ(b.panel(2), "写WEL成功");
}

TEST(ModelChange, IndicatorsKeepTheirColoursUntilAnSrReplyOfTheNewLayoutTouchesThem) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1209);
  b.replyTo(StReadSR, dataReply({0x08}));  // EVT
  ASSERT_EQ(b.controls().colours.eventLamp, kAlarmLit);

  b.window.menuClick(MenuId::X1226);
  EXPECT_EQ(b.controls().colours.eventLamp, kAlarmLit) << "a model change repaints nothing";
  b.replyTo(StReadSR, dataReply({0x40}));  // AL1 on layout A
  EXPECT_EQ(b.controls().colours.eventLamp, kAlarmLit) << "layout A never touches the event lamp";
  EXPECT_EQ(b.controls().colours.alarm1Lamp, kAlarmLit);

  b.window.menuClick(MenuId::X1208);
  b.replyTo(StReadSR, dataReply({0x00}));
  EXPECT_EQ(b.controls().colours.alarm1Lamp, kAlarmLit) << "layout B has no alarm 1";
  EXPECT_EQ(b.controls().colours.eventLamp, kAlarmUnlit);
  EXPECT_EQ(b.controls().colours.alarm0Lamp, kAlarmUnlit);
}

TEST(ModelChange, TheMonitorReadsTheFlagsOfTheModelSelectedWhenItTicks) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  b.replyTo(StReadSR, dataReply({0x08}));  // bit 3 means nothing on layout A
  b.window.autoMonitorClicked(true);
  b.clock.advance(1000ms);
  EXPECT_TRUE(b.messageBoxes.shown.empty());
  b.window.menuClick(MenuId::X1209);  // the same byte is EVT on layout B
  b.replyTo(StReadSR, dataReply({0x08}));
  b.clock.advance(1000ms);
  EXPECT_THAT(b.shownTexts(), ElementsAre("事件发生"));
}

}  // namespace
}  // namespace rtceval::testing
