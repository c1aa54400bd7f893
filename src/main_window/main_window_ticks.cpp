#include <optional>

#include "core/register_map.h"
#include "main_window/main_window.h"
#include "platform/message_boxes.h"
#include "platform/pc_clock.h"

namespace rtceval {
namespace {
constexpr const char* kTextEvent = "事件发生";
constexpr const char* kTextAlarm = "警报发生";
constexpr const char* kTextAlarm1 = "警报1发生";
constexpr const char* kTextAlarm0 = "警报0发生";
}  // namespace

void MainWindow::mainTick() {
  controls_.statusBar.setPanel(StatusBar::kTimePanel, pcClock_.timeOfDayText());
  // While the board's device is away the automatic modes stay ticked but ask nothing; they go on
  // by themselves once it is back.
  if (controls_.autoReadTime.checked && !reconnect_.isWaiting()) commands_.CmdReadTime();
  if (search_.isDetecting()) search_.detectionStep();
}

void MainWindow::announce(const char* text) {
  // One monitor message at a time; a tick while it is open announces nothing, and the ticks after
  // it closes announce again while the chip keeps the flag set.
  if (monitorMessageOpen_ || !controls_.autoMonitor.checked) return;
  monitorMessageOpen_ = true;
  events_.messageBoxes().message(text, {});
  monitorMessageOpen_ = false;
}

void MainWindow::monitorTick() {
  if (reconnect_.isWaiting()) return;
  const std::uint8_t sr = registers_.RegSR;
  const auto isSet = [sr](std::optional<int> bit) { return bit && ((sr >> *bit) & 1); };
  const StatusIndicatorBits bits = indicatorBits(layoutOf(profile_.Is1208Family));
  if (profile_.Is1208Family) {
    if (isSet(bits.event)) announce(kTextEvent);
    if (isSet(bits.alarm0)) announce(kTextAlarm);
  } else {
    if (isSet(bits.alarm1)) announce(kTextAlarm1);
    if (isSet(bits.alarm0)) announce(kTextAlarm0);
  }
  if (controls_.autoMonitor.checked) commands_.CmdGetSR();
}

}  // namespace rtceval
