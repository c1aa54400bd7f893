#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/control_channel.h"

namespace rtceval::sim {
namespace {

class ControlChannel : public ::testing::Test {
 protected:
  explicit ControlChannel(ChipModel model = ChipModel::X1226)
      : board_(model, clockFieldsOf({2004, 5, 20, 9, 5, 30}), 0) {}
  std::string run(std::string_view line) { return runControlCommand(line, board_, now_); }

  VirtualBoard board_;
  std::int64_t now_ = 0;
};

TEST_F(ControlChannel, BatteryAndPowerFailChangeTheStatusRegister) {
  run("battery on");
  EXPECT_EQ(board_.chip().peekRegister(0x3F), 0x81);
  run("  battery   off\r");
  EXPECT_EQ(board_.chip().peekRegister(0x3F), 0x01);
  EXPECT_NE(run("battery").find("unknown"), std::string::npos);
  EXPECT_EQ(board_.chip().peekRegister(0x3F), 0x01);
}

TEST_F(ControlChannel, FaultsAreSwitchedAndBadFormsRefused) {
  run("fault split 4");
  EXPECT_EQ(board_.faults().fault(), ReplyFault::Split);
  EXPECT_EQ(board_.faults().shape({1, 2, 3, 4, 5}).size(), 2u);
  for (const char* bad : {"fault split 0", "fault split x", "fault split", "fault loud"}) {
    EXPECT_NE(run(bad).find("usage"), std::string::npos) << bad;
    EXPECT_EQ(board_.faults().fault(), ReplyFault::Split) << bad;
  }
  run("fault stall");
  EXPECT_EQ(board_.faults().fault(), ReplyFault::Stall);
  run("fault off");
  EXPECT_EQ(board_.faults().fault(), ReplyFault::None);
}

TEST_F(ControlChannel, DumpShowsTheClockAsItRunsNow) {
  now_ = 61'000;
  const std::string dump = run("dump");
  EXPECT_NE(dump.find("2004-05-20 09:06:31"), std::string::npos) << dump;
  EXPECT_NE(dump.find("30: 31 06 89 20 05 04 04 20 00 00 00 00 00 00 00 01"), std::string::npos)
      << dump;
  EXPECT_NE(run("help").find("powerfail"), std::string::npos);
}

TEST_F(ControlChannel, EventNeedsAnEventInput) {
  EXPECT_NE(run("event").find("no event input"), std::string::npos);
  VirtualBoard x1209(ChipModel::X1209, clockFieldsOf({2004, 5, 20, 9, 5, 30}), 0);
  runControlCommand("event", x1209, 0);
  EXPECT_EQ(x1209.chip().peekRegister(0x07), 0x09);
}

TEST_F(ControlChannel, ANulIsOneByteOfTheCommandAndTheAnswerShowsAllOfIt) {
  using namespace std::string_literals;
  const std::string answer = run("battery on\0 now"s);
  EXPECT_EQ(answer, "unknown command 'battery on\\x00 now'; try help\n");
  EXPECT_EQ(board_.chip().peekRegister(0x3F), 0x01) << "not cut short to 'battery on'";
  EXPECT_EQ(run("fault split 4\0"s).substr(0, 6), "usage:");
  EXPECT_EQ(board_.faults().fault(), ReplyFault::None);
}

class ControlChannelInput : public ControlChannel {
 protected:
  rtceval::sim::ControlChannel channel_{board_};
};

TEST_F(ControlChannelInput, LinesAreRunWhenTheirNewlineComesInAnySplit) {
  EXPECT_EQ(channel_.take("batt", 0), "");
  EXPECT_EQ(channel_.take("ery on\nfault st", 0), "running on the backup supply\n");
  EXPECT_EQ(board_.chip().peekRegister(0x3F), 0x81);
  EXPECT_EQ(channel_.take("all\nfault off\n\n", 0),
            "replies are held back\nreplies go out whole\n\n");
  EXPECT_EQ(channel_.heldBytes(), 0u);
}

TEST_F(ControlChannelInput, AnOverlongLineIsDiscardedWithOneMessageAndTheNextLineRuns) {
  const std::string chunk(4096, 'x');
  std::string answers;
  for (int i = 0; i < 1024; ++i) {  // 4 MiB without a newline
    answers += channel_.take(chunk, 0);
    ASSERT_LE(channel_.heldBytes(), 4096u);
  }
  EXPECT_EQ(answers, "line longer than 4096 bytes: discarded up to its end\n");
  EXPECT_EQ(channel_.take("still the same line\nbattery on\n", 0),
            "running on the backup supply\n");
  EXPECT_EQ(board_.chip().peekRegister(0x3F), 0x81);
}

TEST_F(ControlChannelInput, ALineOfTheLongestLengthIsStillRun) {
  const std::string longest = "battery on" + std::string(4096 - 10, ' ');
  EXPECT_EQ(channel_.take(longest + "\n", 0), "running on the backup supply\n");
  const std::string answer = channel_.take(longest + " \n", 0);
  EXPECT_EQ(answer.substr(0, 16), "line longer than");
  EXPECT_EQ(channel_.take("battery off\n", 0), "running on the main supply\n");
}

TEST_F(ControlChannelInput, TheProcessOwnCommandsGoFirstAndTheRestReachTheBoard) {
  std::vector<std::string> offered;
  channel_.setOwnCommands([&](std::string_view line) -> std::string {
    offered.emplace_back(line);
    return line == "unplug" ? "unplugged\n" : "";
  });
  EXPECT_EQ(channel_.take("unp", 0), "");
  EXPECT_EQ(channel_.take("lug\nbattery on\n", 0), "unplugged\nrunning on the backup supply\n");
  EXPECT_EQ(board_.chip().peekRegister(0x3F), 0x81);
  // A discarded line is offered to nobody.
  std::string overlong(5000, 'u');
  overlong.push_back('\n');
  channel_.take(overlong, 0);
  EXPECT_EQ(offered, (std::vector<std::string>{"unplug", "battery on"}));
}

}  // namespace
}  // namespace rtceval::sim
