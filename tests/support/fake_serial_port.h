#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform/serial_port.h"

namespace rtceval::testing {

// A serial port in memory: records every open, close and write, and lets a test deliver received
// bytes in any split. Ports listed in `openable` open, and so does any port whose device is listed
// in `openableDevices`; all others fail. A switch holds both ports for a moment, as two devices
// can be. `unplug` takes the open port's device away.
class FakeSerialPort : public SerialPort {
 public:
  bool open(int portNo) override;
  bool switchTo(int portNo) override;
  void close() override;
  bool isOpen() const override { return openPort_ != 0; }
  bool write(std::span<const std::uint8_t> bytes) override;
  void setReceiveHandler(ReceiveHandler handler) override { handler_ = std::move(handler); }
  std::string deviceName(int portNo) const override;
  void setLostHandler(LostHandler handler) override { lost_ = std::move(handler); }
  bool assignDevice(int portNo, const std::string& device) override;

  // Delivers one chunk to the receive handler. Like a real port it does not enter the handler
  // again while the handler runs (behind a box it opened, say): bytes that arrive meanwhile are
  // held, and delivered in one chunk once it has returned.
  void receive(std::vector<std::uint8_t> chunk);
  // The most bytes held back at once.
  std::size_t maxHeld = 0;
  // The open port's device goes away: the port closes and tells the lost handler. Nothing opens
  // afterwards until a test makes a port or device openable again.
  void unplug();

  std::set<int> openable{1, 2, 3, 4};
  std::set<std::string> openableDevices;
  // Devices given to port numbers; the others are /dev/fakeN.
  std::map<int, std::string> assigned;
  int openPort() const { return openPort_; }
  std::vector<int> openAttempts;
  int closeCount = 0;
  // Every open and close in order: "open 2", "open 3 failed", "close 2".
  std::vector<std::string> lineLog;
  std::vector<std::vector<std::uint8_t>> writes;
  // Called after each successful write, for example to answer like a board would.
  std::function<void(const std::vector<std::uint8_t>&)> onWrite;

 private:
  bool tryOpen(int portNo);

  int openPort_ = 0;
  std::vector<std::uint8_t> held_;
  bool delivering_ = false;
  ReceiveHandler handler_;
  LostHandler lost_;
};

}  // namespace rtceval::testing
