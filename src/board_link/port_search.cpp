#include "board_link/port_search.h"

#include <chrono>

#include "board_link/board_link.h"
#include "main_window/status_bar.h"
#include "platform/serial_port.h"
#include "platform/timer.h"

namespace rtceval {
namespace {
using namespace std::chrono_literals;
constexpr Millis MAIN_TIMER_INTERVAL = 200ms;
constexpr const char* TEXT_SEARCHING = "自动连接评估板...";
constexpr const char* TEXT_NO_PORT = "没有可用的串口.";
constexpr const char* TEXT_INVALID_PORT = "无效的串口.";
constexpr const char* TEXT_NO_BOARD = "没有探测到评估板.";
}  // namespace

PortSearch::PortSearch(BoardLink& link, Timer& mainTimer, StatusBar& statusBar)
    : link_(link), mainTimer_(mainTimer), statusBar_(statusBar) {}

void PortSearch::Auto_Dect_Brd() {
  int found = 0;
  for (int i = FIRST_PORT; i <= LAST_PORT && found == 0; ++i) {
    if (link_.OpenPort(i) && link_.port().isOpen()) found = i;
  }
  if (found == 0) {
    statusBar_.setPanel(StatusBar::LINK, TEXT_NO_PORT);
    return;
  }
  LinkState& s = link_.state();
  s.PortNo = static_cast<std::int16_t>(found);
  link_.ClosePort();
  if (!link_.OpenPort(found)) {
    statusBar_.setPanel(StatusBar::LINK, TEXT_INVALID_PORT);
    return;
  }
  // The probe goes out a full tick after the port opened.
  mainTimer_.setEnabled(false);
  mainTimer_.setInterval(MAIN_TIMER_INTERVAL);
  mainTimer_.setEnabled(true);
  s.CmdState = StPortOpened;
  statusBar_.setPanel(StatusBar::LINK, TEXT_SEARCHING);
  s.Detecting = true;
}

void PortSearch::DetectionStep() {
  LinkState& s = link_.state();
  if (s.CmdState == StPortOpened) {
    // The board has until the next tick to answer; no response time-out is armed.
    link_.SendProbe(StProbe);
    return;
  }
  if (s.PortNo < LAST_PORT) {
    link_.ClosePort();
    const int next = s.PortNo + 1;
    if (!link_.OpenPort(next)) {
      // The next tick moves on to the port after this one, so no port is skipped.
      s.PortNo = static_cast<std::int16_t>(next);
      statusBar_.setPanel(StatusBar::LINK, TEXT_INVALID_PORT);
      return;
    }
    s.PortNo = static_cast<std::int16_t>(next);
    s.CmdState = StPortOpened;
    return;
  }
  statusBar_.setPanel(StatusBar::LINK, TEXT_NO_BOARD);
  s.Detecting = false;
}

}  // namespace rtceval
