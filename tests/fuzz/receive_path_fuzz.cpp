// The main window's receive path under every kind of request, both register layouts and the
// user's own actions: bytes in any split (and whole frames with a good sum, so that the reply
// dispatch is reached), time passing, the set-time dialog and the write sequencer's jobs, message
// boxes that stay open while time passes. Reassembly, the checksum test, the dispatch table and
// the clock decoding must never read or write out of bounds, and no message box may open a second
// time while it is still open. Input format: fuzz_input.h, receive_path.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fake_desktop.h"
#include "fake_serial_port.h"
#include "fuzz_input.h"
#include "main_window/main_window.h"
#include "scripted_message_boxes.h"
#include "time_alarms/set_time_dialog.h"
#include "virtual_clock.h"

using namespace rtceval;
using namespace rtceval::fuzz;
using namespace rtceval::fuzz::receive_path;
using namespace rtceval::testing;

namespace {

// Virtual time one input may spend: a few time-outs and monitor ticks, no more, so that a long
// input costs bytes and not hours of ticks.
constexpr std::int64_t kTimeBudgetMs = 5'000;
constexpr MenuId kModels[] = {MenuId::X1226, MenuId::X1227, MenuId::X1228,
                              MenuId::X1205, MenuId::X1208, MenuId::X1209};

class Session {
 public:
  explicit Session(std::uint8_t config) {
    // Every box that opens is checked against those still open behind it; while the input has
    // asked for it, time passes behind the box, as in a modal box's own event loop.
    messageBoxes_.whileOpen = [this] {
      const std::string text = messageBoxes_.shown.back().text;
      check(std::find(open_.begin(), open_.end(), text) == open_.end(),
            "a message box opened again while it was still open");
      open_.push_back(text);
      if (modalMs_ > 0) pass(std::exchange(modalMs_, 0));
      open_.pop_back();
    };
    window_.Form_Load();
    window_.menuClick(kModels[(config & 0x07) % 6]);
    window_.autoReadTimeClicked((config & kAutoReadBit) != 0);
    window_.autoMonitorClicked((config & kAutoMonitorBit) != 0);
  }

  void run(ByteReader& in) {
    while (!in.empty()) {
      const std::uint8_t h = in.next();
      const std::uint8_t arg = h & 0x1F;
      switch (static_cast<Op>(h >> 5)) {
        case Op::Raw:
          deliver(in.take(arg));
          break;
        case Op::Sealed: {
          const auto bytes = in.take(arg);
          std::vector<std::uint8_t> frame(bytes.begin(), bytes.end());
          frame.push_back(sumOf(frame));
          const std::size_t cut = in.next() % (frame.size() + 1);
          deliver(std::span(frame).first(cut));
          deliver(std::span(frame).subspan(cut));
          break;
        }
        case Op::Wait:
          pass(waitMs(arg));
          break;
        case Op::Request:
          window_.link().request(Request{{0x00, 0x6F, 0x00, 0x00, 0x01}, kRequestKinds[arg], ""});
          break;
        case Op::Action:
          act(arg);
          break;
        case Op::Menu:
          window_.menuClick(
              window_.controls()
                  .menus[static_cast<std::size_t>(arg) % window_.controls().menus.size()]
                  .name);
          break;
        case Op::Box:
          messageBoxes_.answers.push_back((arg & 1) != 0);
          if (arg >> 1) modalMs_ = (arg >> 1) * 40;
          break;
        case Op::Flood: {
          const std::vector<std::uint8_t> flood(arg * 16u, in.next());
          deliver(flood);
          break;
        }
      }
    }
  }

 private:
  void deliver(std::span<const std::uint8_t> bytes) {
    if (!bytes.empty()) port_.receive({bytes.begin(), bytes.end()});
  }

  void pass(int ms) {
    const std::int64_t span = std::min<std::int64_t>(ms, kTimeBudgetMs - clock_.now());
    if (span > 0) clock_.advance(Millis(span));
  }

  void setTime(bool twelveHourPm) {
    window_.menuClick("SETTIME");
    window_.dialogHost().send<SetTimeDialog>([twelveHourPm](SetTimeDialog& d) {
      if (twelveHourPm) {
        d.twelveHourClicked(true);
        d.pmClicked();
      }
      d.okClicked();
    });
  }

  void act(std::uint8_t arg) {
    const auto action = static_cast<Action>(arg);
    switch (action) {
      case Action::ReadTime:
        window_.menuClick(MenuId::READTIME);
        return;
      case Action::AutoReadOn:
      case Action::AutoReadOff:
        window_.autoReadTimeClicked(action == Action::AutoReadOn);
        return;
      case Action::MonitorOn:
      case Action::MonitorOff:
        window_.autoMonitorClicked(action == Action::MonitorOn);
        return;
      case Action::SetTime:
      case Action::SetTimeTwelvePm:
        setTime(action == Action::SetTimeTwelvePm);
        return;
      case Action::FirstJob:
        break;
    }
    const std::size_t job =
        (arg - static_cast<std::size_t>(Action::FirstJob)) % std::size(kWriteJobs);
    window_.events().run([this, job] { window_.sequencer().start(kWriteJobs[job]); });
  }

  FakeSerialPort port_;
  VirtualClock clock_;
  ScriptedMessageBoxes messageBoxes_;
  FixedPcClock pcClock_;
  FakeDesktop desktop_;
  MainWindow window_{port_, clock_, clock_, messageBoxes_, pcClock_, desktop_};
  std::vector<std::string> open_;
  int modalMs_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  ByteReader in(data, size);
  Session session(in.next());
  session.run(in);
  return 0;
}
