#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace rtceval {

// What an interpreted reply does outside the link: the main window implements these, and passes
// them on to the dialog that is open.
class ReplyEffects {
 public:
  virtual ~ReplyEffects() = default;
  virtual void setLinkStatus(const std::string& text) = 0;  // status panel 2
  virtual void beep() = 0;
  virtual void stopResponseTimeout() = 0;
  // Decodes and shows the data bytes of a time reply.
  virtual void showTime(std::span<const std::uint8_t> data) = 0;
  // The board answered a probe on this port.
  virtual void showBoardPort(int portNo) = 0;
  virtual void closeConnectDialog() = 0;
  // RegSR has just been stored: indicators and the panel's SR row follow it.
  virtual void statusRegisterRead() = 0;
  // A register of the image changed through a read: the control/status panel shows it.
  virtual void refreshPanel() = 0;
  // Alarm 0 or 1 read: the data bytes of the reply.
  virtual void alarmRead(int alarm, std::span<const std::uint8_t> data) = 0;
  virtual void memoryRead(std::uint8_t value) = 0;
  virtual void userRegistersRead(std::uint8_t first, std::uint8_t second) = 0;
};

}  // namespace rtceval
