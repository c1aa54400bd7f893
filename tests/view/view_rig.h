#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QString>

#include <chrono>
#include <optional>
#include <vector>

#include "fake_desktop.h"
#include "fake_serial_port.h"
#include "main_window/main_window.h"
#include "main_window/qt/main_window_view.h"
#include "platform/qt/qt_message_boxes.h"
#include "scripted_message_boxes.h"
#include "virtual_clock.h"
#include "window_bench.h"

namespace rtceval::testing {

// The main window's model on test doubles, loaded, with its view shown on the offscreen screen.
struct ViewRig {
  FakeSerialPort port;
  VirtualClock clock;
  ScriptedMessageBoxes messageBoxes;
  FixedPcClock pcClock;
  FakeDesktop desktop;
  MainWindow model{port, clock, clock, messageBoxes, pcClock, desktop};
  qt::MainWindowView view{model};

  std::optional<PromptBoard> board;

  ViewRig() {
    model.Form_Load();
    view.show();
  }
  // From now on a board answers each request a few milliseconds after it went out, so a
  // sequence of requests goes out at a prompt line's pace, each after the reply to the one before.
  void answerPromptly() { board.emplace(model.link(), port, clock); }

  template <class W>
  W* find(const char* name) const {
    return view.findChild<W*>(QString::fromUtf8(name));
  }
  QAction* action(const char* name) const { return find<QAction>(name); }
  QString labelText(const char* name) const { return find<QLabel>(name)->text(); }
  QString panel(int n) const {
    return view.findChild<QLabel*>(QStringLiteral("Panel%1").arg(n))->text();
  }
  // Frees the windows that were closed with deleteLater.
  static void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

// The program as main() builds it, with the real message boxes over its window, on the fake port
// and the virtual clock; the board has answered the probe on port 1.
struct ProgramRig {
  FakeSerialPort port;
  VirtualClock clock;
  qt::QtMessageBoxes messageBoxes;
  FixedPcClock pcClock;
  FakeDesktop desktop;
  MainWindow model{port, clock, clock, messageBoxes, pcClock, desktop};
  qt::MainWindowView view{model};

  ProgramRig() {
    using namespace std::chrono_literals;
    messageBoxes.setParentWindow(&view);
    port.openable = {1};
    view.show();
    model.Form_Load();
    clock.advance(200ms);
    port.receive({0x55, 0x80, 0x00, 0xD5});
  }
  // Chooses `chip`, then opens the window of menu item `item`, named `form`.
  QDialog* open(const char* chip, const char* item, const char* form) {
    model.menuClick(chip);
    model.menuClick(item);
    return view.findChild<QDialog*>(QString::fromLatin1(form));
  }
  static void activate(QWidget* window) {
    window->activateWindow();
    QCoreApplication::processEvents();
  }
};

}  // namespace rtceval::testing
