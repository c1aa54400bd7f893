#pragma once

#include <vector>

#include "main_window/main_window_controls.h"

class QAction;
class QMenuBar;

namespace rtceval {
class MainWindow;
}

namespace rtceval::qt {

// The main window's menu bar: one QMenu per top menu and one QAction per item, in the model's
// order, each named like its control. Items forward their clicks to the model; the device items
// carry the tick of the selected model.
class MainWindowMenus {
 public:
  MainWindowMenus(QMenuBar& bar, MainWindow& model);
  void redraw(const MainWindowControls& controls);

 private:
  // One per menu control, in its order; for a top menu, the action that stands for it in the
  // menu bar.
  std::vector<QAction*> actions_;
};

}  // namespace rtceval::qt
