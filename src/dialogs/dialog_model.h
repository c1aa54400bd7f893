#pragma once

#include "core/cmd_state.h"

namespace rtceval {

// A window that the main window opens from its row (dialog_table.h) and owns while it is open. Its
// controls are plain data that a view draws; the view sends the user's events to its handlers.
class DialogModel {
 public:
  virtual ~DialogModel() = default;
  // The dialog has just been created.
  virtual void Form_Load() {}
  // The dialog is closing: stop its timers; it sends nothing more.
  virtual void unload() {}
  // A reply to `request` has been interpreted; `accepted` when it was the kind the request waits
  // for and its data now stands in the register image, the records or the chip reads.
  virtual void replyArrived(CmdStateCode request, bool accepted) {
    (void)request;
    (void)accepted;
  }
};

}  // namespace rtceval
