#include <gtest/gtest.h>

#include <string>

#include "chip_fixture.h"
#include "sim/chip/crystal.h"
#include "sim/control_channel.h"

namespace rtceval::sim {
namespace {

using testing::Bytes;
using testing::ChipFixture;

TEST(CrystalTrim, DigitalTrimCountsDtr0TwiceAndDtr2AsTheSign) {
  struct Row {
    std::uint8_t dtr;
    double layoutA;
    double layoutB;
  };
  for (const Row& r :
       {Row{0x00, 0, 0}, Row{0x01, 20, 40}, Row{0x02, 10, 20}, Row{0x03, 30, 60}, Row{0x04, 0, 0},
        Row{0x05, -20, -40}, Row{0x06, -10, -20}, Row{0x07, -30, -60}, Row{0xFB, 30, 60}}) {
    EXPECT_EQ(Crystal::digitalTrimPpm(r.dtr, true), r.layoutA) << int(r.dtr);
    EXPECT_EQ(Crystal::digitalTrimPpm(r.dtr, false), r.layoutB) << int(r.dtr);
  }
}

TEST(CrystalTrim, MoreLoadSlowsTheCrystalAcrossTheWholeAtrRange) {
  EXPECT_EQ(Crystal::pullingPpm(0x00), 0.0);
  EXPECT_EQ(Crystal::signedAtr(0x20), -32) << "ATR5 is the sign of a two's-complement value";
  EXPECT_EQ(Crystal::signedAtr(0xDF), 31) << "BMATR bits are no part of the value";
  EXPECT_DOUBLE_EQ(Crystal::loadPf(0x20), 3.0);
  EXPECT_DOUBLE_EQ(Crystal::loadPf(0x1F), 18.75);
  // From the least load (ATR = -32) to the most (ATR = 31), each step slows the clock, by more
  // at small loads than at large ones.
  double previous = Crystal::pullingPpm(0x20);
  double previousStep = 1e9;
  for (int atr = -31; atr <= 31; ++atr) {
    const double ppm = Crystal::pullingPpm(static_cast<std::uint8_t>(atr & 0x3F));
    EXPECT_LT(ppm, previous) << atr;
    EXPECT_LT(previous - ppm, previousStep) << atr;
    previousStep = previous - ppm;
    previous = ppm;
  }
  // A plausible span for a tuning-fork crystal: well over a hundred ppm fast at the least load,
  // a few tens slow at the most.
  EXPECT_GT(Crystal::pullingPpm(0x20), 100.0);
  EXPECT_LT(Crystal::pullingPpm(0x1F), -20.0);
  EXPECT_GT(Crystal::pullingPpm(0x1F), -60.0);
}

TEST(CrystalTrim, ErrorsAreReadAsSignedNumbersWithinRange) {
  EXPECT_EQ(Crystal::parsePpm("37"), 37.0);
  EXPECT_EQ(Crystal::parsePpm("+12.5"), 12.5);
  EXPECT_EQ(Crystal::parsePpm("-1000"), -1000.0);
  for (const char* bad : {"", "+", "x", "37ppm", "1000.5", "-2000", "nan", "inf", "1e400", " 3"})
    EXPECT_FALSE(Crystal::parsePpm(bad).has_value()) << bad;
}

// Seconds counted since the fixture's start (09:05:30), from the BCD time.
int countedSeconds(const RtcChip& chip) {
  const ClockFields& t = chip.time();
  const auto bcd = [](std::uint8_t b) { return (b >> 4) * 10 + (b & 0x0F); };
  return (bcd(t.hour & 0x3F) * 3600 + bcd(t.minute) * 60 + bcd(t.second)) -
         (9 * 3600 + 5 * 60 + 30);
}

TEST(CrystalClock, AFastCrystalShortensEverySecondAndKeepsCountingWholeOnes) {
  ChipFixture f(ChipModel::X1226);
  f.chip.setCrystalPpm(37);
  // 27001 seconds of a crystal 37 ppm fast end at 27 000 000.999 ms.
  f.at(27'000'000);
  EXPECT_EQ(countedSeconds(f.chip), 27000);
  f.at(27'000'001);
  EXPECT_EQ(countedSeconds(f.chip), 27001);
  EXPECT_EQ(f.readOne(0x30), 0x31) << "BCD seconds as ever";
}

TEST(CrystalClock, TrimmingWritesOnLayoutACancelTheCrystalError) {
  ChipFixture f(ChipModel::X1228);
  f.chip.setCrystalPpm(30);
  ASSERT_TRUE(f.write(0x3F, {0x02}));
  ASSERT_TRUE(f.write(0x3F, {0x06}));
  ASSERT_TRUE(f.write(0x13, {0x07}));  // DTR -30 ppm
  EXPECT_DOUBLE_EQ(f.chip.ratePpm(), 0.0);
  f.at(5'000'000);
  EXPECT_EQ(countedSeconds(f.chip), 5000);
  // A locked chip refuses the write, and its rate stays.
  ASSERT_TRUE(f.write(0x3F, {0x00}));
  f.at(5'000'020);
  EXPECT_FALSE(f.write(0x12, {0x20}));
  EXPECT_DOUBLE_EQ(f.chip.ratePpm(), 0.0);
}

TEST(CrystalClock, LayoutBTakesTwentyPpmStepsAndIgnoresBmatrForTheRate) {
  ChipFixture f(ChipModel::X1209);
  f.chip.setCrystalPpm(-40);
  ASSERT_TRUE(f.write(0x0B, {0x01}));  // DTR0: two steps of 20 ppm
  EXPECT_DOUBLE_EQ(f.chip.ratePpm(), 0.0);
  ASSERT_TRUE(f.write(0x0A, {0xC0}));  // BMATR1/0 only
  EXPECT_DOUBLE_EQ(f.chip.ratePpm(), 0.0);
  ASSERT_TRUE(f.write(0x0A, {0xC4}));  // ATR 4: one pF more load
  EXPECT_DOUBLE_EQ(f.chip.ratePpm(), Crystal::pullingPpm(0x04));
  EXPECT_LT(f.chip.ratePpm(), 0.0);
}

TEST(CrystalClock, ATimeWriteRestartsTheSecondAtTheTrimmedLength) {
  ChipFixture f(ChipModel::X1208);
  f.chip.setCrystalPpm(500);  // a second of 999.50025 ms
  f.at(400);
  ASSERT_TRUE(f.write(0x07, {0x10}));
  ASSERT_TRUE(f.write(0x00, {0x00}));  // second 00
  f.at(1399);
  EXPECT_EQ(f.readOne(0x00), 0x00);
  f.at(1400);
  EXPECT_EQ(f.readOne(0x00), 0x01);
  f.at(400 + 1999);
  EXPECT_EQ(f.readOne(0x00), 0x01) << "two seconds are 1999.0005 ms";
  f.at(400 + 2000);
  EXPECT_EQ(f.readOne(0x00), 0x02);
}

TEST(CrystalClock, ThePpmCommandSetsTheCrystalAndRefusesNonsense) {
  VirtualBoard board(ChipModel::X1226, clockFieldsOf({2004, 5, 20, 9, 5, 30}), 0);
  EXPECT_NE(runControlCommand("ppm 37", board, 0).find("37 ppm"), std::string::npos);
  EXPECT_EQ(board.chip().crystalPpm(), 37.0);
  for (const char* bad : {"ppm", "ppm x", "ppm 1 2", "ppm 5000"}) {
    EXPECT_NE(runControlCommand(bad, board, 0).find("usage: ppm"), std::string::npos) << bad;
    EXPECT_EQ(board.chip().crystalPpm(), 37.0) << bad;
  }
  EXPECT_NE(runControlCommand("help", board, 0).find("ppm X"), std::string::npos);
}

}  // namespace
}  // namespace rtceval::sim
