// The alarm/event monitor (Timer3), the indicators that follow SR, and the write sequencer
// (Timer4).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

#include "window_bench.h"

namespace rtceval::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const Rgb kDarkRed{128, 0, 0};
const Rgb kRed{255, 0, 0};
const Rgb kDarkGreen{0, 64, 0};
const Rgb kGreen{0, 255, 0};

// An SR read answered with `sr`, as the panel or the monitor would cause it.
void readSR(WindowBench& b, std::uint8_t sr) {
  b.replyTo(StReadSR, dataReply({sr}));
}

// alarm0Lamp, alarm1Lamp, eventLamp, batteryLamp.
std::array<Rgb, 4> lamps(const WindowBench& b) {
  const auto& c = b.controls().colours;
  return {c.alarm0Lamp, c.alarm1Lamp, c.eventLamp, c.batteryLamp};
}
using Lamps = std::array<Rgb, 4>;

// --- Indicators ----------------------------------------------------------------------------------

TEST(Indicators, LayoutBLightsEventAlarmAndBatteryAndKeepsAlarm1) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  readSR(b, 0x40);  // alarm 1 lit on the X1226
  b.window.menuClick(MenuId::X1208);
  readSR(b, 0x0E);
  EXPECT_EQ(b.window.registers().RegSR, 0x0E);
  EXPECT_EQ(b.panel(2), "读SR成功");
  EXPECT_EQ(lamps(b), (Lamps{kRed, kRed, kRed, kGreen})) << "alarm 1 keeps its colour";
  readSR(b, 0xF1);
  EXPECT_EQ(lamps(b), (Lamps{kDarkRed, kRed, kDarkRed, kDarkGreen}));
}

TEST(Indicators, LayoutALightsBatteryAndAlarmsAndKeepsEvent) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1209);
  readSR(b, 0x08);  // event lit on the X1209
  b.window.menuClick(MenuId::X1226);
  readSR(b, 0x60);
  EXPECT_EQ(lamps(b), (Lamps{kRed, kRed, kRed, kDarkGreen})) << "a device change repaints nothing";
  readSR(b, 0x80);
  EXPECT_EQ(lamps(b), (Lamps{kDarkRed, kDarkRed, kRed, kGreen}));
  readSR(b, 0x1F);
  EXPECT_EQ(lamps(b), (Lamps{kDarkRed, kDarkRed, kRed, kDarkGreen}));
}

TEST(Indicators, SRErrorReplyChangesNeitherRegisterNorIndicators) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1226);
  readSR(b, 0xE0);
  b.replyTo(StReadSR, {0x55, 0x81, 0x01, 0x84, 0x5B});
  EXPECT_EQ(b.window.registers().RegSR, 0xE0);
  EXPECT_EQ(lamps(b), (Lamps{kRed, kRed, kDarkRed, kGreen}));
  EXPECT_EQ(b.panel(2), "评估板读器件错");
}

// --- Monitor -------------------------------------------------------------------------------------

struct Monitor : ::testing::Test {
  WindowBench b;
  void start(MenuId model, std::uint8_t sr) {
    b.loadConnectedWith(model);
    readSR(b, sr);
    b.port.writes.clear();
    b.window.autoMonitorClicked(true);
  }
  // The monitor's messages, without any time-out question of unanswered reads.
  std::vector<std::string> announcements() const {
    std::vector<std::string> texts;
    for (const auto& s : b.messageBoxes.shown)
      if (!s.question) texts.push_back(s.text);
    return texts;
  }
};

TEST_F(Monitor, AnnouncesTheLastSRBeforeTheNewReadGoesOut) {
  start(MenuId::X1226, 0x20);
  EXPECT_TRUE(b.window.monitorTimer().isEnabled());
  std::size_t writesWhenShown = 99;
  b.messageBoxes.whileOpen = [&] { writesWhenShown = b.port.writes.size(); };
  b.clock.advance(999ms);
  EXPECT_THAT(b.messageBoxes.shown, IsEmpty());
  b.clock.advance(1ms);
  EXPECT_THAT(b.shownTexts(), ElementsAre("警报0发生"));
  EXPECT_EQ(b.messageBoxes.shown[0].title, "");
  EXPECT_FALSE(b.messageBoxes.shown[0].question);
  EXPECT_EQ(writesWhenShown, 0u);
  EXPECT_THAT(b.port.writes, ElementsAre(kReadSrA));
  EXPECT_EQ(b.link().pendingRequest(), StReadSR);
  EXPECT_EQ(b.panel(2), "读SR");
}

TEST_F(Monitor, LayoutAAnnouncesAlarm1BeforeAlarm0) {
  start(MenuId::X1228, 0x60);
  b.clock.advance(1000ms);
  EXPECT_THAT(b.shownTexts(), ElementsAre("警报1发生", "警报0发生"));
}

TEST_F(Monitor, LayoutBAnnouncesEventBeforeAlarm) {
  start(MenuId::X1208, 0x0C);
  b.clock.advance(1000ms);
  EXPECT_THAT(b.shownTexts(), ElementsAre("事件发生", "警报发生"));
  EXPECT_THAT(b.port.writes, ElementsAre(kReadSrB));
}

TEST_F(Monitor, EachLayoutReadsOnlyItsOwnBits) {
  start(MenuId::X1209, 0xF3);  // every bit but EVT and ALM
  b.clock.advance(1000ms);
  EXPECT_THAT(b.messageBoxes.shown, IsEmpty());
  WindowBench a;
  a.loadConnectedWith(MenuId::X1205);
  readSR(a, 0x9F);  // every bit but AL1 and AL0
  a.window.autoMonitorClicked(true);
  a.clock.advance(1000ms);
  EXPECT_THAT(a.messageBoxes.shown, IsEmpty());
}

// A flag is announced when a read first shows it set. A chip that keeps it set until it is
// written 0 (layout B without ARST) has it announced again only after a read showed it clear; a
// chip that clears it as SR is read raises it again only for a new alarm, announced each time.
TEST_F(Monitor, AnnouncesAFlagOncePerAlarm) {
  struct Row {
    MenuId model;
    std::vector<std::uint8_t> reads;  // one SR reply after each tick
    std::vector<std::string> texts;
  };
  const std::vector<Row> rows{
      {MenuId::X1226, {0x40, 0x40, 0x40}, {"警报1发生", "警报1发生", "警报1发生"}},
      {MenuId::X1208, {0x04, 0x04, 0x04, 0x04}, {"警报发生"}},
      {MenuId::X1208, {0x04, 0x04, 0x00, 0x04}, {"警报发生", "警报发生"}},
      {MenuId::X1208, {0x84, 0x84, 0x84}, {"警报发生", "警报发生", "警报发生"}},
      {MenuId::X1209, {0x0C, 0x0C, 0x08, 0x0C}, {"事件发生", "警报发生", "警报发生"}},
  };
  for (const Row& row : rows) {
    WindowBench bench;
    bench.loadConnectedWith(row.model);
    bench.window.autoMonitorClicked(true);
    for (const std::uint8_t sr : row.reads) {
      bench.clock.advance(1000ms);
      bench.port.receive(dataReply({sr}));
    }
    bench.clock.advance(1000ms);
    EXPECT_EQ(bench.shownTexts(), row.texts) << "first read " << int(row.reads[0]);
  }
}

TEST_F(Monitor, TickingAgainAnnouncesAFlagThatStayedSet) {
  start(MenuId::X1208, 0x04);
  b.clock.advance(1000ms);
  b.port.receive(dataReply({0x04}));
  b.clock.advance(1000ms);
  EXPECT_THAT(b.shownTexts(), ElementsAre("警报发生"));
  b.window.autoMonitorClicked(false);
  b.window.autoMonitorClicked(true);
  b.clock.advance(1000ms);
  EXPECT_THAT(b.shownTexts(), ElementsAre("警报发生", "警报发生"));
}

TEST_F(Monitor, NoSecondMessageWhileOneIsOpen) {
  start(MenuId::X1226, 0x20);
  PromptBoard board(b);  // its reads show no flag
  bool inside = false;
  b.messageBoxes.whileOpen = [&] {
    if (inside) return;
    inside = true;
    b.clock.advance(2500ms);  // two more monitor ticks behind the open message
    inside = false;
  };
  b.clock.advance(1000ms);
  EXPECT_EQ(announcements().size(), 1u);
  EXPECT_EQ(b.port.writes.size(), 3u) << "polling goes on behind the message";
  b.messageBoxes.whileOpen = nullptr;
  b.clock.advance(1000ms);
  EXPECT_EQ(announcements().size(), 1u) << "no read has shown the flag again";
  b.port.receive(dataReply({0x20}));  // a new alarm
  b.clock.advance(1000ms);
  EXPECT_EQ(announcements().size(), 2u) << "the next tick after it closes announces it";
}

TEST_F(Monitor, UntickingStopsMessagesAndPollingAtOnce) {
  start(MenuId::X1226, 0x60);
  b.messageBoxes.whileOpen = [&] { b.window.autoMonitorClicked(false); };
  b.clock.advance(1000ms);
  EXPECT_THAT(b.shownTexts(), ElementsAre("警报1发生"));
  EXPECT_TRUE(b.port.writes.empty());
  EXPECT_FALSE(b.window.monitorTimer().isEnabled());
  b.clock.advance(5000ms);
  EXPECT_EQ(b.messageBoxes.shown.size(), 1u);
  EXPECT_TRUE(b.port.writes.empty());
}

// --- Write sequencer -----------------------------------------------------------------------------

struct Sequencer : ::testing::Test {
  WindowBench b;
  PromptBoard board{b};
  void load(MenuId model) {
    b.loadConnectedWith(model);
    b.window.records().NewTime = {0x45, 0x30, 0x92, 0x17, 0x08, 0x03, 0x2005};
    b.window.registers().RegATR = 0xC3;
    b.window.registers().RegINT = 0xA1;
  }
  WriteSequencer& seq() { return b.window.sequencer(); }
};

TEST_F(Sequencer, TimeWriteOnLayoutAIsWelRwelThenTheTime) {
  load(MenuId::X1226);
  seq().start(2);
  EXPECT_TRUE(b.window.writeTimer().isEnabled());
  b.clock.advance(49ms);
  EXPECT_THAT(b.port.writes, IsEmpty());
  b.clock.advance(1ms);
  EXPECT_THAT(b.port.writes, ElementsAre(kWelA));
  EXPECT_EQ(b.panel(2), "写WEL");
  b.clock.advance(50ms);
  EXPECT_THAT(b.port.writes, ElementsAre(kWelA, kRwelA));
  EXPECT_EQ(b.link().pendingRequest(), StWriteRWEL);
  b.clock.advance(50ms);
  ASSERT_EQ(b.port.writes.size(), 3u);
  EXPECT_EQ(b.port.writes[2], (Bytes{0x55, 0x00, 0x0D, 0x01, 0x6F, 0x00, 0x30, 0x08, 0x45, 0x30,
                                     0x92, 0x17, 0x08, 0x05, 0x03, 0x20, 0x58}));
  EXPECT_EQ(b.panel(2), "设置时间...");
  EXPECT_FALSE(b.window.writeTimer().isEnabled());
  b.clock.advance(1000ms);
  EXPECT_EQ(b.port.writes.size(), 3u);
  // The next job starts over with the unlock steps.
  seq().start(WriteJob::Kind::Time);
  b.clock.advance(50ms);
  EXPECT_EQ(b.port.writes.back(), kWelA);
}

TEST_F(Sequencer, TimeWriteOnLayoutBIsWrtcThenTheTime) {
  load(MenuId::X1209);
  seq().start(2);
  b.clock.advance(50ms);
  EXPECT_THAT(b.port.writes, ElementsAre(kWrtcB));
  EXPECT_EQ(b.panel(2), "写WRTC");
  b.clock.advance(50ms);
  ASSERT_EQ(b.port.writes.size(), 2u);
  EXPECT_EQ(b.port.writes[1], (Bytes{0x55, 0x00, 0x0C, 0x01, 0x6F, 0xFF, 0x00, 0x07, 0x45, 0x30,
                                     0x92, 0x17, 0x08, 0x05, 0x03, 0x05}));
  EXPECT_FALSE(b.window.writeTimer().isEnabled());
  b.clock.advance(1000ms);
  EXPECT_EQ(b.port.writes.size(), 2u);
}

TEST_F(Sequencer, StatusReadEntersAtTheJobStep) {
  load(MenuId::X1226);
  seq().startAtJob(17);
  b.clock.advance(50ms);
  EXPECT_THAT(b.port.writes, ElementsAre(kReadSrA));
  EXPECT_FALSE(b.window.writeTimer().isEnabled());
  // A write handed over next unlocks the chip first.
  seq().start(WriteJob::Kind::INT);
  b.clock.advance(50ms);
  EXPECT_THAT(b.port.writes, ElementsAre(kReadSrA, kWelA));
}

TEST_F(Sequencer, AJobHandedOverDuringASequenceRunsAfterItWithItsOwnUnlockSteps) {
  const Bytes writeInt{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x11, 0x01, 0xA1, 0x7E};
  const Bytes writeAtr{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x12, 0x01, 0x03, 0xE1};
  load(MenuId::X1226);
  seq().start(32);
  b.clock.advance(50ms);
  seq().start(64);  // a second dialog's OK while the first write is being unlocked
  b.clock.advance(100ms);
  EXPECT_THAT(b.port.writes, ElementsAre(kWelA, kRwelA, writeInt));
  b.clock.advance(150ms);
  EXPECT_THAT(b.port.writes, ElementsAre(kWelA, kRwelA, writeInt, kWelA, kRwelA, writeAtr));
  EXPECT_FALSE(b.window.writeTimer().isEnabled());
  b.clock.advance(500ms);
  EXPECT_EQ(b.port.writes.size(), 6u);
}

TEST_F(Sequencer, TwoOksTwentyMillisecondsApartBothReachTheChip) {
  const Bytes writeInt{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x11, 0x01, 0xA1, 0x7E};
  const Bytes writeAtr{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x12, 0x01, 0x03, 0xE1};
  load(MenuId::X1226);
  seq().start(64);
  b.clock.advance(20ms);
  seq().start(32);
  b.clock.advance(330ms);
  EXPECT_THAT(b.port.writes, ElementsAre(kWelA, kRwelA, writeAtr, kWelA, kRwelA, writeInt));
}

TEST_F(Sequencer, AWriteHandedOverWhileHeldGoesOutOnReleaseWithTheValuesItWasHandedOverWith) {
  const Bytes writeInt{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x11, 0x01, 0xA1, 0x7E};
  load(MenuId::X1226);
  bool held = false;
  seq().start(32);
  seq().hold([&held] { held = true; });
  EXPECT_FALSE(held) << "the write already running goes out first";
  b.clock.advance(150ms);
  EXPECT_TRUE(held);
  seq().start(32);
  b.window.registers().RegINT = 0x5C;  // the holder writes INT its own way meanwhile
  b.clock.advance(500ms);
  EXPECT_THAT(b.port.writes, ElementsAre(kWelA, kRwelA, writeInt));
  seq().release();
  b.clock.advance(150ms);
  EXPECT_THAT(b.port.writes, ElementsAre(kWelA, kRwelA, writeInt, kWelA, kRwelA, writeInt));
  EXPECT_EQ(b.window.registers().RegINT, 0xA1) << "the image shows what went out last";
}

TEST_F(Sequencer, ARequestCodeThatNamesNoJobIsRefusedBeforeAnythingIsSent) {
  load(MenuId::X1226);
  for (const CmdStateCode code : {StNone, StReadTime, StWriteSR, StWriteMem}) {
    EXPECT_THROW(seq().start(code), std::invalid_argument) << "code " << code;
  }
  b.clock.advance(500ms);
  EXPECT_THAT(b.port.writes, IsEmpty());
  EXPECT_FALSE(b.window.writeTimer().isEnabled());
}

TEST_F(Sequencer, StepsDoNotWaitForReplies) {
  load(MenuId::X1205);
  seq().start(32);
  b.clock.advance(50ms);
  b.port.receive({0x55, 0x81, 0x01, 0x85, 0x5C});  // the board could not write WEL
  EXPECT_EQ(b.panel(2), "评估板写器件错");
  b.clock.advance(100ms);
  EXPECT_THAT(b.port.writes,
              ElementsAre(kWelA, kRwelA,
                          Bytes{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x11, 0x01, 0xA1, 0x7E}));
}

TEST_F(Sequencer, EachJobRunsTheCommandOfItsCode) {
  // The request code of the command a job runs equals the job's code.
  const std::pair<MenuId, std::int16_t> jobs[] = {
      {MenuId::X1228, 2},  {MenuId::X1228, 17}, {MenuId::X1228, 32},  {MenuId::X1228, 48},
      {MenuId::X1228, 64}, {MenuId::X1228, 80}, {MenuId::X1228, 112}, {MenuId::X1228, 128},
      {MenuId::X1209, 96}, {MenuId::X1209, 112}};
  for (const auto& [model, job] : jobs) {
    WindowBench w;
    PromptBoard prompt(w);
    w.loadConnectedWith(model);
    w.window.sequencer().start(job);
    w.clock.advance(150ms);
    EXPECT_EQ(w.link().pendingRequest(), job) << "job " << job;
    EXPECT_EQ(w.port.writes.size(), model == MenuId::X1209 ? 2u : 3u) << "job " << job;
  }
}

}  // namespace
}  // namespace rtceval::testing
