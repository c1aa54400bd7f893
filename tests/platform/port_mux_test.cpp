// Several ports behind one: only the port in use may tell that its device went, and a device is
// given to the port that serves the number.

#include <gtest/gtest.h>

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

TEST_F(TwoPorts, ADeviceIsGivenToThePortThatServesTheNumber) {
  EXPECT_TRUE(mux.assignDevice(3, "/dev/ttyUSB1"));
  EXPECT_EQ(mux.deviceName(3), "/dev/ttyUSB1");
  EXPECT_EQ(system.assigned.at(3), "/dev/ttyUSB1");
  EXPECT_TRUE(board.assigned.empty());
}

}  // namespace
}  // namespace rtceval::testing
