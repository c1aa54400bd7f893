// What the port dialog and the system information say of the device behind each port number.

#include <gtest/gtest.h>

#include "connection/connect_dialog.h"
#include "platform/serial_devices.h"
#include "window_bench.h"

namespace rtceval::testing {
namespace {

struct Described : ::testing::Test {
  FakeDesktop desktop;
  void SetUp() override {
    desktop.devices = {{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", 0x0403, 0x6001, "A9K1"},
                       {"/dev/ttyACM0", "", "Arduino", 0x2341, std::nullopt, ""},
                       {"/dev/ttyS0", "", "", std::nullopt, std::nullopt, ""}};
    desktop.links = {{"/dev/serial/by-id/usb-FTDI-if00", "/dev/ttyUSB0"},
                     {"/dev/serial/by-id/usb-gone-if00", "/dev/ttyUSB9"},
                     {"/tmp/board", "/dev/pts/4"}};
    desktop.unlisted = {"/dev/pts/4"};
  }
  std::string describe(const std::string& device) { return describeSerialDevice(device, desktop); }
};

TEST_F(Described, ListedDevicesLinksAndDevicesTheSystemDoesNotKnow) {
  EXPECT_EQ(describe("/dev/ttyUSB0"),
            "/dev/ttyUSB0 (FT232R USB UART, FTDI, VID:PID 0403:6001, 序列号 A9K1)");
  EXPECT_EQ(describe("/dev/serial/by-id/usb-FTDI-if00"),
            "/dev/serial/by-id/usb-FTDI-if00 -> /dev/ttyUSB0 (FT232R USB UART, FTDI, VID:PID "
            "0403:6001, 序列号 A9K1)");
  // Half the USB ids are no ids; what is known is still shown.
  EXPECT_EQ(describe("/dev/ttyACM0"), "/dev/ttyACM0 (Arduino)");
  EXPECT_EQ(describe("/dev/ttyS0"), "/dev/ttyS0");
  EXPECT_EQ(describe("/tmp/board"), "/tmp/board -> /dev/pts/4");
  // A link whose adapter is out points nowhere: only its name is shown.
  EXPECT_EQ(describe("/dev/serial/by-id/usb-gone-if00"), "/dev/serial/by-id/usb-gone-if00");
  EXPECT_EQ(describe(""), "");
}

TEST(PortDialogFacts, EachPortShowsItsDeviceAsTheDialogLoads) {
  WindowBench b;
  b.port.assignDevice(2, "/dev/serial/by-id/usb-FTDI-if00");
  b.desktop.devices = {{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", 0x0403, 0x6001, "A9K1"}};
  b.desktop.links = {{"/dev/serial/by-id/usb-FTDI-if00", "/dev/ttyUSB0"}};
  b.loadConnected();
  b.window.menuClick("CONNECT");
  const auto* dialog = b.window.dialogHost().current<ConnectDialog>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->portFacts(1), "/dev/fake1");
  EXPECT_EQ(dialog->portFacts(2),
            "/dev/serial/by-id/usb-FTDI-if00 -> /dev/ttyUSB0 (FT232R USB UART, FTDI, VID:PID "
            "0403:6001, 序列号 A9K1)");
  EXPECT_EQ(dialog->portFacts(0), "");
  EXPECT_EQ(dialog->portFacts(5), "");
}

}  // namespace
}  // namespace rtceval::testing
