#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rtceval {

// One serial device as the system lists it; empty texts and absent numbers are not known.
struct SerialDeviceFacts {
  std::string device;
  std::string description;
  std::string manufacturer;
  std::optional<std::uint16_t> vendorId;
  std::optional<std::uint16_t> productId;
  std::string serialNumber;
};

// The serial devices the system has now: for telling the user which device stands behind a port
// number, and for finding a USB adapter again after it was pulled out and plugged back, perhaps
// under another name.
class SerialDeviceLister {
 public:
  virtual ~SerialDeviceLister() = default;
  virtual std::vector<SerialDeviceFacts> serialDevices() const = 0;
  // The device file a path stands for, links followed (a /dev/serial/by-id/ name gives the
  // ttyUSB device it points at); "" when nothing is there now.
  virtual std::string resolveDevice(const std::string& path) const = 0;
};

// The devices of another lister as it listed them once: describing ports 1 to 4 asks the system
// once rather than four times. Paths are still resolved as they stand.
class SerialDeviceSnapshot : public SerialDeviceLister {
 public:
  explicit SerialDeviceSnapshot(const SerialDeviceLister& from)
      : from_(from), devices_(from.serialDevices()) {}
  std::vector<SerialDeviceFacts> serialDevices() const override { return devices_; }
  std::string resolveDevice(const std::string& path) const override {
    return from_.resolveDevice(path);
  }

 private:
  const SerialDeviceLister& from_;
  std::vector<SerialDeviceFacts> devices_;
};

// "VID:PID" in four hex digits each, "" when either is unknown.
std::string usbIdText(const SerialDeviceFacts& facts);

// What the user is shown about the device behind a port: its path, the device a link points at,
// and the system's description, maker, USB ids and serial number where it has them. "" for no
// device.
std::string describeSerialDevice(const std::string& device, const SerialDeviceLister& lister);

// The listed facts of the device `path` stands for, if the system lists it.
std::optional<SerialDeviceFacts> factsOfDevice(const std::string& path,
                                               const SerialDeviceLister& lister);

}  // namespace rtceval
