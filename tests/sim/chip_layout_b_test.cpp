#include <gtest/gtest.h>

#include "chip_fixture.h"

namespace rtceval::sim::testing {
namespace {

constexpr std::uint8_t kARST = 0x80;
constexpr std::uint8_t kWRTC = 0x10;
constexpr std::uint8_t kEVT = 0x08;
constexpr std::uint8_t kALM = 0x04;
constexpr std::uint8_t kBAT = 0x02;

class LayoutB : public ::testing::Test, public ChipFixture {
 protected:
  LayoutB() : ChipFixture(ChipModel::X1209) {}
};

TEST_F(LayoutB, SevenTimeBytesAtZeroWithoutCentury) {
  EXPECT_EQ(read(0x00, 8), (Bytes{0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x01}));
}

TEST_F(LayoutB, TimeWritesWithoutWrtcAreAcknowledgedAndDiscarded) {
  EXPECT_TRUE(write(0x00, {0x00, 0x00, 0x80}));
  EXPECT_EQ(read(0x00, 3), (Bytes{0x30, 0x05, 0x89}));
  EXPECT_EQ(readOne(kSrB) & 0x01, 0x01) << "RTCF stays until a real time write";
  ASSERT_TRUE(write(kSrB, {kWRTC}));
  EXPECT_TRUE(write(0x00, {0x00, 0x00, 0x80}));
  EXPECT_EQ(read(0x00, 3), (Bytes{0x00, 0x00, 0x80}));
  EXPECT_EQ(readOne(kSrB), kWRTC) << "RTCF cleared";
}

TEST_F(LayoutB, OtherRegistersNeedNoUnlockAndStartNoWriteCycle) {
  EXPECT_TRUE(write(0x08, {0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(read(0x08, 4), (Bytes{0xFF, 0xFF, 0xFF, 0x07}));
  EXPECT_TRUE(write(0x12, {0x01, 0x2A}));
  EXPECT_EQ(read(0x12, 2), (Bytes{0x01, 0x2A}));
  EXPECT_TRUE(read(0x14, 1).empty()) << "past the register file";
}

TEST_F(LayoutB, StatusFlagsClearOnlyByWritingZero) {
  chip.setBackupSupply(true);
  ASSERT_TRUE(chip.raiseEvent());
  EXPECT_EQ(readOne(kSrB), kEVT | kBAT | 0x01);
  ASSERT_TRUE(write(kSrB, {0xFF}));
  EXPECT_EQ(readOne(kSrB), 0xDB) << "writing ones sets only the control bits; ALM stays clear";
  ASSERT_TRUE(write(kSrB, {0xFF & ~kEVT}));
  EXPECT_EQ(readOne(kSrB) & (kEVT | kBAT), kBAT);
  ASSERT_TRUE(write(kSrB, {0x00}));
  EXPECT_EQ(readOne(kSrB), 0x01);
}

TEST_F(LayoutB, AlarmSetsAlmWhichAReadClearsOnlyWithArst) {
  // Alarm at 09:05:32, weekday 4 enabled.
  ASSERT_TRUE(write(0x0C, {0xB2, 0x85, 0x89, 0x00, 0x00, 0x84}));
  at(2'000);
  EXPECT_EQ(readOne(kSrB) & kALM, kALM);
  EXPECT_EQ(readOne(kSrB) & kALM, kALM) << "without ARST the flag stays";
  ASSERT_TRUE(write(kSrB, {kARST | kALM}));
  EXPECT_EQ(readOne(kSrB) & kALM, kALM);
  EXPECT_EQ(readOne(kSrB) & kALM, 0) << "with ARST the read cleared it";
}

TEST_F(LayoutB, AWrongEnabledFieldKeepsTheAlarmQuiet) {
  ASSERT_TRUE(write(0x0C, {0xB2, 0x85, 0x89, 0x00, 0x00, 0x83}));  // weekday 3, today is 4
  at(3'000);
  EXPECT_EQ(readOne(kSrB) & kALM, 0);
  ASSERT_TRUE(write(0x0C, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));  // nothing enabled
  at(120'000);
  EXPECT_EQ(readOne(kSrB) & kALM, 0);
}

TEST(LayoutBModels, TheX1208HasNoEventRegisterOrInput) {
  ChipFixture f(ChipModel::X1208);
  EXPECT_FALSE(f.chip.raiseEvent());
  EXPECT_TRUE(f.write(0x09, {0xFF}));
  EXPECT_EQ(f.readOne(0x09), 0x00);
}

TEST(LayoutBModels, TwoAddressBytesReachTheChipAsAnAddressAndADataByte) {
  // A layout-B chip takes one address byte: a two-byte address writes its low byte as data.
  ChipFixture f(ChipModel::X1208);
  ASSERT_TRUE(f.write(0x07, {kWRTC}));
  EXPECT_TRUE(i2cWrite(f.chip, 0x6F, 0x00, 0x45, {}).acknowledged);
  EXPECT_EQ(f.readOne(0x00), 0x45);
}

}  // namespace
}  // namespace rtceval::sim::testing
