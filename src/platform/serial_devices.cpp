#include "platform/serial_devices.h"

#include <cstdio>

namespace rtceval {

std::string usbIdText(const SerialDeviceFacts& facts) {
  if (!facts.vendorId || !facts.productId) return {};
  char text[10];
  std::snprintf(text, sizeof text, "%04X:%04X", static_cast<unsigned>(*facts.vendorId),
                static_cast<unsigned>(*facts.productId));
  return text;
}

std::optional<SerialDeviceFacts> factsOfDevice(const std::string& path,
                                               const SerialDeviceLister& lister) {
  if (path.empty()) return std::nullopt;
  const std::string resolved = lister.resolveDevice(path);
  for (SerialDeviceFacts& facts : lister.serialDevices()) {
    if (facts.device == path || (!resolved.empty() && facts.device == resolved))
      return std::move(facts);
  }
  return std::nullopt;
}

std::string describeSerialDevice(const std::string& device, const SerialDeviceLister& lister) {
  if (device.empty()) return {};
  std::string text = device;
  const std::string resolved = lister.resolveDevice(device);
  if (!resolved.empty() && resolved != device) text += " -> " + resolved;
  const std::optional<SerialDeviceFacts> facts = factsOfDevice(device, lister);
  if (!facts) return text;
  std::string details;
  const auto add = [&details](const std::string& part) {
    if (part.empty()) return;
    if (!details.empty()) details += ", ";
    details += part;
  };
  add(facts->description);
  add(facts->manufacturer);
  if (const std::string ids = usbIdText(*facts); !ids.empty()) add("VID:PID " + ids);
  if (!facts->serialNumber.empty()) add("序列号 " + facts->serialNumber);
  if (!details.empty()) text += " (" + details + ")";
  return text;
}

}  // namespace rtceval
