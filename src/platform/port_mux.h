#pragma once

#include <map>

#include "platform/serial_port.h"

namespace rtceval {

// One serial port as the program sees it, built from several: each port number goes to the port
// that serves it (the virtual board on port 1, say), all others to a default. Only one of them is
// in use at a time, as with a single serial control; a switch holds two open for a moment.
class PortMux : public SerialPort {
 public:
  explicit PortMux(SerialPort& fallback);
  // Port number `portNo` is served by `port` from now on.
  void route(int portNo, SerialPort& port);

  bool open(int portNo) override;
  bool switchTo(int portNo) override;
  void close() override;
  bool isOpen() const override;
  bool write(std::span<const std::uint8_t> bytes) override;
  void setReceiveHandler(ReceiveHandler handler) override;
  std::string deviceName(int portNo) const override;
  void setLostHandler(LostHandler handler) override;
  bool assignDevice(int portNo, const std::string& device) override;

 private:
  SerialPort& portFor(int portNo) const;
  void portLost(SerialPort& port);

  SerialPort& fallback_;
  std::map<int, SerialPort*> routes_;
  SerialPort* current_ = nullptr;
  ReceiveHandler handler_;
  LostHandler lost_;
};

}  // namespace rtceval
