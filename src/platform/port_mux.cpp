#include "platform/port_mux.h"

namespace rtceval {

PortMux::PortMux(SerialPort& fallback) : fallback_(fallback) {
  fallback_.setReceiveHandler([this](std::span<const std::uint8_t> chunk) {
    if (current_ == &fallback_ && handler_) handler_(chunk);
  });
}

void PortMux::route(int portNo, SerialPort& port) {
  routes_[portNo] = &port;
  port.setReceiveHandler([this, &port](std::span<const std::uint8_t> chunk) {
    if (current_ == &port && handler_) handler_(chunk);
  });
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
