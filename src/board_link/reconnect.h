#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/serial_devices.h"

namespace rtceval {

class BoardLink;
class SerialPort;
class Timer;
class TimerFactory;

// Finds the board again after the device of its port went away (a USB adapter pulled out, the
// board's terminal gone). The device the board last answered on is remembered: its path and,
// where the system lists it, the adapter's USB ids and serial number. Once a second while it is
// missing, the same path is looked for, then the same adapter under another name (which the port
// number is then given to); when one is there the port is opened and probed, and the probe goes
// out again every second until the board answers.
class Reconnect {
 public:
  Reconnect(BoardLink& link, SerialPort& port, const SerialDeviceLister& devices,
            TimerFactory& timers);
  ~Reconnect();
  Reconnect(const Reconnect&) = delete;
  Reconnect& operator=(const Reconnect&) = delete;

  // Nothing is tried while this holds (the user connects by hand).
  void setHold(std::function<bool()> hold) { hold_ = std::move(hold); }

  // The board answered a probe on port `portNo`: the search, if one ran, is over, and this is the
  // device to find again.
  void boardAnswered(int portNo);
  // The open port's device has gone. True when the search for it begins: the board had answered
  // on that port. A device lost before the board ever answered on it is not looked for.
  bool deviceLost();
  // The program is closing, or the user has taken the port elsewhere: no more looking.
  void stop();
  // The search runs.
  bool isWaiting() const;

 private:
  struct Remembered {
    int portNo = 0;
    std::string path;
    std::optional<SerialDeviceFacts> facts;
  };

  void tick();
  // The device to reopen: the remembered path when it is back, else the same adapter under
  // another name; "" while neither is there.
  std::string findDevice() const;
  void probe();

  BoardLink& link_;
  SerialPort& port_;
  const SerialDeviceLister& devices_;
  std::unique_ptr<Timer> timer_;
  std::function<bool()> hold_;
  std::optional<Remembered> remembered_;
};

// Whether `candidate` is the adapter `known` under a name of its own: the same USB ids and,
// when the adapter has one, the same serial number. Without serial numbers two adapters of one
// kind cannot be told apart, so the description must match as well.
bool sameAdapter(const SerialDeviceFacts& known, const SerialDeviceFacts& candidate);

}  // namespace rtceval
