#include <gtest/gtest.h>

#include <string>

#include "chip_fixture.h"
#include "sim/saved_board.h"

namespace rtceval::sim::testing {
namespace {

// A chip left 30 s ago by one run and taken up by the next keeps what the board kept powered,
// and its clock has run on over the gap at its trimmed rate.
TEST(SavedBoard, TheNextRunTakesUpTheChipWithItsClockRunOn) {
  ChipFixture before(ChipModel::X1226);  // 09:05:30
  before.chip.setCrystalPpm(37.0);
  ASSERT_TRUE(before.write(kSrA, {0x02}));
  ASSERT_TRUE(before.write(kSrA, {0x06}));
  // Alarm 0 at second 00 only: it comes round during the gap.
  ASSERT_TRUE(before.write(0x00, {0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
  before.at(20);
  ASSERT_TRUE(before.write(kSrA, {0x06}));
  ASSERT_TRUE(before.write(0x0100, {0x5A}, 0x57));
  before.at(12'345);  // 09:05:42 and about a third of a second
  const std::string text = savedBoardText({ChipModel::X1226, before.chip.saved(), 1'000'000});

  const auto saved = readSavedBoard(text);
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->savedAtMs, 1'000'000);
  ChipFixture after(ChipModel::X1226, {2026, 1, 1, 0, 0, 0});
  after.at(500);
  after.chip.resume(saved->chip, 30'000);
  // 09:05:42.35 and 30 s make 09:06:12.35.
  EXPECT_EQ(after.read(0x30, 3), (Bytes{0x12, 0x06, 0x89}));
  EXPECT_NEAR(after.chip.saved().msIntoSecond, 346.0, 5.0);
  // The next second comes when the running one is over, not a whole second after the resume.
  after.at(1'140);
  EXPECT_EQ(after.readOne(0x30), 0x12);
  after.at(1'170);
  EXPECT_EQ(after.readOne(0x30), 0x13);
  EXPECT_EQ(after.readOne(0x0100, 0x57), 0x5A);
  EXPECT_EQ(after.readOne(0x00), 0x80);
  EXPECT_DOUBLE_EQ(after.chip.crystalPpm(), 37.0);
  EXPECT_EQ(after.chip.ratePpm(), before.chip.ratePpm());
  EXPECT_EQ(after.readOne(kSrA) & 0x20, 0x20) << "alarm 0 matched at 09:06:00, in the gap";
}

// A damaged file starts a fresh chip: nothing half-read.
TEST(SavedBoard, ADamagedTextIsNoBoard) {
  const std::string good = savedBoardText({ChipModel::X1209, RtcChip::Saved{}, 5});
  ASSERT_TRUE(readSavedBoard(good).has_value());
  EXPECT_EQ(readSavedBoard(good)->model, ChipModel::X1209);
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const struct {
    const char* name;
    std::string text;
  } damaged[] = {
      {"empty", ""},
      {"another first line", replaced("rtceval virtual board 1", "rtceval virtual board 2")},
      {"an unknown model", replaced("model X1209", "model X9999")},
      {"a field missing", replaced("crystal-ppm 0\n", "")},
      {"a field twice", good + "status 00\n"},
      {"a byte short", replaced("status 00", "status ")},
      {"not hexadecimal", replaced("status 00", "status 0g")},
      {"a crystal beyond the board's range", replaced("crystal-ppm 0", "crystal-ppm 1001")},
      {"a second longer than a second", replaced("ms-into-second 0", "ms-into-second 1500")},
      {"not a number", replaced("saved-at-ms 5", "saved-at-ms five")},
  };
  for (const auto& row : damaged) EXPECT_FALSE(readSavedBoard(row.text).has_value()) << row.name;
}

}  // namespace
}  // namespace rtceval::sim::testing
