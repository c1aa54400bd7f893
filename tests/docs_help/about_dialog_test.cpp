// The About box: its description, closing, and the system information window with its copy and
// close.
#include <gtest/gtest.h>

#include <string>

#include "core/device_profile.h"
#include "docs_help/about_dialog.h"
#include "window_bench.h"

namespace rtceval {
namespace {

using testing::WindowBench;

TEST(AboutBoxTexts, TheDescriptionNamesEveryChipTheDeviceMenuOffers) {
  const std::string description = AboutDialog::Texts::kDescription;
  for (const DeviceModel& model : deviceModels())
    EXPECT_NE(description.find(model.name), std::string::npos) << model.name;
}

struct AboutBox : ::testing::Test {
  void SetUp() override {
    bench.loadConnected();
    bench.window.menuClick("MABOUT");
  }
  template <class Handler>
  void send(Handler handler) {
    bench.window.dialogHost().send<AboutDialog>(handler);
  }
  const AboutDialog* about() { return bench.window.dialogHost().current<AboutDialog>(); }

  WindowBench bench;
};

TEST_F(AboutBox, OkCloses) {
  ASSERT_NE(about(), nullptr);
  send([](AboutDialog& d) { d.okClicked(); });
  EXPECT_EQ(about(), nullptr);
}

TEST_F(AboutBox, UnavailableFactsGiveTheMessageAndTheBoxStaysOpen) {
  send([](AboutDialog& d) { d.sysInfoClicked(); });
  EXPECT_EQ(bench.shownTexts(),
            std::vector<std::string>{"System Information Is Unavailable At This Time"});
  ASSERT_NE(about(), nullptr);
  EXPECT_EQ(about()->systemInformationRequests(), 0);
}

TEST_F(AboutBox, SystemInformationNamesDevicesPortsAndTheRightToOpenThem) {
  SystemFacts facts;
  facts.operatingSystem = "Debian GNU/Linux 12";
  facts.toolkitVersion = "6.4.2";
  facts.serialDevices.push_back(
      {"/dev/ttyUSB0", "FT232R USB UART", "FTDI", 0x0403, 0x6001, "A9K1"});
  facts.serialDevices.push_back({"/dev/ttyS0", "", "", std::nullopt, std::nullopt, ""});
  facts.maySerial = false;
  bench.desktop.facts = facts;

  send([](AboutDialog& d) { d.sysInfoClicked(); });
  ASSERT_NE(about(), nullptr);
  const std::string& text = about()->systemInformation();
  EXPECT_EQ(about()->systemInformationRequests(), 1);
  for (const char* part :
       {"Debian GNU/Linux 12", "6.4.2",
        "/dev/ttyUSB0  描述: FT232R USB UART  制造商: FTDI  USB VID:PID: 0403:6001  序列号: A9K1",
        "/dev/ttyS0  描述: -  制造商: -  USB VID:PID: -  序列号: -", "串口1 = /dev/fake1",
        "串口4 = /dev/fake4", "当前串口: 串口1 (已打开)", "可打开串口设备: 否"})
    EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
  EXPECT_TRUE(bench.messageBoxes.shown.empty());
}

TEST_F(AboutBox, SystemInformationIsCopiedWholeUntilItsWindowIsClosed) {
  bench.desktop.facts = SystemFacts{};
  send([](AboutDialog& d) { d.sysInfoClicked(); });
  ASSERT_TRUE(about()->systemInformationOpen());
  send([](AboutDialog& d) { d.sysInfoCopyClicked(); });
  EXPECT_EQ(bench.desktop.clipboard, about()->systemInformation());
  EXPECT_NE(bench.desktop.clipboard.find("串口4 = "), std::string::npos);

  send([](AboutDialog& d) { d.sysInfoCloseClicked(); });
  EXPECT_FALSE(about()->systemInformationOpen());
  bench.desktop.clipboard.clear();
  send([](AboutDialog& d) { d.sysInfoCopyClicked(); });
  EXPECT_EQ(bench.desktop.clipboard, "") << "a closed window copies nothing";

  send([](AboutDialog& d) { d.sysInfoClicked(); });
  EXPECT_TRUE(about()->systemInformationOpen()) << "asked for again, it opens again";
  EXPECT_EQ(about()->systemInformationRequests(), 2);
}

TEST_F(AboutBox, EachPortShowsItsDeviceWithWhatTheSystemSaysOfIt) {
  const std::string byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9K1-if00-port0";
  bench.port.assignDevice(1, byId);
  bench.desktop.links = {{byId, "/dev/ttyUSB0"}};
  bench.desktop.devices = {{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", 0x0403, 0x6001, "A9K1"},
                           {"/dev/fake3", "", "", std::nullopt, std::nullopt, ""}};
  bench.desktop.facts = SystemFacts{};
  bench.desktop.listings = 0;
  send([](AboutDialog& d) { d.sysInfoClicked(); });
  ASSERT_NE(about(), nullptr);
  const std::string& text = about()->systemInformation();
  for (const char* part :
       {"串口1 = /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9K1-if00-port0 -> /dev/ttyUSB0 "
        "(FT232R USB UART, FTDI, VID:PID 0403:6001, 序列号 A9K1)\n",
        "串口2 = /dev/fake2\n", "串口3 = /dev/fake3\n"})
    EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
  EXPECT_EQ(bench.desktop.listings, 1) << "the system is asked once for all four ports";
}

}  // namespace
}  // namespace rtceval
