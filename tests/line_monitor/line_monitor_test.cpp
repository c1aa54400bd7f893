// The line monitor on the fake port: what it records from the link, its stamps, pause and clear,
// the ring's bound, and the lines as text, CSV and a file saved through the desktop's files.

#include "line_monitor/line_monitor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "line_monitor/line_export.h"
#include "line_monitor/line_monitor_dialogs.h"
#include "window_bench.h"

namespace rtceval::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const Bytes kTimeReply{0x55, 0x80, 0x08, 0x03, 0x02, 0x81, 0x08, 0x12, 0x26, 0x02, 0x20, 0xC5};

struct Monitor : ::testing::Test {
  WindowBench b;
  void SetUp() override {
    b.loadConnectedWith(MenuId::X1226);
    b.pc.instant = {5000, 3600 * 1000};  // the window opens at 01:00:00.000
    b.window.menuClick("LINEMONITOR");
  }
  LineMonitor& monitor() {
    return *b.window.toolHost(tool_window::kLineMonitor)->current<LineMonitor>();
  }
  const MonitorLine& line(std::size_t i) { return monitor().lines()[i]; }
  void readTime() { b.window.menuClick(MenuId::READTIME); }
  std::string meanings() {
    std::string all;
    for (std::size_t i = 0; i < monitor().lines().size(); ++i) all += line(i).meaning + "\n";
    return all;
  }
};

TEST_F(Monitor, RecordsEachFrameStampedSinceOpeningAndByTheClockOfThePc) {
  readTime();
  b.pc.instant = {5123, 3600 * 1000 + 123};
  b.port.receive({kTimeReply.begin(), kTimeReply.begin() + 5});
  b.port.receive({kTimeReply.begin() + 5, kTimeReply.end()});
  ASSERT_EQ(monitor().lines().size(), 2u);
  EXPECT_EQ(columnText(line(0), 0), "0");
  EXPECT_EQ(columnText(line(0), 2), "发送");
  EXPECT_EQ(columnText(line(0), 3), "55 00 05 00 6F 00 30 08 01");
  EXPECT_EQ(line(0).meaning, "读 CCR 时间 地址30 8字节");
  EXPECT_EQ(columnText(line(1), 0), "123");
  EXPECT_EQ(columnText(line(1), 1), "01:00:00.123");
  EXPECT_EQ(columnText(line(1), 2), "接收");
  EXPECT_EQ(line(1).meaning, "2026年12月08日 星期二 01:02:03");
  EXPECT_EQ(monitor().statusText(), "共2行");
}

TEST_F(Monitor, PausedItRecordsNothingYetReadsTheReplyAfterItUnderTheRequestSentMeanwhile) {
  monitor().pauseClicked();
  EXPECT_TRUE(monitor().paused());
  EXPECT_STREQ(monitor().pauseCaption(), "继续");
  readTime();
  EXPECT_EQ(monitor().statusText(), "共0行，已暂停，未记录1帧");
  monitor().pauseClicked();
  b.port.receive(kTimeReply);
  ASSERT_EQ(monitor().lines().size(), 1u);
  EXPECT_EQ(line(0).meaning, "2026年12月08日 星期二 01:02:03");
  EXPECT_EQ(monitor().statusText(), "共1行");
}

TEST_F(Monitor, ClearEmptiesTheListAndLaterFramesStartItAgain) {
  readTime();
  b.port.receive(kTimeReply);
  monitor().clearClicked();
  EXPECT_EQ(monitor().lines().size(), 0u);
  EXPECT_EQ(monitor().statusText(), "共0行");
  readTime();
  ASSERT_EQ(monitor().lines().size(), 1u);
  EXPECT_EQ(line(0).meaning, "读 CCR 时间 地址30 8字节");
}

TEST_F(Monitor, ShowsTheSetTimeSequenceAndTheStrayBytesOfATimeOut) {
  b.window.commands().CmdWriteTime();
  b.port.receive(kAck);
  readTime();
  b.port.receive({0x55, 0x80, 0x08});
  b.clock.advance(2000ms);
  EXPECT_THAT(meanings(), HasSubstr("写 CCR 时间 地址30 8字节："));
  EXPECT_THAT(meanings(),
              HasSubstr("状态00：成功\n读 CCR 时间 地址30 8字节\n未成帧的字节（3个）\n"));
}

TEST_F(Monitor, ClosedItStopsListening) {
  b.window.toolHost(tool_window::kLineMonitor)->close();
  b.window.toolHost(tool_window::kLineMonitor)->freeClosed();
  // The monitor is gone: a frame must not reach it.
  readTime();
  b.port.receive(kTimeReply);
  EXPECT_EQ(b.window.controls().timeLabel.caption, "01:02:03");
}

TEST_F(Monitor, KeepsTheLatestHundredThousandLines) {
  const Bytes probe{0x55, 0x00, 0x00, 0x55};
  for (std::size_t i = 0; i < LineMonitor::kCapacity + 3; ++i) {
    b.pc.instant.steadyMs = 5000 + static_cast<std::int64_t>(i);
    monitor().record({LineFrame::Kind::Sent, probe});
  }
  EXPECT_EQ(monitor().lines().size(), 100000u);
  EXPECT_EQ(columnText(line(0), 0), "3");
  EXPECT_EQ(columnText(line(99999), 0), "100002");
  EXPECT_EQ(monitor().statusText(), "共100000行，较早的3行已移出");
}

TEST(LineRingOrder, WrapsOldestFirstAndReusesItsSlotsAfterAClear) {
  LineRing ring(3);
  const auto push = [&](std::int64_t n) { ring.append().sinceOpenMs = n; };
  const auto contents = [&] {
    std::vector<std::int64_t> v;
    for (std::size_t i = 0; i < ring.size(); ++i) v.push_back(ring[i].sinceOpenMs);
    return v;
  };
  push(1);
  push(2);
  EXPECT_THAT(contents(), ElementsAre(1, 2));
  push(3);
  push(4);
  push(5);
  EXPECT_THAT(contents(), ElementsAre(3, 4, 5));
  ring.clear();
  push(6);
  EXPECT_THAT(contents(), ElementsAre(6));
  push(7);
  push(8);
  push(9);
  EXPECT_THAT(contents(), ElementsAre(7, 8, 9));
  EXPECT_EQ(ring.appended(), 9u);
}

MonitorLine lineOf(std::int64_t ms, bool out, Bytes bytes, std::string meaning) {
  return {ms, 45296789, out, std::string(bytes.begin(), bytes.end()), std::move(meaning)};
}

TEST(LineExport, WritesTextTabSeparatedAndCsvQuotedWithAHeader) {
  LineRing ring(4);
  ring.append() = lineOf(7, true, {0x55, 0x00, 0x00, 0x55}, "探测评估板");
  ring.append() = lineOf(12, false, {0x0A}, "含,逗号与\"引号\"");
  const std::size_t both[] = {0, 1};
  EXPECT_EQ(exportLines(ring, both, ExportFormat::Text),
            "7\t12:34:56.789\t发送\t55 00 00 55\t探测评估板\n"
            "12\t12:34:56.789\t接收\t0A\t含,逗号与\"引号\"\n");
  const std::size_t second[] = {1, 9};  // a row no longer kept is left out
  EXPECT_EQ(exportLines(ring, second, ExportFormat::Csv),
            "\xEF\xBB\xBF毫秒,时间,方向,字节,含义\r\n"
            "12,12:34:56.789,接收,0A,\"含,逗号与\"\"引号\"\"\"\r\n");
  EXPECT_EQ(wallClockText(0), "00:00:00.000");
  EXPECT_EQ(wallClockText(86399999), "23:59:59.999");
  EXPECT_EQ(formatForPath("/tmp/a.CSV"), ExportFormat::Csv);
  EXPECT_EQ(formatForPath("/tmp/a.csv.txt"), ExportFormat::Text);
  EXPECT_EQ(formatForPath("csv"), ExportFormat::Text);
}

TEST_F(Monitor, SavesAsCsvOrTextAndReportsAFileItCannotWrite) {
  readTime();
  b.port.receive(kTimeReply);
  ASSERT_TRUE(monitor().saveTo("/home/user/line.csv"));
  EXPECT_EQ(b.desktop.files["/home/user/line.csv"],
            "\xEF\xBB\xBF毫秒,时间,方向,字节,含义\r\n"
            "0,01:00:00.000,发送,55 00 05 00 6F 00 30 08 01,读 CCR 时间 地址30 8字节\r\n"
            "0,01:00:00.000,接收,55 80 08 03 02 81 08 12 26 02 20 C5,2026年12月08日 星期二 "
            "01:02:03\r\n");
  ASSERT_TRUE(monitor().saveTo("/home/user/line.txt"));
  EXPECT_THAT(b.desktop.files["/home/user/line.txt"], HasSubstr("\t接收\t55 80 08"));
  EXPECT_TRUE(b.messageBoxes.shown.empty());

  // The disk fills up: the box says so with the system's reason.
  b.desktop.spaceLeft = 16;
  EXPECT_FALSE(monitor().saveTo("/home/user/line.csv"));
  ASSERT_EQ(b.messageBoxes.shown.size(), 1u);
  EXPECT_EQ(b.messageBoxes.shown[0].text,
            "无法保存文件 /home/user/line.csv：No space left on device");
  EXPECT_EQ(monitor().lines().size(), 2u);
}

}  // namespace
}  // namespace rtceval::testing
