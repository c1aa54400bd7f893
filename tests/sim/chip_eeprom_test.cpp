#include <gtest/gtest.h>

#include <ostream>

#include "chip_fixture.h"

namespace rtceval::sim::testing {
namespace {

constexpr std::uint8_t kMemory = 0x57;
constexpr std::uint16_t kBL = 0x10;

class Eeprom : public ::testing::Test, public ChipFixture {
 protected:
  Eeprom() : ChipFixture(ChipModel::X1228) {}
  void setWel() { ASSERT_TRUE(write(kSrA, {0x02})); }
  // BL needs RWEL and a write cycle; afterwards WEL still stands.
  void setBlockProtect(std::uint8_t bp) {
    ASSERT_TRUE(write(kSrA, {0x02}));
    ASSERT_TRUE(write(kSrA, {0x06}));
    ASSERT_TRUE(write(kBL, {static_cast<std::uint8_t>(bp << 5)}));
    at(now + 10);
  }
  bool writeByte(std::uint16_t address, std::uint8_t value) {
    const bool ok = write(address, {value}, kMemory);
    at(now + 10);
    return ok;
  }
};

TEST_F(Eeprom, WritesNeedWelAndTakeAWriteCycle) {
  EXPECT_FALSE(write(0x0001, {0x35}, kMemory));
  setWel();
  ASSERT_TRUE(write(0x0001, {0x35}, kMemory));
  at(9);
  EXPECT_TRUE(read(0x0001, 1, kMemory).empty()) << "busy";
  at(10);
  EXPECT_EQ(read(0x0000, 3, kMemory), (Bytes{0xFF, 0x35, 0xFF}));
}

TEST_F(Eeprom, PageWritesRollOverWithinTheirPage) {
  setWel();
  ASSERT_TRUE(write(0x003E, {0x01, 0x02, 0x03, 0x04}, kMemory));
  at(10);
  EXPECT_EQ(read(0x003E, 2, kMemory), (Bytes{0x01, 0x02}));
  EXPECT_EQ(read(0x0000, 2, kMemory), (Bytes{0x03, 0x04}));
  EXPECT_EQ(read(0x0040, 1, kMemory), (Bytes{0xFF})) << "the next page is untouched";
}

TEST_F(Eeprom, ReadsRunAcrossPagesAndWrapPastTheArray) {
  setWel();
  ASSERT_TRUE(writeByte(0x0000, 0xA0));
  ASSERT_TRUE(writeByte(0x0040, 0xA1));
  ASSERT_TRUE(writeByte(0x01FF, 0xA2));
  EXPECT_EQ(read(0x003F, 2, kMemory), (Bytes{0xFF, 0xA1}));
  EXPECT_EQ(read(0x01FF, 2, kMemory), (Bytes{0xA2, 0xA0}));
  EXPECT_EQ(read(0x0200, 1, kMemory), (Bytes{0xA0}));
  EXPECT_EQ(read(0x7FFF, 1, kMemory), (Bytes{0xA2}));
}

struct Protection {
  std::uint8_t bp;
  std::uint16_t firstProtected;
  std::uint16_t lastProtected;  // first > last: nothing protected
};
void PrintTo(const Protection& c, std::ostream* os) {
  *os << "BP " << int(c.bp);
}

class BlockProtect : public Eeprom, public ::testing::WithParamInterface<Protection> {};

TEST_P(BlockProtect, ProtectedWritesAreAcknowledgedAndIgnored) {
  const Protection p = GetParam();
  setBlockProtect(p.bp);
  for (std::uint16_t a :
       {std::uint16_t{0x000}, std::uint16_t{0x03F}, std::uint16_t{0x040}, std::uint16_t{0x0FF},
        std::uint16_t{0x100}, std::uint16_t{0x17F}, std::uint16_t{0x180}, std::uint16_t{0x1FF}}) {
    ASSERT_TRUE(writeByte(a, 0x5A)) << "address " << a;
    const bool isProtected = a >= p.firstProtected && a <= p.lastProtected;
    EXPECT_EQ(read(a, 1, kMemory), Bytes{isProtected ? std::uint8_t{0xFF} : std::uint8_t{0x5A}})
        << "BP " << int(p.bp) << " address " << a;
  }
}

INSTANTIATE_TEST_SUITE_P(Ranges, BlockProtect,
                         ::testing::Values(Protection{0, 1, 0}, Protection{1, 0x180, 0x1FF},
                                           Protection{2, 0x100, 0x1FF}, Protection{3, 0x000, 0x1FF},
                                           Protection{4, 0x000, 0x03F}, Protection{5, 0x000, 0x07F},
                                           Protection{6, 0x000, 0x0FF},
                                           Protection{7, 0x000, 0x1FF}));

TEST(EepromPresence, OnlyTheMemoryModelsAnswerAtTheMemoryAddress) {
  for (ChipModel m : {ChipModel::X1226, ChipModel::X1227, ChipModel::X1228}) {
    ChipFixture f(m);
    EXPECT_EQ(f.read(0x0000, 1, kMemory).size(), 1u) << profileOf(m).name;
  }
  for (ChipModel m : {ChipModel::X1205, ChipModel::X1208, ChipModel::X1209}) {
    ChipFixture f(m);
    EXPECT_TRUE(f.read(0x0000, 1, kMemory).empty()) << profileOf(m).name;
  }
}

}  // namespace
}  // namespace rtceval::sim::testing
