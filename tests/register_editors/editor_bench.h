#pragma once

// The main window on the fake port with a chip model chosen, for opening this folder's dialogs
// from their menu items and clicking in them as the user does.

#include "window_bench.h"

namespace rtceval::testing {

struct EditorBench : WindowBench {
  explicit EditorBench(MenuId model) { loadConnectedWith(model); }

  // Opens a dialog from its menu item; nullptr when the item opened nothing.
  template <class Dialog>
  Dialog* open(const char* item) {
    window.menuClick(item);
    return window.dialogHost().current<Dialog>();
  }
  // A user event in the open dialog, as its view sends it.
  template <class Dialog, class Handler>
  void user(Handler handler) {
    window.dialogHost().send<Dialog>(handler);
  }
};

}  // namespace rtceval::testing
