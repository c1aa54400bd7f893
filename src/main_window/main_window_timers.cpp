#include "main_window/main_window.h"

#include <optional>

#include "platform/pc_clock.h"
#include "register_editors/register_map.h"

namespace rtceval {
namespace {
constexpr const char* TEXT_TIMEOUT_QUESTION = "接收超时错,是否停止自动方式！";
constexpr const char* TITLE_ERROR = "出错";
constexpr const char* TEXT_EVENT = "事件发生";
constexpr const char* TEXT_ALARM = "警报发生";
constexpr const char* TEXT_ALARM1 = "警报1发生";
constexpr const char* TEXT_ALARM0 = "警报0发生";
}  // namespace

void MainWindow::Timer1_Tick() {
  controls_.StatusBar1.setPanel(StatusBar::TIME, pcClock_.timeOfDayText());
  if (controls_.Check1.checked) commands_.CmdReadTime();
  if (link_.state().Detecting) search_.DetectionStep();
}

void MainWindow::Timer2_Tick() {
  // Stop the time-out before asking: the question is modal, and a reply or a newer request that
  // arrives meanwhile must not have its bytes dropped when the question closes.
  timer2_->setEnabled(false);
  link_.state().RecvCount = 0;
  if (!(controls_.Check1.checked || controls_.Check2.checked) || timeoutQuestionOpen_) return;
  timeoutQuestionOpen_ = true;
  const bool stop = dialogs_->askYesNo(TEXT_TIMEOUT_QUESTION, TITLE_ERROR);
  timeoutQuestionOpen_ = false;
  if (stop) {
    setCheck1(false);
    setCheck2(false);
  }
}

void MainWindow::announce(const char* text) {
  // One monitor message at a time; a tick while it is open announces nothing, and the ticks after
  // it closes announce again while the chip keeps the flag set.
  if (monitorMessageOpen_ || !controls_.Check2.checked) return;
  monitorMessageOpen_ = true;
  dialogs_->message(text, {});
  monitorMessageOpen_ = false;
}

void MainWindow::Timer3_Tick() {
  const std::uint8_t sr = registers_.RegSR;
  const auto isSet = [sr](std::optional<int> bit) { return bit && ((sr >> *bit) & 1); };
  const StatusIndicatorBits bits = IndicatorBits(LayoutOf(profile_.Is1208Family));
  if (profile_.Is1208Family) {
    if (isSet(bits.event)) announce(TEXT_EVENT);
    if (isSet(bits.alarm0)) announce(TEXT_ALARM);
  } else {
    if (isSet(bits.alarm1)) announce(TEXT_ALARM1);
    if (isSet(bits.alarm0)) announce(TEXT_ALARM0);
  }
  if (controls_.Check2.checked) commands_.CmdGetSR();
}

void MainWindow::Timer4_Tick() {
  sequencer_.Tick();
}

}  // namespace rtceval
