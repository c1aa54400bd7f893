#pragma once

#include <string>

namespace rtceval {

class BoardLink;
class StatusBar;
class Timer;

// The search for the board over serial ports 1 to 4 that starts with the program: a port is
// opened on one tick of the main timer, probed on the next, and the next port is opened when no
// answer came in between.
class PortSearch {
 public:
  static constexpr int FIRST_PORT = 1;
  static constexpr int LAST_PORT = 4;

  PortSearch(BoardLink& link, Timer& mainTimer, StatusBar& statusBar);

  // Opens the first openable port and starts the search.
  void Auto_Dect_Brd();
  // One step of the search, run by the main timer while Detecting is set.
  void DetectionStep();

 private:
  BoardLink& link_;
  Timer& mainTimer_;
  StatusBar& statusBar_;
};

}  // namespace rtceval
