#pragma once

#include <chrono>
#include <memory>

#include "accuracy/accuracy_dialogs.h"
#include "accuracy/accuracy_window.h"
#include "fake_desktop.h"
#include "main_window/main_window.h"
#include "noisy_line.h"
#include "scripted_message_boxes.h"
#include "sim/virtual_board_port.h"
#include "virtual_clock.h"

namespace rtceval::testing {

// The program on the virtual board through a line whose latency jitters, as a user has it: the
// main window reads the time five times a second and SR once a second, and the accuracy window is
// open.
struct AccuracyBoard {
  struct Setup {
    sim::ChipModel chip;
    double crystalPpm = 37.0;
    int noiseMs = 6;
    int relayMs = 0;                     // every reply reaches the PC this much later
    std::chrono::milliseconds phase{0};  // more time before the model is chosen
  };
  void startBoard(const Setup& s, const MenuId* menu) {
    using namespace std::chrono_literals;
    window.reset();
    line.reset();
    board.reset();
    board = std::make_unique<sim::VirtualBoardPort>(clock, clock, s.chip,
                                                    sim::CivilTime{2026, 12, 8, 23, 40, 3});
    board->board().chip().setCrystalPpm(s.crystalPpm);
    board->board().faults().setDelayMs(s.relayMs);
    line = std::make_unique<NoisyLine>(*board, clock, clock, s.noiseMs, 7u);
    window = std::make_unique<MainWindow>(*line, clock, clock, messageBoxes, pcClock, desktop);
    window->Form_Load();
    clock.advance(250ms + s.phase);
    if (menu) window->menuClick(*menu);
    window->autoReadTimeClicked(true);
    window->autoMonitorClicked(true);
    window->menuClick("ACCURACY");
  }
  AccuracyWindow& accuracy() {
    AccuracyWindow* w = window->toolHost(tool_window::kAccuracy)->current<AccuracyWindow>();
    EXPECT_NE(w, nullptr);
    return *w;
  }
  void user(void (AccuracyWindow::*handler)()) {
    window->toolHost(tool_window::kAccuracy)->send<AccuracyWindow>([handler](AccuracyWindow& w) {
      (w.*handler)();
    });
  }

  VirtualClock clock;
  ScriptedMessageBoxes messageBoxes;
  FixedPcClock pcClock;
  FakeDesktop desktop;
  std::unique_ptr<sim::VirtualBoardPort> board;
  std::unique_ptr<NoisyLine> line;
  std::unique_ptr<MainWindow> window;
};

}  // namespace rtceval::testing
