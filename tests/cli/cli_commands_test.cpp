// Each command of rtceval-cli against the in-process virtual board, on the virtual clock: its
// frames on the wire, its output and its exit status.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli_harness.h"
#include "sim/board/fault_injector.h"

namespace rtceval {
namespace {

using Bytes = std::vector<std::uint8_t>;
using sim::ChipModel;
using testing::CliBench;
using testing::lastJson;

const Bytes kProbe{0x55, 0x00, 0x00, 0x55};
const Bytes kWel{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x3F, 0x01, 0x02, 0x0D};
const Bytes kRwel{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x3F, 0x01, 0x06, 0x11};
const Bytes kReadTime{0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x30, 0x08, 0x01};

TEST(CliCommands, TimeReadsAndSetsTheClockThroughTheUnlockSteps) {
  CliBench bench(ChipModel::X1226);
  auto run = bench.run({"--model", "X1226", "--json", "time"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.sent, (std::vector<Bytes>{kProbe, kReadTime}));
  EXPECT_EQ(run.out, "{\"hour_format\":24,\"time\":\"2026-12-08 01:02:03\",\"weekday\":2}\n");

  run = bench.run({"--model", "X1226", "time", "set", "2027-03-04 17:06:07", "--12h"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const Bytes write{0x55, 0x00, 0x0D, 0x01, 0x6F, 0x00, 0x30, 0x08, 0x07,
                    0x06, 0x25, 0x04, 0x03, 0x27, 0x04, 0x20, 0x8E};
  EXPECT_EQ(run.sent, (std::vector<Bytes>{kProbe, kWel, kRwel, write, kReadTime}));
  EXPECT_EQ(run.out, "2027-03-04 17:06:07 四 (12h)\n");

  run = bench.run({"--model", "X1226", "--json", "time", "set", "now", "--weekday", "5"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const auto shown = lastJson(run.out);
  EXPECT_EQ(shown["weekday"], 5);
  EXPECT_EQ(shown["time"].get<std::string>().substr(0, 16), "2026-12-08 01:02");
}

TEST(CliCommands, TimeSyncStartsTheChipsSecondWithThePcs) {
  CliBench bench(ChipModel::X1226);
  const auto run = bench.run({"--model", "X1226", "--json", "time", "sync"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto result = lastJson(run.out);
  EXPECT_LE(std::abs(result["offset_ms"].get<double>()), 10.0) << run.out;
  EXPECT_LE(result["uncertainty_ms"].get<double>(), 10.0) << run.out;
}

TEST(CliCommands, RegisterWritesAreUnlockedAndReadBack) {
  CliBench bench(ChipModel::X1226);
  auto run = bench.run({"--model", "X1226", "--json", "reg", "set", "INT.IM", "1"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const Bytes readInt{0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x11, 0x01, 0xDB};
  const Bytes writeInt{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x11, 0x01, 0x80, 0x5D};
  EXPECT_EQ(run.sent, (std::vector<Bytes>{kProbe, readInt, kWel, kRwel, writeInt, readInt}));
  EXPECT_EQ(lastJson(run.out)["bits"]["IM"], 1);

  run = bench.run({"--model", "X1226", "--json", "reg", "INT"});
  EXPECT_EQ(lastJson(run.out)["value"], 0x80);

  // ATR has six bits on the X1226: the two it lacks read back as 0.
  run = bench.run({"--model", "X1226", "reg", "set", "ATR", "0xFF"});
  EXPECT_EQ(run.exitCode, 4);
  EXPECT_NE(run.err.find("ATR read back 3F, written FF"), std::string::npos) << run.err;
}

TEST(CliCommands, AlarmSetEnablesOnlyTheGivenFields) {
  CliBench bench(ChipModel::X1208);
  auto run = bench.run({"--model", "X1208", "alarm", "set", "0", "--second", "30"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const Bytes write{0x55, 0x00, 0x0B, 0x01, 0x6F, 0xFF, 0x0C, 0x06,
                    0xB0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x91};
  ASSERT_GE(run.sent.size(), 4u);
  EXPECT_EQ(run.sent[run.sent.size() - 2], write);
  run = bench.run({"--model", "X1208", "--json", "alarm", "0"});
  EXPECT_EQ(run.out,
            "{\"alarm\":0,\"fields\":{\"date\":null,\"hour\":null,\"minute\":null,\"month\":null,"
            "\"second\":30,\"weekday\":null}}\n");
}

// The alarm's hour is matched in the clock's format: on a 12-hour clock, 12 AM … 11 PM.
TEST(CliCommands, AlarmHourFollowsTheClocksFormat) {
  const struct {
    bool twelveHour;
    const char* hour;
    std::uint8_t matchByte;  // alarm 0's hour register of an X1226
  } rows[] = {{false, "17", 0x97}, {true, "0", 0x92}, {true, "12", 0xB2}, {true, "17", 0xA5}};
  for (const auto& row : rows) {
    CliBench bench(ChipModel::X1226);
    std::vector<std::string> setTime{"--model", "X1226", "time", "set", "2026-12-08 10:00:00"};
    if (row.twelveHour) setTime.push_back("--12h");
    ASSERT_EQ(bench.run(setTime).exitCode, 0);
    auto run = bench.run({"--model", "X1226", "--json", "alarm", "set", "0", "--hour", row.hour});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(bench.board.board().chip().peekRegister(0x02), row.matchByte) << row.hour;
    run = bench.run({"--model", "X1226", "--json", "alarm", "0"});
    EXPECT_EQ(lastJson(run.out)["fields"]["hour"], std::stoi(row.hour)) << run.out;
  }
}

TEST(CliCommands, EepromWritesInPagesVerifiesAndDumps) {
  CliBench bench(ChipModel::X1226);
  std::string bytes;
  for (int i = 1; i <= 67; ++i) bytes += hexNumber(static_cast<std::uint32_t>(i), 2);
  auto run = bench.run({"--model", "X1226", "--json", "eeprom", "write", "3e", bytes});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  // Each piece within one 64-byte page and at most 28 data bytes, each unlocked.
  std::vector<std::pair<int, int>> pieces;
  for (const Bytes& f : run.sent)
    if (f.size() > 8 && f[3] == 0x01 && f[4] == 0x57) pieces.emplace_back(f[5] << 8 | f[6], f[7]);
  EXPECT_EQ(pieces, (std::vector<std::pair<int, int>>{
                        {0x3E, 2}, {0x40, 28}, {0x5C, 28}, {0x78, 8}, {0x80, 1}}));
  EXPECT_EQ(lastJson(run.out)["verified"], true);

  run = bench.run({"--model", "X1226", "eeprom", "read", "0x3c", "6", "-o", "dump.txt"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const std::string& dump = bench.files.files["dump.txt"];
  EXPECT_NE(dump.find("\n0030: " + std::string(36, ' ') + "FF FF 01 02 "), std::string::npos)
      << dump;
  EXPECT_NE(dump.find("\n0040: 03 04 "), std::string::npos) << dump;

  bench.files.readOnly = true;
  run = bench.run({"--model", "X1226", "eeprom", "read", "0", "-o", "dump.txt"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("Read-only file system"), std::string::npos);
}

TEST(CliCommands, UserRegistersAreWrittenAndReadBack) {
  CliBench bench(ChipModel::X1209);
  const auto run = bench.run({"--model", "X1209", "--json", "user", "set", "12", "34"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.sent[1], (Bytes{0x55, 0x00, 0x07, 0x01, 0x6F, 0xFF, 0x12, 0x02, 0x12, 0x34, 0x25}));
  EXPECT_EQ(run.out, "{\"user\":[18,52]}\n");
}

TEST(CliCommands, WatchPrintsTheFlagsAsTheAlarmFiresAndStopsWhenInterrupted) {
  CliBench bench(ChipModel::X1226);
  ASSERT_EQ(bench.run({"--model", "X1226", "alarm", "set", "0", "--second", "5", "--minute", "2"})
                .exitCode,
            0);
  auto run = bench.run({"--model", "X1226", "--json", "watch", "--count", "1"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const auto first = nlohmann::json::parse(run.out.substr(0, run.out.find('\n')));
  EXPECT_EQ(first["alarm0"], 0);
  const auto fired = lastJson(run.out);
  EXPECT_EQ(fired["alarm0"], 1);
  EXPECT_EQ(fired["time"].get<std::string>().substr(11), "01:02:05");

  bench.interruptAtMs = 1000;
  run = bench.run({"--model", "X1226", "watch"});
  EXPECT_EQ(run.exitCode, 130);
}

TEST(CliCommands, SilenceAndRefusalsEndWithTheirOwnStatus) {
  CliBench bench(ChipModel::X1226);
  bench.board.board().faults().set(sim::ReplyFault::Stall);
  auto run = bench.run({"--model", "X1226", "time"});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_NE(run.err.find("no reply"), std::string::npos);
  bench.board.board().faults().set(sim::ReplyFault::None);

  // The EEPROM dialog's byte goes out without unlock steps, and the chip will not take it.
  cli::Output out(std::cout, std::cerr, false);
  std::ostringstream said;
  cli::Output output(said, said, false);
  cli::Session session({bench.board, bench.clock, bench.clock, bench.pc, bench.pump, bench.files},
                       findDeviceModel("X1226")->profile, Millis(1000), output);
  ASSERT_EQ(session.connect(1), 0);
  const std::uint8_t byte = 0x35;
  EXPECT_EQ(session.transact(requests::writeEeprom(1, {&byte, 1})), 1);
  EXPECT_NE(said.str().find("评估板写器件错"), std::string::npos) << said.str();
}

}  // namespace
}  // namespace rtceval
