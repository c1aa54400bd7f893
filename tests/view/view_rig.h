#pragma once

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QString>

#include <vector>

#include "fake_desktop.h"
#include "fake_serial_port.h"
#include "main_window/main_window.h"
#include "main_window/qt/main_window_view.h"
#include "scripted_message_boxes.h"
#include "virtual_clock.h"

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

  ViewRig() {
    model.Form_Load();
    view.show();
  }

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

}  // namespace rtceval::testing
