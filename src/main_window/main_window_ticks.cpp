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
  if (!controls_.autoMonitor.checked) return;
  monitorMessageOpen_ = true;
  events_.messageBoxes().message(text, {});
  monitorMessageOpen_ = false;
}

void MainWindow::monitorTick() {
  if (reconnect_.isWaiting()) return;
  // One monitor message at a time: a tick while one is open leaves the flags that have become due
  // to the next tick after it.
  if (!monitorMessageOpen_) {
    const Layout layout = layoutOf(profile_.Is1208Family);
    const StatusIndicatorBits bits = indicatorBits(layout);
    for (const int bit : announcements_.take(layout)) {
      if (bit == bits.event)
        announce(kTextEvent);
      else if (bit == bits.alarm1)
        announce(kTextAlarm1);
      else
        announce(layout == Layout::B ? kTextAlarm : kTextAlarm0);
    }
  }
  if (controls_.autoMonitor.checked) commands_.CmdGetSR();
}

}  // namespace rtceval
