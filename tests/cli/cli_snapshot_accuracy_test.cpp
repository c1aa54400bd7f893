// rtceval-cli's snapshot and accuracy commands against the in-process virtual board, on the
// virtual clock: the file round trip, the refusals before anything is sent, a restore stopped
// half-way, and a measured crystal error with its advice applied.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <nlohmann/json.hpp>
#include <regex>

#include "cli_harness.h"
#include "sim/board/fault_injector.h"
#include "sim/chip/register_addresses.h"

namespace rtceval {
namespace {

using sim::ChipModel;
using testing::CliBench;
using testing::lastJson;

// The snapshot file with one register's value replaced.
std::string withValue(const std::string& file, const std::string& name, const std::string& value) {
  const std::regex line("(\"name\": \"" + name + "\", \"address\": \"0x..\", \"value\": \")0x..");
  return std::regex_replace(file, line, "$01" + value);
}

TEST(CliSnapshot, SavesComparesRefusesAndRestores) {
  CliBench bench(ChipModel::X1226);
  struct Step {
    const char* what;
    std::function<void()> before;
    std::vector<std::string> args;
    int exitCode;
    std::string said;  // in the output or on standard error
    bool nothingSent;  // not even the probe
  };
  const std::vector<Step> steps{
      {"saved", {}, {"snapshot", "save", "a.json"}, 0, "\"eeprom_bytes\":512", false},
      {"the chip as saved", {}, {"snapshot", "compare", "a.json"}, 0, "\"same\":true", false},
      {"a register changed",
       [&] {
         ASSERT_EQ(bench.run({"--model", "X1226", "reg", "set", "INT", "80"}).exitCode, 0);
       },
       {"snapshot", "compare", "a.json"},
       4,
       "{\"address\":17,\"bits\":[\"IM\"],\"chip\":128,\"file\":0,\"name\":\"INT\"}",
       false},
      {"restored and verified, a reply lost on the way tried again",
       [&] {
         const std::int64_t lostFrom = bench.clock.now() + 300;
         bench.pump.onTick = [&bench, lostFrom](std::int64_t now) {
           const bool lost = now >= lostFrom && now < lostFrom + 100;
           bench.board.board().faults().set(lost ? sim::ReplyFault::Stall : sim::ReplyFault::None);
           return false;
         };
       },
       {"snapshot", "restore", "a.json"},
       0,
       "\"verified\":true",
       false},
      {"equal again", {}, {"snapshot", "compare", "a.json"}, 0, "\"same\":true", false},
      {"a clock value the chip cannot hold",
       [&] { bench.files.files["b.json"] = withValue(bench.files.files["a.json"], "SC", "0x61"); },
       {"snapshot", "restore", "b.json", "--with-clock"},
       2,
       "SC 的值 0x61 不是 00–59 之内的 BCD 数，没有向芯片写入任何内容",
       true},
      {"a snapshot of another model",
       [&] { bench.files.files["c.json"] = bench.files.files["a.json"]; },
       {"--model", "X1205", "snapshot", "compare", "c.json"},
       2,
       "快照是 X1226 的，当前选择的器件是 X1205",
       true},
      {"no such file", {}, {"snapshot", "restore", "none.json"}, 2, "无法读取文件 none.json", true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    if (step.before) step.before();
    std::vector<std::string> args = {"--json"};
    if (step.args.front() != "--model") args.insert(args.end(), {"--model", "X1226"});
    args.insert(args.end(), step.args.begin(), step.args.end());
    const auto run = bench.run(args);
    EXPECT_EQ(run.exitCode, step.exitCode) << run.err;
    EXPECT_NE((run.out + run.err).find(step.said), std::string::npos) << run.out << run.err;
    if (step.nothingSent) {
      EXPECT_TRUE(run.sent.empty());
    }
  }
}

TEST(CliSnapshot, SaveReadsTheEepromInPagesAndARestoreStoppedHalfWaySaysWhereItIs) {
  CliBench bench(ChipModel::X1226);
  auto run = bench.run({"--model", "X1226", "snapshot", "save", "a.json"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // The probe, the clock, two alarms, SR, the control block, then 512 bytes in eight pages.
  EXPECT_EQ(run.sent.size(), 1u + 5u + 8u);

  // Block protection on: the restore lifts it for the EEPROM, and once stopped puts it back with
  // the write enables as they were.
  ASSERT_EQ(bench.run({"--model", "X1226", "reg", "set", "BL", "60"}).exitCode, 0);
  const auto& chip = bench.board.board().chip();
  const std::uint8_t blBefore = chip.peekRegister(sim::layout_a::kBL);
  const std::uint8_t srBefore = chip.peekRegister(sim::layout_a::kSR);
  ASSERT_EQ(blBefore, 0x60);
  bench.interruptAtMs = 600;
  run = bench.run({"--model", "X1226", "--json", "snapshot", "restore", "a.json"});
  EXPECT_EQ(run.exitCode, 130);
  EXPECT_NE(run.err.find("块保护和写使能已设回恢复之前的状态"), std::string::npos) << run.err;
  EXPECT_EQ(chip.peekRegister(sim::layout_a::kBL), blBefore);
  EXPECT_EQ(chip.peekRegister(sim::layout_a::kSR), srBefore);
  EXPECT_NE(run.err.find("恢复已取消，芯片只写入了一部分：已完成 "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("块保护已解除；写使能仍打开；EEPROM 已改写 0x0000–"), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("再次运行 snapshot restore 即可完成恢复"), std::string::npos) << run.err;
  const auto left = lastJson(run.out);
  EXPECT_GT(left["eeprom_written"].get<int>(), 0);
  EXPECT_LT(left["eeprom_written"].get<int>(), 512);
  EXPECT_EQ(left["registers_written"], nlohmann::json::array());
  EXPECT_EQ(left["relocked"], true);

  // The board falls silent half-way: no reply (3), and the same account of the chip.
  bench.interruptAtMs.reset();
  const std::int64_t silentAt = bench.clock.now() + 600;
  bench.pump.onTick = [&](std::int64_t now) {
    if (now >= silentAt) bench.board.board().faults().set(sim::ReplyFault::Stall);
    return false;
  };
  run = bench.run({"--model", "X1226", "snapshot", "restore", "a.json"});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_NE(run.err.find("恢复中断，芯片只写入了一部分："), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(
                " 没有得到应答。芯片现在的状态：块保护已解除；写使能仍打开；EEPROM 已改写 0x0000–"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("未能设回块保护和写使能：BL 没有得到应答"), std::string::npos) << run.err;
}

TEST(CliAccuracy, FindsTheCrystalErrorAdvisesAndAppliesTheTrimming) {
  CliBench bench(ChipModel::X1226);
  bench.board.board().chip().setCrystalPpm(37.0);
  auto run = bench.run(
      {"--model", "X1226", "--json", "accuracy", "--minutes", "20", "--csv", "a.csv", "--apply"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto result = lastJson(run.out);
  const double ppm = result["ppm"].get<double>();
  const double uncertainty = result["uncertainty_ppm"].get<double>();
  EXPECT_LT(uncertainty, 1.0);
  EXPECT_NEAR(ppm, 37.0, 3 * uncertainty + 0.1);
  ASSERT_TRUE(result["advice"].is_object()) << run.out;
  EXPECT_EQ(result["applied"], true);
  EXPECT_EQ(result["verified"], true);
  EXPECT_EQ(bench.files.files["a.csv"].rfind("pc_seconds,chip_seconds,offset_ms,bracket_ms\n", 0),
            0u);
  // The chip holds the advice.
  run = bench.run({"--model", "X1226", "--json", "reg", "ATR"});
  EXPECT_EQ(lastJson(run.out)["value"], result["advice"]["atr"]);

  // Two minutes support no advice: asked to apply it, nothing is written, and the status says so.
  run = bench.run({"--model", "X1226", "--json", "accuracy", "--minutes", "2", "--apply"});
  EXPECT_EQ(run.exitCode, 5) << run.err;
  EXPECT_EQ(lastJson(run.out)["applied"], false);
  for (const auto& frame : run.sent) EXPECT_NE(frame[3], 0x01) << "a write went out";

  // Stopped after a minute: what was measured so far, and the file.
  bench.interruptAtMs = 60'000;
  run = bench.run({"--model", "X1226", "--json", "accuracy", "--csv", "b.csv"});
  EXPECT_EQ(run.exitCode, 130);
  EXPECT_GE(lastJson(run.out)["samples"].get<int>(), 4);
  EXPECT_EQ(lastJson(run.out)["advice"], nullptr);
  EXPECT_NE(run.err.find("测量已停止"), std::string::npos) << run.err;
  EXPECT_GT(std::count(bench.files.files["b.csv"].begin(), bench.files.files["b.csv"].end(), '\n'),
            4);
}

TEST(CliAccuracy, ABoardGoneSilentIsSaidOnceAndForGoodEndsTheMeasurement) {
  CliBench bench(ChipModel::X1226);
  const auto count = [](const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  };
  struct Case {
    const char* what;
    std::int64_t silentForMs;
    int exitCode;
    std::size_t resumed;
  };
  for (const Case& c : {Case{"silent for 20 s", 20'000, 0, 1}, Case{"for good", 3'600'000, 3, 0}}) {
    SCOPED_TRACE(c.what);
    const std::int64_t from = bench.clock.now() + 60'000;
    bench.pump.onTick = [&bench, from, c](std::int64_t now) {
      const bool silent = now >= from && now < from + c.silentForMs;
      bench.board.board().faults().set(silent ? sim::ReplyFault::Stall : sim::ReplyFault::None);
      return false;
    };
    const auto run = bench.run({"--model", "X1226", "accuracy", "--minutes", "3"});
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_EQ(count(run.err, "评估板断开，测量暂停…"), 1u) << run.err;
    EXPECT_EQ(count(run.err, "评估板已重新连接，测量继续"), c.resumed) << run.err;
  }
}

}  // namespace
}  // namespace rtceval
