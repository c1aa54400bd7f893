// The command line of rtceval-cli: every refused argument ends with exit status 2 and the
// windows' own message where a window checks the same field, before anything is sent.
#include <gtest/gtest.h>

#include "cli_harness.h"

namespace rtceval {
namespace {

using testing::CliBench;

struct Refusal {
  std::vector<std::string> args;
  std::string says;
};

TEST(CliOptions, RefusedArgumentsEndWithUsageAndSendNothing) {
  const Refusal rows[] = {
      {{"time"}, "--model is required"},
      {{"--model", "X9999", "time"}, "unknown model 'X9999'"},
      {{"--simulate", "X1226", "--port", "2", "time"}, "exclude each other"},
      {{"--model", "X1226", "--ppm", "3", "time"}, "--ppm needs --simulate"},
      {{"--model", "X1226", "--timeout", "5", "time"}, "--timeout"},
      {{"--model", "X1226"}, "subcommand"},
      {{"--model", "X1226", "frobnicate"}, "subcommand"},
      {{"--model", "X1226", "time", "set", "yesterday"}, "YYYY-MM-DD HH:MM:SS"},
      {{"--model", "X1226", "time", "set", "1899-12-31 00:00:00"}, "无效的年份"},
      {{"--model", "X1226", "time", "set", "2026-13-01 00:00:00"}, "无效的月份"},
      {{"--model", "X1226", "time", "set", "2026-01-00 00:00:00"}, "无效的日期"},
      {{"--model", "X1226", "time", "set", "2026-01-01 24:00:00"}, "无效的小时"},
      {{"--model", "X1226", "time", "set", "2026-01-01 00:60:00"}, "无效的分钟"},
      {{"--model", "X1226", "time", "set", "2026-01-01 00:00:60"}, "无效的秒"},
      {{"--model", "X1226", "time", "set", "now", "--weekday", "7"}, "无效的星期"},
      {{"--model", "X1226", "reg", "EV"}, "no register EV on the X1226"},
      {{"--model", "X1208", "reg", "BL"}, "no register BL on the X1208"},
      {{"--model", "X1226", "reg", "set", "SR", "0"}, "SR is written by the chip"},
      {{"--model", "X1226", "reg", "set", "INT.ALME", "1"}, "no bit INT.ALME"},
      {{"--model", "X1226", "reg", "set", "INT.IM", "2"}, "a bit is 0 or 1"},
      {{"--model", "X1226", "reg", "set", "ATR", "100"}, "无效的数据"},
      {{"--model", "X1208", "alarm", "1"}, "has no alarm 1"},
      {{"--model", "X1226", "alarm", "set", "0", "--minute", "60"}, "无效的分钟"},
      {{"--model", "X1226", "alarm", "set", "1", "--weekday", "7"}, "无效的星期"},
      {{"--model", "X1226", "eeprom", "read", "8000"}, "无效的地址"},
      {{"--model", "X1226", "eeprom", "read", "7FF0", "17"}, "无效的地址"},
      {{"--model", "X1208", "eeprom", "read", "0"}, "has no EEPROM"},
      {{"--model", "X1226", "eeprom", "write", "0", "0g"}, "无效的数据"},
      {{"--model", "X1226", "user"}, "has no user registers"},
      {{"--model", "X1209", "user", "set", "1", "100"}, "无效的数据"},
      {{"--model", "X1226", "watch", "--interval", "10"}, "--interval"},
      {{"--model", "X1226", "snapshot", "save"}, "file is required"},
      {{"--model", "X1226", "snapshot", "save", "a.json", "--with-clock"}, "--with-clock"},
      {{"--model", "X1226", "accuracy", "--minutes", "0"}, "--minutes"},
  };
  for (const Refusal& row : rows) {
    CliBench bench(sim::ChipModel::X1226);
    const auto run = bench.run(row.args);
    SCOPED_TRACE(row.args.back());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(row.says), std::string::npos) << run.err;
    EXPECT_TRUE(run.sent.empty());
  }
}

TEST(CliOptions, GlobalOptionsMayFollowTheCommandAndHelpEndsWithZero) {
  const auto parsed = cli::parseCli({"rtceval-cli", "time", "--json", "--model", "X1208"});
  ASSERT_TRUE(parsed.options);
  EXPECT_TRUE(parsed.options->json);
  EXPECT_STREQ(parsed.options->model->name, "X1208");
  EXPECT_EQ(cli::portNumber("4"), 4);
  EXPECT_EQ(cli::portNumber("/dev/ttyUSB1"), std::nullopt);

  const auto help = cli::parseCli({"rtceval-cli", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  for (const char* command :
       {"probe", "time", "reg", "alarm", "eeprom", "user", "snapshot", "accuracy", "watch"})
    EXPECT_NE(help.out.find(command), std::string::npos) << command;
}

}  // namespace
}  // namespace rtceval
