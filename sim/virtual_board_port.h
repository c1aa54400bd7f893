#pragma once

#include <memory>
#include <string>

#include "platform/serial_port.h"
#include "platform/timer.h"
#include "sim/chip/bcd_calendar.h"
#include "sim/chip/chip_profile.h"
#include "sim/virtual_board.h"

namespace rtceval::sim {

// A serial port with the virtual evaluation board at its far end, for the simulate mode and the
// end-to-end tests. Writes go to the board; its replies come back through the receive handler
// after the time their bytes take on a 19200-baud line plus the chip's bus time, driven by one
// timer of `timers` (no thread, no sleep). The board keeps running, and its chip keeps counting,
// while the port is closed; replies due while it is closed are lost.
class VirtualBoardPort : public SerialPort {
 public:
  // `timers` and `clock` must outlive the port and share one time base (the program's timer
  // factory and monotonic clock, or a test's VirtualClock for both). `model` is the chip on the
  // board; its clock starts at `start` when the port is constructed, in 24-hour mode, with RTCF set
  // as after power-up. Only port number `portNo` opens.
  VirtualBoardPort(TimerFactory& timers, MonotonicClock& clock, ChipModel model,
                   const CivilTime& start, int portNo = 1);
  ~VirtualBoardPort() override;

  bool open(int portNo) override;
  // The board has one line: switching to its own number keeps it as it is, and any other number
  // fails without letting it go.
  bool switchTo(int portNo) override;
  void close() override;
  bool isOpen() const override { return open_; }
  bool write(std::span<const std::uint8_t> bytes) override;
  void setReceiveHandler(ReceiveHandler handler) override { handler_ = std::move(handler); }
  std::string deviceName(int portNo) const override;

  // The board itself: its chip (backup supply, event input, registers) and its line faults.
  VirtualBoard& board() { return board_; }

 private:
  void onTimer();
  void schedule();

  MonotonicClock& clock_;
  std::unique_ptr<Timer> timer_;
  VirtualBoard board_;
  int portNo_;
  bool open_ = false;
  ReceiveHandler handler_;
};

}  // namespace rtceval::sim
