#include <gtest/gtest.h>

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

}  // namespace
}  // namespace rtceval::sim
