#include "platform/port_mux.h"

namespace rtceval {

PortMux::PortMux(SerialPort& fallback) : fallback_(fallback) {
  fallback_.setReceiveHandler([this](std::span<const std::uint8_t> chunk) {
    if (current_ == &fallback_ && handler_) handler_(chunk);
  });
  fallback_.setLostHandler([this] { portLost(fallback_); });
}

void PortMux::portLost(SerialPort& port) {
  // Only the port in use can lose its device as far as the program is concerned.
  if (current_ != &port) return;
  current_ = nullptr;
  if (lost_) lost_();
}

void PortMux::route(int portNo, SerialPort& port) {
  routes_[portNo] = &port;
  port.setReceiveHandler([this, &port](std::span<const std::uint8_t> chunk) {
    if (current_ == &port && handler_) handler_(chunk);
  });
  port.setLostHandler([this, &port] { portLost(port); });
}

SerialPort& PortMux::portFor(int portNo) const {
  const auto it = routes_.find(portNo);
  return it == routes_.end() ? fallback_ : *it->second;
}

bool PortMux::open(int portNo) {
  close();
  SerialPort& port = portFor(portNo);
  if (!port.open(portNo)) return false;
  current_ = &port;
  return true;
}

bool PortMux::switchTo(int portNo) {
  SerialPort& port = portFor(portNo);
  // One port object switches among its own numbers itself.
  if (&port == current_) return port.switchTo(portNo);
  if (!port.open(portNo)) return false;
  SerialPort* old = current_;
  current_ = &port;
  if (old) old->close();
  return true;
}

void PortMux::close() {
  if (current_) current_->close();
  current_ = nullptr;
}

bool PortMux::isOpen() const {
  return current_ && current_->isOpen();
}

bool PortMux::write(std::span<const std::uint8_t> bytes) {
  return current_ ? current_->write(bytes) : false;
}

void PortMux::setReceiveHandler(ReceiveHandler handler) {
  handler_ = std::move(handler);
}

std::string PortMux::deviceName(int portNo) const {
  return portFor(portNo).deviceName(portNo);
}

}  // namespace rtceval

namespace rtceval {

void PortMux::setLostHandler(LostHandler handler) {
  lost_ = std::move(handler);
}

bool PortMux::assignDevice(int portNo, const std::string& device) {
  return portFor(portNo).assignDevice(portNo, device);
}

}  // namespace rtceval
