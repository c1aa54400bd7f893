// Several ports behind one: only the port in use may tell that its device went, a switch lets go
// of the old port only once the new one is open, and a device is given to the port that serves the
// number.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_serial_port.h"
#include "platform/port_mux.h"

namespace rtceval::testing {
namespace {

struct TwoPorts : ::testing::Test {
  FakeSerialPort system;
  FakeSerialPort board;
  PortMux mux{system};
  int lost = 0;
  void SetUp() override {
    mux.route(1, board);
    mux.setLostHandler([this] { ++lost; });
  }
};

TEST_F(TwoPorts, OnlyThePortInUseTellsThatItsDeviceWent) {
  ASSERT_TRUE(mux.open(2));
  board.unplug();  // not in use: nobody is told
  EXPECT_EQ(lost, 0);
  EXPECT_TRUE(mux.isOpen());

  system.unplug();
  EXPECT_EQ(lost, 1);
  EXPECT_FALSE(mux.isOpen());
  const std::uint8_t probe[] = {0x55, 0x00, 0x00, 0x55};
  EXPECT_FALSE(mux.write(probe));
  mux.close();  // closing what is gone changes nothing
  EXPECT_EQ(system.closeCount, 0);
}

// A switch opens the new port before it lets go of the old one, whichever ports serve the two
// numbers; a switch that fails leaves the old one open and in use.
TEST_F(TwoPorts, ASwitchLetsGoOfTheOldPortOnlyOnceTheNewOneIsOpen) {
  struct Row {
    int from;
    int to;
    bool opens;
    std::vector<std::string> boardLog;
    std::vector<std::string> systemLog;
  };
  const Row rows[] = {
      {2, 1, false, {"open 1 failed"}, {}}, {2, 1, true, {"open 1"}, {"close 2"}},
      {1, 2, false, {}, {"open 2 failed"}}, {1, 2, true, {"close 1"}, {"open 2"}},
      {2, 3, false, {}, {"open 3 failed"}}, {2, 3, true, {}, {"open 3", "close 2"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.from) + " to " + std::to_string(row.to));
    const auto serving = [&](int portNo) -> FakeSerialPort& {
      return portNo == 1 ? board : system;
    };
    board.openable.clear();
    system.openable.clear();
    serving(row.from).openable.insert(row.from);
    ASSERT_TRUE(mux.open(row.from));
    if (row.opens) serving(row.to).openable.insert(row.to);
    board.lineLog.clear();
    system.lineLog.clear();
    EXPECT_EQ(mux.switchTo(row.to), row.opens);
    EXPECT_EQ(board.lineLog, row.boardLog);
    EXPECT_EQ(system.lineLog, row.systemLog);
    // The port in use is the one the bytes go to.
    board.writes.clear();
    system.writes.clear();
    const std::uint8_t probe[] = {0x55, 0x00, 0x00, 0x55};
    EXPECT_TRUE(mux.write(probe));
    const int inUse = row.opens ? row.to : row.from;
    EXPECT_EQ(board.writes.size(), inUse == 1 ? 1u : 0u);
    EXPECT_EQ(system.writes.size(), inUse == 1 ? 0u : 1u);
    mux.close();
  }
}

TEST_F(TwoPorts, ADeviceIsGivenToThePortThatServesTheNumber) {
  EXPECT_TRUE(mux.assignDevice(3, "/dev/ttyUSB1"));
  EXPECT_EQ(mux.deviceName(3), "/dev/ttyUSB1");
  EXPECT_EQ(system.assigned.at(3), "/dev/ttyUSB1");
  EXPECT_TRUE(board.assigned.empty());
}

}  // namespace
}  // namespace rtceval::testing
