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
  // A reply has been interpreted (see `ReplyNote`).
  virtual void replyArrived(const ReplyNote& reply) { (void)reply; }
};

}  // namespace rtceval
