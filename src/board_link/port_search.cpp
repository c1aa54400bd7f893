#include "board_link/port_search.h"

#include <chrono>

#include "board_link/board_link.h"
#include "board_link/requests.h"
#include "platform/serial_port.h"
#include "platform/timer.h"

namespace rtceval {
namespace {
using namespace std::chrono_literals;
constexpr Millis kMainTimerInterval = 200ms;
constexpr const char* kTextSearching = "自动连接评估板...";
constexpr const char* kTextNoPort = "没有可用的串口.";
constexpr const char* kTextInvalidPort = "无效的串口.";
constexpr const char* kTextNoBoard = "没有探测到评估板.";
}  // namespace

PortSearch::PortSearch(BoardLink& link, Timer& mainTimer) : link_(link), mainTimer_(mainTimer) {}

void PortSearch::Auto_Dect_Brd() {
  int found = 0;
  for (int i = kFirstPort; i <= kLastPort && found == 0; ++i) {
    if (link_.openPort(i)) found = i;
  }
  if (found == 0) {
    link_.showStatus(kTextNoPort);
    return;
  }
  link_.setPortNo(found);
  link_.closePort();
  if (!link_.openPort(found)) {
    link_.showStatus(kTextInvalidPort);
    return;
  }
  // The probe goes out a full tick after the port opened.
  mainTimer_.setEnabled(false);
  mainTimer_.setInterval(kMainTimerInterval);
  mainTimer_.setEnabled(true);
  link_.markPortOpened();
  link_.showStatus(kTextSearching);
  detecting_ = true;
}

void PortSearch::detectionStep() {
  if (link_.pendingRequest() == StPortOpened) {
    // The board has until the next tick to answer; no response time-out is armed.
    link_.requestQuietly(requests::probe(StProbe));
    return;
  }
  if (link_.PortNo() < kLastPort) {
    link_.closePort();
    const int next = link_.PortNo() + 1;
    link_.setPortNo(next);
    if (!link_.openPort(next)) {
      // The next tick moves on to the port after this one, so no port is skipped.
      link_.showStatus(kTextInvalidPort);
      return;
    }
    link_.markPortOpened();
    return;
  }
  link_.showStatus(kTextNoBoard);
  detecting_ = false;
}

}  // namespace rtceval
