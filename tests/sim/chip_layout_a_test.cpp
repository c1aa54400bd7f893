#include <gtest/gtest.h>

#include "chip_fixture.h"

namespace rtceval::sim::testing {
namespace {

constexpr std::uint16_t kTime = 0x30;
constexpr std::uint16_t kINT = 0x11;

class LayoutA : public ::testing::Test, public ChipFixture {
 protected:
  LayoutA() : ChipFixture(ChipModel::X1226) {}
  void unlock() {
    ASSERT_TRUE(write(kSrA, {0x02}));
    ASSERT_TRUE(write(kSrA, {0x06}));
  }
};

TEST_F(LayoutA, PowersUpOnTheStartTimeWithOnlyRtcfSet) {
  EXPECT_EQ(read(kTime, 8), (Bytes{0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20}));
  EXPECT_EQ(readOne(kSrA), 0x01);
}

TEST_F(LayoutA, CountsRealSecondsAcrossTheMinute) {
  at(29'999);
  EXPECT_EQ(read(kTime, 2), (Bytes{0x59, 0x05}));
  at(30'000);
  EXPECT_EQ(read(kTime, 2), (Bytes{0x00, 0x06}));
}

TEST_F(LayoutA, AMultiByteReadSeesTheTimeOfItsStart) {
  at(29'999);  // 09:05:59
  ASSERT_TRUE(chip.start(0x6F, false));
  ASSERT_TRUE(chip.writeByte(0x00));
  ASSERT_TRUE(chip.writeByte(0x30));
  ASSERT_TRUE(chip.start(0x6F, true));
  EXPECT_EQ(chip.readByte(), 0x59);
  chip.advanceTo(30'000);  // the second turns over in the middle of the read
  EXPECT_EQ(chip.readByte(), 0x05);
  chip.stop();
  EXPECT_EQ(read(kTime, 2), (Bytes{0x00, 0x06}));
}

TEST_F(LayoutA, TimeWriteTakesEffectAtStopAndTheClockCountsOnFromThere) {
  unlock();
  at(400);
  const Bytes newTime{0x58, 0x59, 0x31, 0x31, 0x12, 0x99, 0x05, 0x19};  // 12-hour 11 PM
  ASSERT_TRUE(chip.start(0x6F, false));
  for (std::uint8_t b : Bytes{0x00, 0x30, 0x58, 0x59, 0x31}) ASSERT_TRUE(chip.writeByte(b));
  EXPECT_EQ(chip.peekRegister(kTime), 0x30) << "nothing changes before STOP";
  for (std::size_t i = 3; i < newTime.size(); ++i) ASSERT_TRUE(chip.writeByte(newTime[i]));
  chip.stop();
  EXPECT_EQ(read(kTime, 8), newTime);
  EXPECT_EQ(readOne(kSrA) & 0x01, 0) << "RTCF clears at the first time write";
  at(1'399);
  EXPECT_EQ(readOne(kTime), 0x58) << "a full second after the write, not at the old boundary";
  at(2'400);
  EXPECT_EQ(read(kTime, 8), (Bytes{0x00, 0x00, 0x12, 0x01, 0x01, 0x00, 0x06, 0x20}));
}

TEST_F(LayoutA, BytesAreStoredAsWrittenEvenWhenNotBcd) {
  unlock();
  ASSERT_TRUE(write(kTime, {0x7A, 0x6B}));
  EXPECT_EQ(read(kTime, 2), (Bytes{0x7A, 0x6B}));
}

TEST_F(LayoutA, ARepeatedStartAbandonsAWriteInProgress) {
  unlock();
  ASSERT_TRUE(chip.start(0x6F, false));
  for (std::uint8_t b : Bytes{0x00, 0x30, 0x11}) ASSERT_TRUE(chip.writeByte(b));
  ASSERT_TRUE(chip.start(0x6F, true));
  chip.readByte();
  chip.stop();
  EXPECT_EQ(readOne(kTime), 0x30);
}

TEST_F(LayoutA, ControlWritesNeedWelAndRwel) {
  EXPECT_FALSE(write(kINT, {0x80})) << "locked";
  ASSERT_TRUE(write(kSrA, {0x06}));
  EXPECT_EQ(readOne(kSrA) & 0x06, 0x02) << "RWEL does not rise without WEL standing first";
  EXPECT_FALSE(write(kINT, {0x80})) << "WEL alone";
  EXPECT_FALSE(write(kTime, {0x00})) << "WEL alone, time";
  ASSERT_TRUE(write(kSrA, {0x06}));
  EXPECT_EQ(readOne(kSrA) & 0x06, 0x06);
  EXPECT_TRUE(write(kINT, {0x80}));
  at(10);
  EXPECT_EQ(readOne(kINT), 0x80);
}

TEST_F(LayoutA, ARefusedByteLeavesTheWholeWriteUndone) {
  unlock();
  ASSERT_TRUE(write(kSrA, {0x00}));
  EXPECT_EQ(readOne(kSrA) & 0x06, 0) << "0x00 clears both latches";
  ASSERT_TRUE(chip.start(0x6F, false));
  ASSERT_TRUE(chip.writeByte(0x00));
  ASSERT_TRUE(chip.writeByte(0x30));
  EXPECT_FALSE(chip.writeByte(0x00));
  EXPECT_FALSE(chip.writeByte(0x00)) << "stays refused";
  chip.stop();
  EXPECT_EQ(readOne(kTime), 0x30);
}

TEST_F(LayoutA, ControlWriteStartsAWriteCycleThatEndsWithRwelCleared) {
  unlock();
  at(100);
  ASSERT_TRUE(write(kINT, {0xE0}));
  at(105);
  EXPECT_TRUE(read(kSrA, 1).empty()) << "the chip ignores its address during the write cycle";
  EXPECT_TRUE(read(0x0000, 1, 0x57).empty());
  at(110);
  EXPECT_EQ(readOne(kSrA) & 0x06, 0x02) << "WEL stays, RWEL is gone";
  EXPECT_FALSE(write(kINT, {0x00}));
  EXPECT_EQ(readOne(kINT), 0xE0);
}

TEST_F(LayoutA, TimeWritesKeepRwelAndStartNoWriteCycle) {
  unlock();
  at(100);
  ASSERT_TRUE(write(kTime, {0x00}));
  at(101);
  EXPECT_EQ(readOne(kSrA) & 0x06, 0x06);
  EXPECT_TRUE(write(kTime + 1, {0x10}));
}

TEST_F(LayoutA, BitsThatDoNotExistReadZero) {
  unlock();
  ASSERT_TRUE(write(0x10, {0xFF}));  // BL: the X1226 has BP2..BP0 but no watchdog
  at(20);
  EXPECT_EQ(readOne(0x10), 0xE0);
  ASSERT_TRUE(write(kSrA, {0x06}));
  ASSERT_TRUE(write(0x12, {0xFF}));
  at(40);
  ASSERT_TRUE(write(kSrA, {0x06}));
  ASSERT_TRUE(write(0x13, {0xFF}));
  at(60);
  EXPECT_EQ(read(0x11, 3), (Bytes{0x00, 0x3F, 0x07}));
  EXPECT_EQ(readOne(0x20), 0x00) << "unused address";
}

TEST_F(LayoutA, AddressesOutsideTheRegisterFileAndForeignDevicesAreRefused) {
  EXPECT_TRUE(read(0x0140, 1).empty());
  EXPECT_TRUE(read(0x0040, 1).empty());
  EXPECT_TRUE(read(0x0000, 1, 0x50).empty());
  EXPECT_EQ(read(0x003E, 3), (Bytes{0x00, 0x01, 0x00})) << "reads wrap from SR to alarm 0";
}

TEST_F(LayoutA, AlarmFlagsRiseOnMatchingEnabledFieldsAndClearWhenRead) {
  unlock();
  // Alarm 0 at second 35 only; alarm 1 at minute 06 only, with a wrong date disabled.
  ASSERT_TRUE(write(0x00, {0xB5, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
  at(20);
  ASSERT_TRUE(write(kSrA, {0x06}));
  ASSERT_TRUE(write(0x08, {0x00, 0x86, 0x00, 0x11, 0x00, 0x00, 0x00, 0x00}));
  at(4'999);
  EXPECT_EQ(readOne(kSrA) & 0x60, 0);
  at(5'000);  // 09:05:35
  EXPECT_EQ(readOne(kSrA) & 0x60, 0x20);
  EXPECT_EQ(readOne(kSrA) & 0x60, 0) << "the read cleared AL0";
  at(6'000);
  EXPECT_EQ(readOne(kSrA) & 0x60, 0) << "a flag rises once, when the match begins";
  at(30'000);  // 09:06:00
  EXPECT_EQ(readOne(kSrA) & 0x60, 0x40);
  at(31'000);
  EXPECT_EQ(readOne(kSrA) & 0x60, 0) << "the minute still matches, but the flag rose already";
  at(90'000);  // 09:07:00, after alarm 0 matched again at 09:06:35
  EXPECT_EQ(readOne(kSrA) & 0x60, 0x20);
}

TEST_F(LayoutA, AReadClearsOnlyTheFlagsThatWereSetWhenItStarted) {
  unlock();
  ASSERT_TRUE(write(0x00, {0xB1, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));  // second 31
  at(999);
  ASSERT_TRUE(chip.start(0x6F, false));
  ASSERT_TRUE(chip.writeByte(0x00));
  ASSERT_TRUE(chip.writeByte(0x3F));
  ASSERT_TRUE(chip.start(0x6F, true));
  chip.advanceTo(1'000);  // AL0 rises after the read began
  EXPECT_EQ(chip.readByte() & 0x20, 0);
  chip.stop();
  EXPECT_EQ(readOne(kSrA) & 0x20, 0x20);
}

TEST_F(LayoutA, AlarmHourMatchesTheClockInTwelveHourMode) {
  unlock();
  ASSERT_TRUE(write(kTime, {0x59, 0x59, 0x31}));  // 11:59:59 PM
  at(20);
  ASSERT_TRUE(write(kSrA, {0x06}));
  ASSERT_TRUE(write(0x00, {0x00, 0x00, 0x92, 0x00, 0x00, 0x00, 0x00, 0x00}));  // hour 12 AM
  at(1'020);
  EXPECT_EQ(readOne(kSrA) & 0x20, 0x20);
}

TEST_F(LayoutA, BackupSupplyAndPowerFailShowInSr) {
  chip.setBackupSupply(true);
  EXPECT_EQ(readOne(kSrA) & 0x80, 0x80);
  chip.setBackupSupply(false);
  EXPECT_EQ(readOne(kSrA) & 0x80, 0);
  unlock();
  ASSERT_TRUE(write(kTime, {0x00}));
  EXPECT_FALSE(chip.raiseEvent()) << "no event input";
  chip.powerFail();
  EXPECT_EQ(readOne(kSrA), 0x01) << "RTCF back, latches lost";
}

}  // namespace
}  // namespace rtceval::sim::testing
