#include "docs_help/about_dialog.h"

#include "board_link/board_link.h"
#include "core/value_codecs.h"
#include "dialogs/dialog_context.h"
#include "platform/desktop.h"
#include "platform/message_boxes.h"
#include "platform/serial_devices.h"
#include "platform/serial_port.h"

namespace rtceval {
namespace {

std::string orUnknown(const std::string& text) {
  return text.empty() ? "-" : text;
}

}  // namespace

AboutDialog::AboutDialog(DialogContext& context)
    : link_(context.link),
      desktop_(context.desktop),
      messageBoxes_(context.messageBoxes),
      close_(context.close) {}

void AboutDialog::okClicked() {
  close_();
}

void AboutDialog::sysInfoClicked() {
  startSysInfo();
}

void AboutDialog::startSysInfo() {
  const std::optional<SystemFacts> facts = desktop_.systemFacts();
  if (!facts) {
    messageBoxes_.message(Texts::kUnavailable);
    return;
  }
  // Each port with what the system says of its device, as listed with the facts above.
  const SerialDeviceSnapshot listed(desktop_);
  systemInformation_ = systemInformationText(
      *facts, [&](int portNo) { return describeSerialDevice(link_.deviceName(portNo), listed); },
      link_.PortNo(), link_.isPortOpen());
  ++systemInformationRequests_;
  systemInformationOpen_ = true;
}

void AboutDialog::sysInfoCopyClicked() {
  if (systemInformationOpen_) desktop_.copyToClipboard(systemInformation_);
}

void AboutDialog::sysInfoCloseClicked() {
  systemInformationOpen_ = false;
}

std::string systemInformationText(const SystemFacts& facts,
                                  const std::function<std::string(int portNo)>& deviceOf,
                                  int portInUse, bool portOpen) {
  std::string text;
  const auto line = [&text](const std::string& s) { text += s + "\n"; };
  line("操作系统: " + facts.operatingSystem);
  line("Qt版本: " + facts.toolkitVersion);
  line("");
  line("串口设备:");
  if (facts.serialDevices.empty()) line("  (无)");
  for (const SerialDeviceFacts& d : facts.serialDevices) {
    std::string usb = "-";
    if (d.vendorId && d.productId)
      usb = hexNumber(*d.vendorId, 4) + ":" + hexNumber(*d.productId, 4);
    line("  " + d.device + "  描述: " + orUnknown(d.description) +
         "  制造商: " + orUnknown(d.manufacturer) + "  USB VID:PID: " + usb +
         "  序列号: " + orUnknown(d.serialNumber));
  }
  line("");
  line("串口对应:");
  for (int n = kFirstPort; n <= kLastPort; ++n)
    line("  串口" + std::to_string(n) + " = " + orUnknown(deviceOf(n)));
  const bool inRange = portInUse >= kFirstPort && portInUse <= kLastPort;
  line("当前串口: " + (inRange ? "串口" + std::to_string(portInUse) : std::string("-")) +
       (portOpen ? " (已打开)" : " (未打开)"));
  line(std::string("可打开串口设备: ") +
       (facts.maySerial ? "是" : "否 (请把用户加入dialout组: sudo usermod -aG dialout $USER)"));
  return text;
}

}  // namespace rtceval
