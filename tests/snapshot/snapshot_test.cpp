// What a snapshot holds for each model, how the clock's bytes survive the way the reads keep
// them, and how two snapshots compare with the differing bits named.
#include <gtest/gtest.h>

#include <string>

#include "core/register_map.h"
#include "core/time_record.h"
#include "core/value_codecs.h"
#include "snapshot/snapshot.h"

namespace rtceval {
namespace {

std::vector<std::string> names(const std::string& model) {
  std::vector<std::string> out;
  for (const SnapshotSlot& s : snapshotSlots(model)) out.push_back(s.name);
  return out;
}

Snapshot of(const std::string& model) {
  Snapshot s{model, "t", "v", {}, std::vector<std::uint8_t>(eepromSizeOf(model), 0xFF)};
  for (const SnapshotSlot& slot : snapshotSlots(model))
    s.registers.push_back({slot.name, slot.address, 0});
  return s;
}

void set(Snapshot& s, const std::string& name, std::uint8_t value) {
  for (SnapshotRegister& r : s.registers)
    if (r.name == name) r.value = value;
}

TEST(SnapshotSlots, EachModelHoldsItsOwnRegistersAtTheirAddresses) {
  const std::vector<std::string> x1205 = names("X1205");
  ASSERT_EQ(x1205.size(), 29u);
  EXPECT_EQ(x1205.front(), "SC");
  EXPECT_EQ(x1205[7], "Y2K");
  EXPECT_EQ(x1205[8], "SCA0");
  EXPECT_EQ(x1205[23], "Y2K1");
  EXPECT_EQ(x1205[25], "BL");
  EXPECT_EQ(eepromSizeOf("X1205"), 0u);
  EXPECT_EQ(eepromSizeOf("X1227"), 512u);

  const std::vector<SnapshotSlot> x1208 = snapshotSlots("X1208");
  const std::vector<std::string> expected = {"SC",  "MN",  "HR",  "DT",  "MO",   "YR",  "DW",
                                             "SCA", "MNA", "HRA", "DTA", "MOA",  "DWA", "SR",
                                             "INT", "EV",  "ATR", "DTR", "USR1", "USR2"};
  ASSERT_EQ(x1208.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(x1208[i].name, expected[i]);
  // Layout B: the clock from 0x00, SR at 0x07, the alarm from 0x0C, the user registers at 0x12.
  EXPECT_EQ(x1208[0].address, 0x00);
  EXPECT_EQ(x1208[13].address, 0x07);
  EXPECT_EQ(x1208[7].address, 0x0C);
  EXPECT_EQ(x1208[19].address, 0x13);
  EXPECT_TRUE(snapshotSlots("X12").empty());
}

TEST(SnapshotSlots, TheSelectedModelIsFoundFromItsProfile) {
  for (const DeviceModel& m : deviceModels()) EXPECT_EQ(modelOf(m.profile), m.name);
  EXPECT_EQ(modelOf(DeviceProfile{}), "");
}

TEST(ClockBytes, TheHourFlagsComeBackAsTheChipHoldsThem) {
  // 24-hour 23:59:58 of 31 December 2099, Thursday, layout A.
  const std::vector<std::uint8_t> a = {0x58, 0x59, 0xA3, 0x31, 0x12, 0x99, 0x04, 0x20};
  EXPECT_EQ(clockBytes(decodeTime(a), Layout::A), a);
  // 12-hour 11 PM and 12 AM, layout B (no century byte).
  const std::vector<std::uint8_t> pm = {0x00, 0x00, 0x31, 0x01, 0x01, 0x26, 0x00};
  EXPECT_EQ(clockBytes(decodeTime(pm), Layout::B), pm);
  const std::vector<std::uint8_t> am = {0x00, 0x00, 0x12, 0x01, 0x01, 0x26, 0x00};
  EXPECT_EQ(clockBytes(decodeTime(am), Layout::B), am);

  // A time write sends the bytes back in register order.
  const TimeRecord t = recordOf(a, Layout::A, false);
  EXPECT_EQ(t.hour, 0xA3);
  EXPECT_EQ(t.year, 0x2099);
  EXPECT_EQ(t.weekday, 0x04);
  const TimeRecord b = recordOf(pm, Layout::B, false);
  EXPECT_EQ(b.yearLow(), 0x26);
  EXPECT_EQ(b.weekday, 0x00);
}

TEST(ClockBytes, AlarmsRoundTripOnBothLayouts) {
  const std::vector<std::uint8_t> a = {0x80, 0x81, 0x82, 0x83, 0x84, 0x05, 0x86, 0x20};
  EXPECT_EQ(alarmBytes(recordOf(a, Layout::A, true), Layout::A), a);
  const std::vector<std::uint8_t> b = {0x80, 0x01, 0x82, 0x03, 0x84, 0x86};
  EXPECT_EQ(alarmBytes(recordOf(b, Layout::B, true), Layout::B), b);
}

TEST(SnapshotCompare, NamesTheBitsThatDiffer) {
  Snapshot before = of("X1228");
  Snapshot after = of("X1228");
  set(after, "SR", 0x82);    // BAT and WEL
  set(after, "INT", 0x80);   // IM
  set(after, "BL", 0x20);    // BP0
  set(after, "HR", 0x80);    // 24-hour mode
  set(after, "SCA0", 0x81);  // enabled, second 1
  const Comparison c = compare(before, after);
  ASSERT_EQ(c.registers.size(), 5u);
  EXPECT_TRUE(c.eeprom.empty());
  const auto bitsOf = [&c](const std::string& name) {
    for (const RegisterDifference& d : c.registers)
      if (d.name == name) return d.bits;
    return std::vector<std::string>{};
  };
  EXPECT_EQ(bitsOf("SR"), (std::vector<std::string>{"BAT", "WEL"}));
  EXPECT_EQ(bitsOf("INT"), (std::vector<std::string>{"IM"}));
  EXPECT_EQ(bitsOf("BL"), (std::vector<std::string>{"BP0"}));
  EXPECT_EQ(bitsOf("HR"), (std::vector<std::string>{"MIL"}));
  EXPECT_EQ(bitsOf("SCA0"), (std::vector<std::string>{"ESCA0", "位0"}));
  // In the order the chip is read: the clock, the alarms, SR, the control block.
  const std::vector<std::string> lines = describe(c);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].substr(0, 3), "HR ");
  EXPECT_EQ(lines[1].substr(0, 5), "SCA0 ");
  EXPECT_EQ(lines[4], "INT (0x11): 0x00 → 0x80，不同的位: IM");
}

TEST(SnapshotCompare, LayoutBNamesItsOwnBits) {
  Snapshot before = of("X1209");
  Snapshot after = of("X1209");
  set(after, "SR", 0x90);  // ARST, WRTC
  set(after, "EV", 0x80);
  const Comparison c = compare(before, after);
  ASSERT_EQ(c.registers.size(), 2u);
  EXPECT_EQ(c.registers[0].bits, (std::vector<std::string>{"ARST", "WRTC"}));
  EXPECT_EQ(c.registers[1].bits, (std::vector<std::string>{"EVIENB"}));
}

TEST(SnapshotCompare, EepromDifferencesAreListedInRunsOfAtMostALine) {
  Snapshot before = of("X1226");
  Snapshot after = of("X1226");
  for (std::size_t a = 0x10; a < 0x32; ++a) after.eeprom[a] = 0x00;  // 34 bytes: 16 + 16 + 2
  after.eeprom[0x1FF] = 0x12;
  const Comparison c = compare(before, after);
  EXPECT_EQ(c.eeprom.size(), 35u);
  const std::vector<std::string> lines = describe(c);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].rfind("EEPROM 0x0010–0x001F: FF FF", 0), 0u) << lines[0];
  EXPECT_EQ(lines[2], "EEPROM 0x0030–0x0031: FF FF → 00 00");
  EXPECT_EQ(lines[3], "EEPROM 0x01FF: FF → 12");
}

TEST(SnapshotCompare, SameSnapshotsSaySoAndAnotherModelIsRefused) {
  EXPECT_EQ(describe(compare(of("X1205"), of("X1205"))), std::vector<std::string>{"两者相同"});
  EXPECT_FALSE(comparisonRefusal(of("X1205"), of("X1205")));
  const auto refusal = comparisonRefusal(of("X1205"), of("X1226"));
  ASSERT_TRUE(refusal);
  EXPECT_NE(refusal->find("X1205 与 X1226"), std::string::npos);
}

TEST(StatusRestore, LocksLayoutAAndKeepsLayoutBFlags) {
  // Layout A: only the write-enable latches are written, so an unlocked SR comes back unlocked.
  EXPECT_EQ(statusRestoreValue(0x81, Layout::A), 0x00);
  EXPECT_EQ(statusRestoreValue(0x06, Layout::A), 0x06);
  // Layout B: ARST, XTOSCB and WRTC as saved; BAT, ALM and EVT written as 1, which keeps them.
  EXPECT_EQ(statusRestoreValue(0xD1, Layout::B), 0xDE);
  EXPECT_EQ(statusRestoreValue(0x00, Layout::B), 0x0E);
}

}  // namespace
}  // namespace rtceval
