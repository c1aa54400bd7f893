#pragma once

namespace rtceval {

class BoardLink;
class Timer;

// The search for the board over serial ports 1 to 4 that starts with the program: a port is
// opened on one tick of the main timer, probed on the next, and the next port is opened when no
// answer came in between.
class PortSearch {
 public:
  PortSearch(BoardLink& link, Timer& mainTimer);

  // Opens the first openable port and starts the search.
  void Auto_Dect_Brd();
  // One step of the search, run by the main timer while the search runs.
  void detectionStep();
  // The board answered a probe: the search is over.
  void boardFound() { detecting_ = false; }
  // `Detecting`: the search runs.
  bool isDetecting() const { return detecting_; }

 private:
  BoardLink& link_;
  Timer& mainTimer_;
  bool detecting_ = false;
};

}  // namespace rtceval
