#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>

#include "board_link/link_state.h"

namespace rtceval {

class Dialogs;
class SerialPort;
class StatusBar;
class Timer;
struct DeviceProfile;

// The request slot and the receive path: builds and sends request frames, reassembles reply bytes
// that arrive in any split, and hands each complete, checksummed reply on. Owns the link state.
class BoardLink {
 public:
  // Called once a complete reply with a good checksum stands in RecvBuf.
  using ReplyHandler = std::function<void()>;
  // Sees every frame sent (outgoing = true) and every complete frame received.
  using FrameTrace = std::function<void(bool outgoing, std::span<const std::uint8_t> frame)>;

  BoardLink(SerialPort& port, Timer& responseTimeout, StatusBar& statusBar, Dialogs& dialogs,
            const DeviceProfile& profile);

  LinkState& state() { return state_; }
  const LinkState& state() const { return state_; }
  SerialPort& port() { return port_; }

  void setReplyHandler(ReplyHandler handler) { onReply_ = std::move(handler); }
  void setFrameTrace(FrameTrace trace) { trace_ = std::move(trace); }

  // Sends SendBuf[0..SendLen) as a request frame and starts a new reply at index 0. A failed
  // write is ignored: the missing reply runs into the response time-out.
  void SendFrame();

  // The common order of every request: payload, frame, time-out, request code, progress text.
  void Request(std::initializer_list<std::uint8_t> payload, CmdStateCode state,
               const std::string& text);
  void Request(std::span<const std::uint8_t> payload, CmdStateCode state, const std::string& text);
  void ReadReg(std::uint8_t address, CmdStateCode state, const std::string& text);
  void WriteReg(std::uint8_t address, std::uint8_t value, CmdStateCode state,
                const std::string& text);

  // Sends the empty probe that only the board answers; arms no time-out.
  void SendProbe(CmdStateCode state);

  // Serial line: closes any open port, then opens port `portNo` with the line settings.
  bool OpenPort(int portNo);
  void ClosePort();

  // Receive path: one chunk of bytes from the port (the owner routes the port's receive handler
  // here).
  void OnReceived(std::span<const std::uint8_t> chunk);
  // True when RecvBuf holds a complete reply with the right checksum; a complete reply with a
  // wrong one is reported in the status bar with a beep.
  bool CheckFrame();

 private:
  void fill(std::span<const std::uint8_t> payload);

  SerialPort& port_;
  Timer& responseTimeout_;
  StatusBar& statusBar_;
  Dialogs& dialogs_;
  const DeviceProfile& profile_;
  LinkState state_;
  ReplyHandler onReply_;
  FrameTrace trace_;
  bool overflowShown_ = false;
};

}  // namespace rtceval
