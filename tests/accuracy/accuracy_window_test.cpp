// The accuracy measurement against the virtual board with a crystal, in-process on the virtual
// clock, through a line whose latency jitters: the rate it finds, the trimming it advises, and
// that applying the advice brings the clock near 0 ppm.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>

#include "accuracy/accuracy_dialogs.h"
#include "accuracy/accuracy_window.h"
#include "accuracy_board.h"
#include "core/value_codecs.h"
#include "platform/timer.h"
#include "scripted_message_boxes.h"
#include "sim/chip/crystal.h"
#include "sim/chip/rtc_chip.h"
#include "sim/virtual_board_port.h"
#include "virtual_clock.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using sim::ChipModel;
using sim::CivilTime;
using sim::Crystal;
using sim::VirtualBoardPort;
using testing::FixedPcClock;
using testing::NoisyLine;
using testing::ScriptedMessageBoxes;
using testing::VirtualClock;

struct Board {
  ChipModel chip;
  MenuId menu;
};

struct AccuracyOnTheBoard : ::testing::TestWithParam<Board>, testing::AccuracyBoard {
  void start(double crystalPpm, int noiseMs = 6, bool selectModel = true) {
    startBoard({GetParam().chip, crystalPpm, noiseMs}, selectModel ? &GetParam().menu : nullptr);
  }
  // Holds the chip at the second it shows, as a stopped oscillator does: that second is written
  // back over the chip's bus every half second, and a time write begins the second afresh.
  std::unique_ptr<Timer> stopTheClock() {
    std::unique_ptr<Timer> rewrite = clock.createTimer();
    rewrite->setTickHandler([this] {
      sim::RtcChip& chip = board->board().chip();
      chip.advanceTo(clock.elapsedMs());
      const std::uint8_t second = chip.time().second;
      const auto write = [&](std::uint8_t address, std::uint8_t value) {
        chip.start(sim::RtcChip::kClockDevice, false);
        if (layoutA()) chip.writeByte(0x00);
        chip.writeByte(address);
        chip.writeByte(value);
        chip.stop();
      };
      if (layoutA()) {
        write(0x3F, 0x02);  // WEL, then RWEL
        write(0x3F, 0x06);
        write(0x30, second);
      } else {
        write(0x07, 0x10);  // WRTC
        write(0x00, second);
      }
    });
    rewrite->setInterval(500ms);
    rewrite->setEnabled(true);
    return rewrite;
  }
  bool layoutA() const {
    return GetParam().chip != ChipModel::X1208 && GetParam().chip != ChipModel::X1209;
  }
  // The rate the board's chip would run at with `setting`.
  double rateWith(const TrimSetting& setting) const {
    return Crystal::ratePpm(board->board().chip().crystalPpm(), setting.atr, setting.dtr,
                            layoutA());
  }
  double bestRate() const {
    double best = 1e9;
    for (int dtr = 0; dtr < 8; ++dtr)
      for (int atr = 0; atr < 64; ++atr)
        best = std::min(
            best,
            std::fabs(rateWith({static_cast<std::uint8_t>(atr), static_cast<std::uint8_t>(dtr)})));
    return best;
  }
};

TEST_P(AccuracyOnTheBoard, AnHourFindsThirtySevenPpmAndAdvisesTheNearestTrimming) {
  start(37.0);
  user(&AccuracyWindow::startClicked);
  const int requestsBefore = line->requests;
  clock.advance(3600s);
  const AccuracyWindow& w = accuracy();
  ASSERT_TRUE(w.fit().has_value()) << w.statusText();
  EXPECT_NEAR(w.fit()->ppm, 37.0, 0.5);
  ASSERT_TRUE(w.fit()->uncertaintyPpm.has_value());
  EXPECT_LT(*w.fit()->uncertaintyPpm, 0.5);
  EXPECT_GT(w.samples().size(), 300u) << "an edge every ten seconds";
  EXPECT_NEAR(w.fit()->spanSeconds, 3600, 30);

  ASSERT_TRUE(w.advice().has_value());
  // What the advice would do on this board: as near 0 as any setting gets, give or take what
  // the measurement could not tell apart.
  EXPECT_LE(std::fabs(rateWith(w.advice()->setting)), bestRate() + 0.5)
      << "advised ATR " << int(w.advice()->setting.atr) << " DTR " << int(w.advice()->setting.dtr);
  EXPECT_LT(std::fabs(w.advice()->residualPpm), 3.0);
  EXPECT_NE(w.resultText().find("ppm"), std::string::npos);
  EXPECT_EQ(w.perDayText().rfind("每天: +3.", 0), 0u) << w.perDayText();

  // The main window's timers kept their turns (an SR read a second, time reads between), and
  // never were two requests on the line at once.
  EXPECT_GT(line->requests - requestsBefore, 3600 * 5);
  EXPECT_EQ(line->overlappingRequests, 0);
  EXPECT_EQ(window->controls().statusBar.panel(2).empty(), false);
}

TEST_P(AccuracyOnTheBoard, AdviceWaitsForTheRateApplyAsksAndTheFitStartsAfreshAfterTheWrite) {
  start(37.0);
  user(&AccuracyWindow::startClicked);
  clock.advance(60s);
  EXPECT_FALSE(accuracy().applyEnabled()) << "a minute cannot tell neighbouring settings apart";
  EXPECT_NE(accuracy().adviceText().find("预计再测约"), std::string::npos)
      << accuracy().adviceText();
  int waited = 60;
  while (!accuracy().applyEnabled() && waited < 3600) {
    clock.advance(10s);
    waited += 10;
  }
  ASSERT_TRUE(accuracy().applyEnabled()) << accuracy().adviceText();
  const TrimSetting advised = accuracy().advice()->setting;
  EXPECT_NE(accuracy().adviceText().find(" ± "), std::string::npos) << "the residual's uncertainty";

  const sim::RtcChip& chip = board->board().chip();
  const std::uint16_t atrAddress = layoutA() ? 0x12 : 0x0A;
  const TrimSetting before{chip.peekRegister(atrAddress), chip.peekRegister(atrAddress + 1)};
  const std::size_t kept = accuracy().samples().size();
  // No: nothing is written and the measurement goes on.
  messageBoxes.answers = {false};
  user(&AccuracyWindow::applyClicked);
  ASSERT_EQ(messageBoxes.shown.size(), 1u);
  EXPECT_TRUE(messageBoxes.shown[0].question);
  const std::string named = "ATR = 0x" + HexByte(advised.atr) + ", DTR = 0x" + HexByte(advised.dtr);
  EXPECT_NE(messageBoxes.shown[0].text.find(named), std::string::npos)
      << messageBoxes.shown[0].text;
  clock.advance(3s);
  EXPECT_EQ((TrimSetting{chip.peekRegister(atrAddress), chip.peekRegister(atrAddress + 1)}),
            before);
  EXPECT_GE(accuracy().samples().size(), kept);

  // Yes: the named values are written, and the fit starts afresh after the write.
  messageBoxes.answers = {true};
  user(&AccuracyWindow::applyClicked);
  const auto askedAt = static_cast<double>(clock.elapsedMs());
  EXPECT_FALSE(accuracy().applyEnabled());
  clock.advance(3s);
  EXPECT_EQ(chip.peekRegister(atrAddress), advised.atr);
  EXPECT_EQ(chip.peekRegister(atrAddress + 1), advised.dtr);
  EXPECT_TRUE(accuracy().running());
  EXPECT_EQ(accuracy().trimAtStart(), advised);
  clock.advance(1200s);
  ASSERT_TRUE(accuracy().fit().has_value());
  EXPECT_GT(accuracy().samples().front().pcMs, askedAt);
  EXPECT_NEAR(accuracy().fit()->ppm, chip.ratePpm(), 1.0);
  EXPECT_LT(std::fabs(accuracy().fit()->ppm), 2.5);
  EXPECT_EQ(line->overlappingRequests, 0);
}

TEST_P(AccuracyOnTheBoard, StartNeedsAModelAndAnOpenPortAndStopsWhenTheTrimmingCannotBeRead) {
  start(37.0, 6, false);
  user(&AccuracyWindow::startClicked);
  EXPECT_FALSE(accuracy().running());
  EXPECT_EQ(accuracy().statusText(), AccuracyWindow::Texts::kNoDevice);

  window->menuClick(GetParam().menu);
  board->board().faults().set(sim::ReplyFault::Corrupt);
  user(&AccuracyWindow::startClicked);
  EXPECT_EQ(accuracy().statusText(), AccuracyWindow::Texts::kReadingTrim);
  clock.advance(3500ms);
  EXPECT_FALSE(accuracy().running());
  EXPECT_EQ(accuracy().statusText(), AccuracyWindow::Texts::kTrimFailed);

  board->board().faults().set(sim::ReplyFault::None);
  window->events().run([&] { window->link().closePort(); });
  user(&AccuracyWindow::startClicked);
  EXPECT_FALSE(accuracy().running());
  EXPECT_EQ(accuracy().statusText(), AccuracyWindow::Texts::kNoPort);
}

TEST_P(AccuracyOnTheBoard, StopKeepsTheSamplesAndTheyAreSavedAsCsv) {
  start(-20.0);
  user(&AccuracyWindow::startClicked);
  EXPECT_FALSE(accuracy().saveEnabled());
  clock.advance(125s);
  user(&AccuracyWindow::stopClicked);
  const std::size_t kept = accuracy().samples().size();
  EXPECT_GE(kept, 12u);
  EXPECT_FALSE(accuracy().running());
  EXPECT_EQ(accuracy().statusText(), AccuracyWindow::Texts::kStopped);
  const int requests = line->requests;
  clock.advance(20s);
  EXPECT_EQ(accuracy().samples().size(), kept);
  EXPECT_LE(line->requests - requests, 20 * 5 + 20 + 2) << "only the main window's reads go on";

  ASSERT_TRUE(accuracy().saveEnabled());
  const std::string csv = accuracy().csv();
  EXPECT_EQ(csv.rfind("pc_seconds,chip_seconds,offset_ms,bracket_ms\n0.0000,0,0.000,", 0), 0u)
      << csv.substr(0, 80);
  EXPECT_EQ(static_cast<std::size_t>(std::count(csv.begin(), csv.end(), '\n')), kept + 1);
  // The last line: a whole number of intervals on, with the offset the plot shows.
  const std::string last = csv.substr(csv.rfind('\n', csv.size() - 2) + 1);
  const auto chipSecond = std::stoll(last.substr(last.find(',') + 1));
  EXPECT_EQ(chipSecond % 10, 0);
  const double offset = std::stod(last.substr(last.find(',', last.find(',') + 1) + 1));
  EXPECT_NEAR(offset, accuracy().plot().back().offsetMs, 0.0005);
  ASSERT_TRUE(accuracy().fit().has_value());
  EXPECT_LT(accuracy().fit()->ppm, 0.0) << "a slow chip";

  // Saved through the file seam, with the result in the status; a failed write keeps nothing.
  window->events().run([&] { accuracy().saveTo("/home/user/a.csv"); });
  EXPECT_EQ(desktop.files["/home/user/a.csv"], csv);
  EXPECT_EQ(accuracy().statusText(), "样本已保存到 /home/user/a.csv");
  desktop.spaceLeft = 16;
  window->events().run([&] { accuracy().saveTo("/home/user/a.csv"); });
  EXPECT_EQ(desktop.files["/home/user/a.csv"], csv);
  EXPECT_EQ(accuracy().statusText(), "无法写入文件 /home/user/a.csv：No space left on device");
}

TEST_P(AccuracyOnTheBoard, ATimeWriteDuringTheMeasurementStartsTheSamplesAfresh) {
  start(37.0);
  user(&AccuracyWindow::startClicked);
  clock.advance(200s);
  ASSERT_GE(accuracy().samples().size(), 15u);
  // The set-time dialog's way: the new time into NewTime, the write to the sequencer.
  window->events().run([&] {
    window->records().NewTime = TimeRecord{0x30, 0x15, 0x88, 0x09, 0x12, 0x06, 0x2026};
    window->sequencer().start(StWriteTime);
  });
  bool restarted = false;
  for (int i = 0; i < 40 && !restarted; ++i) {
    clock.advance(1s);
    restarted = accuracy().statusText() == AccuracyWindow::Texts::kTimeChanged;
  }
  EXPECT_TRUE(restarted);
  EXPECT_EQ(board->board().chip().time().minute, 0x15) << "the new time stands";
  EXPECT_LE(accuracy().samples().size(), 2u);
  clock.advance(900s);
  ASSERT_TRUE(accuracy().fit().has_value());
  EXPECT_NEAR(accuracy().fit()->ppm, 37.0, 3.0);
}

TEST_P(AccuracyOnTheBoard, AGapInTheRepliesOrAnUnplugCostsOnlyTheEdgesItHides) {
  // Unplugged: the port is closed and opened again, as the main window's reconnect does.
  struct Gap {
    const char* name;
    bool unplug;
    const char* during;  // the status while the board is gone; null: the progress goes on
    const char* after;
  };
  for (const Gap& gap :
       {Gap{"replies stalled", false, nullptr, nullptr},
        Gap{"unplugged", true, AccuracyWindow::Texts::kPaused, AccuracyWindow::Texts::kResumed}}) {
    SCOPED_TRACE(gap.name);
    start(37.0);
    user(&AccuracyWindow::startClicked);
    clock.advance(120s);
    ASSERT_GE(accuracy().samples().size(), 8u);
    const double firstEdge = accuracy().samples().front().pcMs;
    const auto gapStart = static_cast<double>(clock.elapsedMs());
    if (gap.unplug)
      window->events().run([&] { window->link().closePort(); });
    else
      board->board().faults().set(sim::ReplyFault::Stall);
    clock.advance(10s);
    EXPECT_TRUE(accuracy().running()) << accuracy().statusText();
    if (gap.during) {
      EXPECT_EQ(accuracy().statusText(), gap.during);
    }
    if (gap.unplug)
      window->events().run([&] { window->link().openPort(window->link().PortNo()); });
    else
      board->board().faults().set(sim::ReplyFault::None);
    const auto gapEnd = static_cast<double>(clock.elapsedMs());
    clock.advance(1500ms);
    if (gap.after) {
      EXPECT_EQ(accuracy().statusText(), gap.after);
    }
    // Requests during a stall have no reply to wait for; from here on each waits for its own.
    const int overlapping = line->overlappingRequests;
    clock.advance(600s);
    EXPECT_TRUE(accuracy().running()) << accuracy().statusText();
    // One line through the edges before and after: none inside the gap, the fit across it.
    EXPECT_EQ(accuracy().samples().front().pcMs, firstEdge);
    for (const EdgeSample& e : accuracy().samples())
      EXPECT_FALSE(e.pcMs > gapStart + 20 && e.pcMs < gapEnd) << e.pcMs;
    EXPECT_GE(accuracy().samples().size(), 65u);
    ASSERT_TRUE(accuracy().fit().has_value());
    // Right within three of its standard errors, which ten minutes bring under a ppm.
    ASSERT_TRUE(accuracy().fit()->uncertaintyPpm.has_value());
    EXPECT_LT(*accuracy().fit()->uncertaintyPpm, 1.0);
    EXPECT_NEAR(accuracy().fit()->ppm, 37.0, 3 * *accuracy().fit()->uncertaintyPpm);
    EXPECT_EQ(line->overlappingRequests, overlapping);
  }
}

TEST_P(AccuracyOnTheBoard, AClockThatStopsEndsTheMeasurementAndKeepsItsEdges) {
  start(37.0);
  user(&AccuracyWindow::startClicked);
  clock.advance(65s);
  const std::size_t kept = accuracy().samples().size();
  ASSERT_GE(kept, 5u);
  const std::unique_ptr<Timer> stopped = stopTheClock();
  const std::uint8_t shown = board->board().chip().time().second;
  bool timeChanged = false;
  for (int i = 0; i < 150 && accuracy().running(); ++i) {
    clock.advance(100ms);
    timeChanged |= accuracy().statusText() == AccuracyWindow::Texts::kTimeChanged;
  }
  EXPECT_EQ(board->board().chip().time().second, shown) << "the chip's second stands";
  EXPECT_FALSE(accuracy().running());
  EXPECT_EQ(accuracy().statusText(), AccuracyWindow::Texts::kClockStopped);
  EXPECT_FALSE(timeChanged);
  EXPECT_GE(accuracy().samples().size(), kept);
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, AccuracyOnTheBoard,
                         ::testing::Values(Board{ChipModel::X1226, MenuId::X1226},
                                           Board{ChipModel::X1209, MenuId::X1209}),
                         [](const ::testing::TestParamInfo<Board>& param) {
                           return param.param.chip == ChipModel::X1226 ? "LayoutA" : "LayoutB";
                         });

}  // namespace
}  // namespace rtceval
