#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace rtceval {

// The serial ports the program offers, numbered as the user sees them.
inline constexpr int kFirstPort = 1;
inline constexpr int kLastPort = 4;
inline constexpr int kPortCount = kLastPort - kFirstPort + 1;

// The serial line to the evaluation board. Ports are numbered 1 to 4 as the user sees them; the
// implementation maps a number to a device. Opening applies the board's line settings: 19200 baud,
// no parity, 8 data bits, 1 stop bit, DTR and RTS asserted, every received byte delivered at once.
class SerialPort {
 public:
  using ReceiveHandler = std::function<void(std::span<const std::uint8_t> chunk)>;
  using LostHandler = std::function<void()>;

  virtual ~SerialPort() = default;

  // Closes the port if it is open, then opens port `portNo` with the line settings.
  // Returns false when the port cannot be opened or configured.
  virtual bool open(int portNo) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  // Opens port `portNo` in place of the open one. The open port stays open until the new one has
  // opened, and only then closes; when the new one cannot be opened, the open port, and whatever
  // is on its way in or out, stay as they were. The port that is open now is kept as it is.
  // This default suits a port that can hold only one line: it reopens.
  virtual bool switchTo(int portNo) { return open(portNo); }

  // One binary write of a whole frame. Returns false when the port is closed or the write fails.
  virtual bool write(std::span<const std::uint8_t> bytes) = 0;

  // Called with each chunk of bytes as it arrives, on the program's one thread.
  virtual void setReceiveHandler(ReceiveHandler handler) = 0;

  // The device behind a port number, for tooltips and messages ("" when there is none).
  virtual std::string deviceName(int portNo) const = 0;

  // Called, as an event of its own, when the device of the open port has gone (a USB adapter
  // pulled out, a terminal hung up); the port is closed by then. A port whose device cannot go
  // away never calls it.
  virtual void setLostHandler(LostHandler handler) { (void)handler; }
  // Port `portNo` stands for `device` from now on: an adapter that came back under another name
  // keeps the number the user knows it by. False when this port's devices cannot be chosen.
  virtual bool assignDevice(int portNo, const std::string& device) {
    (void)portNo;
    (void)device;
    return false;
  }
};

}  // namespace rtceval
