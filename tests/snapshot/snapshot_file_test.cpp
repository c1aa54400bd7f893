// A snapshot as a file: what is written reads back the same, and anything short of a whole,
// well-formed snapshot of a known model is refused with a reason.
#include <gtest/gtest.h>

#include <string>

#include "snapshot/snapshot_file.h"

namespace rtceval {
namespace {

// A snapshot of `model` with every register and EEPROM byte holding a value of its own.
Snapshot sample(const std::string& model) {
  Snapshot s{model, "2026-12-08 14:55:03", "1.05", {}, {}};
  std::uint8_t v = 0x11;
  for (const SnapshotSlot& slot : snapshotSlots(model)) {
    s.registers.push_back({slot.name, slot.address, v});
    v = static_cast<std::uint8_t>(v * 5 + 3);
  }
  s.eeprom.resize(eepromSizeOf(model));
  for (std::size_t a = 0; a < s.eeprom.size(); ++a)
    s.eeprom[a] = static_cast<std::uint8_t>(a ^ 0xA5);
  return s;
}

void expectSame(const Snapshot& a, const Snapshot& b) {
  EXPECT_EQ(a.model, b.model);
  EXPECT_EQ(a.takenAt, b.takenAt);
  EXPECT_EQ(a.programVersion, b.programVersion);
  ASSERT_EQ(a.registers.size(), b.registers.size());
  for (std::size_t i = 0; i < a.registers.size(); ++i) {
    EXPECT_EQ(a.registers[i].name, b.registers[i].name);
    EXPECT_EQ(a.registers[i].address, b.registers[i].address);
    EXPECT_EQ(a.registers[i].value, b.registers[i].value) << a.registers[i].name;
  }
  EXPECT_EQ(a.eeprom, b.eeprom);
}

// The file of `s` with `from` replaced by `to` once.
std::string edited(const Snapshot& s, const std::string& from, const std::string& to) {
  std::string text = toJson(s);
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::string refusal(const std::string& text) {
  const SnapshotLoad loaded = fromJson(text);
  EXPECT_FALSE(loaded.snapshot.has_value());
  return loaded.error;
}

TEST(SnapshotFile, EveryModelReadsBackAsItWasWritten) {
  for (const DeviceModel& m : deviceModels()) {
    SCOPED_TRACE(m.name);
    const Snapshot s = sample(m.name);
    const SnapshotLoad loaded = fromJson(toJson(s));
    ASSERT_TRUE(loaded.snapshot) << loaded.error;
    expectSame(s, *loaded.snapshot);
  }
}

// A file as the program has always saved it: it opens unchanged and is saved again byte for byte.
constexpr const char* kSavedFile = R"({
  "format": "rtceval-register-snapshot",
  "formatVersion": 1,
  "model": "X1209",
  "time": "2026-12-08 14:55:03",
  "programVersion": "1.05",
  "registers": [
    {"name": "SC", "address": "0x00", "value": "0x11"},
    {"name": "MN", "address": "0x01", "value": "0x58"},
    {"name": "HR", "address": "0x02", "value": "0xBB"},
    {"name": "DT", "address": "0x03", "value": "0xAA"},
    {"name": "MO", "address": "0x04", "value": "0x55"},
    {"name": "YR", "address": "0x05", "value": "0xAC"},
    {"name": "DW", "address": "0x06", "value": "0x5F"},
    {"name": "SCA", "address": "0x0C", "value": "0xDE"},
    {"name": "MNA", "address": "0x0D", "value": "0x59"},
    {"name": "HRA", "address": "0x0E", "value": "0xC0"},
    {"name": "DTA", "address": "0x0F", "value": "0xC3"},
    {"name": "MOA", "address": "0x10", "value": "0xD2"},
    {"name": "DWA", "address": "0x11", "value": "0x1D"},
    {"name": "SR", "address": "0x07", "value": "0x94"},
    {"name": "INT", "address": "0x08", "value": "0xE7"},
    {"name": "EV", "address": "0x09", "value": "0x86"},
    {"name": "ATR", "address": "0x0A", "value": "0xA1"},
    {"name": "DTR", "address": "0x0B", "value": "0x28"},
    {"name": "USR1", "address": "0x12", "value": "0xCB"},
    {"name": "USR2", "address": "0x13", "value": "0xFA"}
  ]
}
)";

TEST(SnapshotFile, AFileSavedEarlierOpensAndIsWrittenTheSameWay) {
  const SnapshotLoad loaded = fromJson(kSavedFile);
  ASSERT_TRUE(loaded.snapshot) << loaded.error;
  expectSame(*loaded.snapshot, sample("X1209"));
  EXPECT_EQ(toJson(*loaded.snapshot), kSavedFile);
}

TEST(SnapshotFile, TextsWithQuotesAndChineseSurviveAndTheFileNamesAddressesInHex) {
  Snapshot s = sample("X1209");
  s.takenAt = "2026年12月8日 \"下午\" 2:55\\03\t";
  const std::string text = toJson(s);
  EXPECT_NE(text.find("{\"name\": \"SR\", \"address\": \"0x07\""), std::string::npos);
  const SnapshotLoad loaded = fromJson(text);
  ASSERT_TRUE(loaded.snapshot) << loaded.error;
  EXPECT_EQ(loaded.snapshot->takenAt, s.takenAt);
}

TEST(SnapshotFile, RegistersInAnotherOrderAndLowerCaseHexAreAccepted) {
  const Snapshot s = sample("X1205");
  std::string text = edited(s, "\"0x3F\"", "\"0x3f\"");
  // The first register moved to the end of the list.
  const auto first = text.find("    {\"name\": \"SC\"");
  const auto end = text.find('\n', first);
  const std::string line = text.substr(first, end - first);
  text.erase(first, end - first + 1);
  text.replace(text.find("\n  ]"), 0, ",\n" + line.substr(0, line.size() - 1));
  const SnapshotLoad loaded = fromJson(text);
  ASSERT_TRUE(loaded.snapshot) << loaded.error;
  expectSame(s, *loaded.snapshot);
}

TEST(SnapshotFile, NoTruncationOfAFileIsTakenForASnapshot) {
  const std::string text = toJson(sample("X1226"));
  // Every cut short of the closing brace (the newline after it may go).
  for (std::size_t n = 0; n + 2 < text.size(); ++n)
    ASSERT_FALSE(fromJson(text.substr(0, n)).snapshot) << n;
  EXPECT_TRUE(fromJson(text.substr(0, text.size() - 1)).snapshot);
}

TEST(SnapshotFile, DamagedContentIsRefusedWithItsReason) {
  const Snapshot s = sample("X1228");
  const std::string sr = "{\"name\": \"SR\", \"address\": \"0x3F\", \"value\": \"0x";
  struct Case {
    std::string text;
    std::string says;
  };
  const Case cases[] = {
      {edited(s, "\"model\": \"X1228\"", "\"model\": \"X9999\""), "X9999"},
      {edited(s, sr, "{\"name\": \"SR\", \"address\": \"0x3E\", \"value\": \"0x"), "0x3F"},
      {edited(s, sr, "{\"name\": \"SR\", \"address\": \"0x3F\", \"value\": \"0xG"), "SR 的值无效"},
      {edited(s, sr, "{\"name\": \"DTR\", \"address\": \"0x13\", \"value\": \"0x"),
       "DTR 出现了两次"},
      {edited(s, "\"name\": \"SR\"", "\"name\": \"EV\""), "没有寄存器“EV”"},
      {edited(s, "\"eeprom\": \"", "\"eeprom\": \"0"), "1024"},
      {edited(s, "\"eeprom\": \"", "\"eeprom\": \"Z"), "1024"},
      {edited(s, "\"eeprom\": \"A5", "\"eeprom\": \"AZ"), "非十六进制"},
      {edited(s, "\"eeprom\"", "\"EEPROM\""), "缺少 EEPROM"},
      {edited(s, "\"formatVersion\": 1", "\"formatVersion\": 2"), "版本"},
      {edited(s, "\"format\": \"rtceval-register-snapshot\"", "\"format\": \"other\""),
       "不是寄存器快照文件"},
      {edited(s, "\"time\"", "\"time\": 1, \"t\""), "快照时间"},
      {edited(s, "\"model\"", "\"model\": \"X1228\", \"model\""), "重复的成员名"},
      {toJson(s) + "{}", "多余的内容"},
      {"[" + toJson(s) + "]", "不是寄存器快照文件"},
      {toJson(s) + std::string(2 << 20, ' '), "文件太大"},
  };
  for (const Case& c : cases) {
    const std::string error = refusal(c.text);
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
}

TEST(SnapshotFile, AMissingRegisterAndEepromOnAModelWithoutOneAreRefused) {
  Snapshot s = sample("X1208");
  s.registers.pop_back();
  EXPECT_NE(refusal(toJson(s)).find("缺少寄存器 USR2"), std::string::npos);
  Snapshot withArray = sample("X1205");
  withArray.eeprom.assign(512, 0);
  EXPECT_NE(refusal(toJson(withArray)).find("X1205 没有 EEPROM"), std::string::npos);
}

TEST(SnapshotFile, TextThatIsNotJsonIsRefusedWithTheFaultAndWhereItLies) {
  struct Case {
    std::string text;
    std::string says;
  };
  const Case cases[] = {
      {"{\n  \"a\": x}", "无效的值（第 2 行第 8 列）"},
      {"", "意外的结尾（第 1 行第 1 列）"},
      {"{\"a\": 1,}", "应为成员名"},
      {"{\"a\" 1}", "应为冒号"},
      {"{\"a\": 1 \"b\": 2}", "应为逗号或右花括号"},
      {"[1 2]", "应为逗号或右方括号"},
      {"[1.]", "无效的数字"},
      {"[\"\\x\"]", "无效的转义"},
      {"[\"a\nb\"]", "字符串中有控制字符"},
      {"[\"\\ud83d\"]", "代理项"},
      {"[\"abc", "字符串没有结束"},
      {std::string(100000, '['), "嵌套过深"},
  };
  for (const Case& c : cases) {
    const std::string error = refusal(c.text);
    EXPECT_NE(error.find(c.says), std::string::npos) << c.text.substr(0, 20) << ": " << error;
  }
}

}  // namespace
}  // namespace rtceval
