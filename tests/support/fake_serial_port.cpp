#include "fake_serial_port.h"

#include <algorithm>
#include <utility>

namespace rtceval::testing {

bool FakeSerialPort::tryOpen(int portNo) {
  openAttempts.push_back(portNo);
  const bool opens = openable.contains(portNo) || openableDevices.contains(deviceName(portNo));
  lineLog.push_back("open " + std::to_string(portNo) + (opens ? "" : " failed"));
  return opens;
}

bool FakeSerialPort::open(int portNo) {
  close();
  if (!tryOpen(portNo)) return false;
  openPort_ = portNo;
  return true;
}

bool FakeSerialPort::switchTo(int portNo) {
  if (openPort_ == portNo) return true;
  if (!tryOpen(portNo)) return false;
  close();
  openPort_ = portNo;
  return true;
}

void FakeSerialPort::close() {
  if (openPort_ != 0) {
    ++closeCount;
    lineLog.push_back("close " + std::to_string(openPort_));
  }
  openPort_ = 0;
}

bool FakeSerialPort::write(std::span<const std::uint8_t> bytes) {
  if (openPort_ == 0) return false;
  writes.emplace_back(bytes.begin(), bytes.end());
  if (onWrite) onWrite(writes.back());
  return true;
}

std::string FakeSerialPort::deviceName(int portNo) const {
  if (const auto it = assigned.find(portNo); it != assigned.end()) return it->second;
  return "/dev/fake" + std::to_string(portNo);
}

bool FakeSerialPort::assignDevice(int portNo, const std::string& device) {
  assigned[portNo] = device;
  return true;
}

void FakeSerialPort::unplug() {
  openable.clear();
  openableDevices.clear();
  if (openPort_ == 0) return;
  openPort_ = 0;
  if (lost_) lost_();
}

void FakeSerialPort::receive(std::vector<std::uint8_t> chunk) {
  if (!handler_) return;
  held_.insert(held_.end(), chunk.begin(), chunk.end());
  maxHeld = std::max(maxHeld, held_.size());
  if (delivering_) return;
  delivering_ = true;
  while (!held_.empty()) {
    const std::vector<std::uint8_t> next = std::exchange(held_, {});
    handler_(next);
  }
  delivering_ = false;
}

}  // namespace rtceval::testing
