#pragma once

// A main window on the fake port, the virtual clock and scripted message boxes: the bench most
// link, dispatch and window tests run on.

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "board_link/board_link.h"
#include "board_link/requests.h"
#include "connection/connect_dialog.h"
#include "core/device_profile.h"
#include "fake_desktop.h"
#include "fake_serial_port.h"
#include "frames.h"
#include "main_window/main_window.h"
#include "main_window/status_bar.h"
#include "scripted_message_boxes.h"
#include "virtual_clock.h"

namespace rtceval::testing {

using namespace std::chrono_literals;

// A reply frame as the board sends it: lead, flag, length, data, 8-bit sum.
inline Bytes replyFrame(std::uint8_t flag, Bytes data) {
  Bytes frame;
  frame.reserve(data.size() + 4);
  frame.push_back(0x55);
  frame.push_back(flag);
  frame.push_back(static_cast<std::uint8_t>(data.size()));
  for (std::uint8_t b : data) frame.push_back(b);
  unsigned sum = 0;
  for (std::uint8_t b : frame) sum += b;
  frame.push_back(static_cast<std::uint8_t>(sum));
  return frame;
}
inline Bytes dataReply(Bytes data) {
  return replyFrame(0x80, std::move(data));
}

// The link on its own: the fake port with port 1 open and the profile whose family flag decides
// the address high byte; everything the link reports is recorded.
struct LinkBench {
  FakeSerialPort port;
  VirtualClock clock;
  DeviceProfile profile;
  BoardLink link{port, clock, profile};
  std::vector<std::string> statusTexts;
  int frameErrors = 0;
  int overflows = 0;
  int timeouts = 0;
  std::vector<std::pair<CmdStateCode, Bytes>> replies;

  explicit LinkBench(bool is1208Family = false) {
    profile.Is1208Family = is1208Family;
    port.setReceiveHandler([this](std::span<const std::uint8_t> chunk) { link.onReceived(chunk); });
    link.setListener([this](const LinkEvent& e) {
      switch (e.kind) {
        case LinkEvent::Kind::Progress:
        case LinkEvent::Kind::Status:
          statusTexts.emplace_back(e.text);
          break;
        case LinkEvent::Kind::FrameError:
          ++frameErrors;
          break;
        case LinkEvent::Kind::Overflow:
          ++overflows;
          break;
        case LinkEvent::Kind::Reply:
          replies.emplace_back(e.request, Bytes(e.frame.begin(), e.frame.end()));
          break;
        case LinkEvent::Kind::Timeout:
          ++timeouts;
          break;
      }
    });
    port.open(1);
  }
  const Bytes& sent() const { return port.writes.back(); }
};

struct WindowBench {
  FakeSerialPort port;
  VirtualClock clock;
  ScriptedMessageBoxes messageBoxes;
  FixedPcClock pc;
  FakeDesktop desktop;
  MainWindow window{port, clock, clock, messageBoxes, pc, desktop};

  // Loads the window with the board answering on port 1, so the search is over and the port is
  // open; forgets the probe frame.
  void loadConnected() {
    port.openable = {1};
    window.Form_Load();
    clock.advance(200ms);
    port.receive(kProbeAnswer);
    port.writes.clear();
  }
  void loadConnectedWith(MenuId model) {
    loadConnected();
    window.menuClick(model);
  }

  const std::string& panel(int n) const { return window.controls().statusBar.panel(n); }
  BoardLink& link() { return window.link(); }
  const MainWindowControls& controls() const { return window.controls(); }
  std::vector<std::string> shownTexts() const {
    std::vector<std::string> texts;
    for (const auto& s : messageBoxes.shown) texts.push_back(s.text);
    return texts;
  }
  // Sends a request of kind `state` as a dialog would (a one-byte read) and lets its reply
  // arrive in one chunk.
  void replyTo(CmdStateCode state, const Bytes& frame) {
    window.link().request(Request{{0x00, 0x6F, 0x00, 0x00, 0x01}, state, ""});
    port.receive(frame);
  }
  // The port dialog's option buttons and connect button, as the user clicks them.
  void pickPort(int portNo) {
    window.dialogHost().send<ConnectDialog>([portNo](ConnectDialog& d) { d.portClicked(portNo); });
  }
  void clickConnect() {
    window.dialogHost().send<ConnectDialog>([](ConnectDialog& d) { d.connectClicked(); });
  }
};

// A board that answers each request a few milliseconds after it went out, as on a prompt line:
// a read with as many zero bytes as it asks for, a write with its acknowledgement, a probe with
// its answer. A request that has had a reply by other means (the test's own) is not answered.
class PromptBoard {
 public:
  PromptBoard(BoardLink& link, FakeSerialPort& port, VirtualClock& clock, Millis after = 5ms)
      : port_(port), clock_(clock), after_(after) {
    link.addFrameObserver([this](const LineFrame& f) {
      if (f.kind == LineFrame::Kind::Sent) {
        owed_.assign(f.bytes.begin(), f.bytes.end());
        sentAt_ = clock_.now();
      } else if (f.kind == LineFrame::Kind::Received) {
        owed_.clear();
      }
    });
    timer_->setInterval(1ms);
    timer_->setTickHandler([this] { answer(); });
    timer_->setEnabled(true);
  }
  explicit PromptBoard(WindowBench& b, Millis after = 5ms)
      : PromptBoard(b.link(), b.port, b.clock, after) {}

 private:
  void answer() {
    if (owed_.empty() || clock_.now() - sentAt_ < after_.count()) return;
    // Lead, flag, length, then the command, the device, two address bytes and the count.
    const Bytes request = std::exchange(owed_, {});
    if (request.size() < 8)
      port_.receive(kProbeAnswer);
    else if (request[3] == 0x00)
      port_.receive(dataReply(Bytes(request[7], 0x00)));
    else
      port_.receive(kAck);
  }
  FakeSerialPort& port_;
  VirtualClock& clock_;
  Millis after_;
  std::unique_ptr<Timer> timer_ = clock_.createTimer();
  Bytes owed_;
  std::int64_t sentAt_ = 0;
};

}  // namespace rtceval::testing
