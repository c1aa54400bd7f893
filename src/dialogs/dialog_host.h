#pragma once

#include <memory>
#include <span>
#include <vector>

#include "dialogs/dialog_context.h"
#include "dialogs/dialog_model.h"
#include "dialogs/dialog_table.h"
#include "dialogs/window_events.h"

namespace rtceval {

// Holds the one dialog the main window has open (or one tool window): opens a window by its
// number from the dialog table, closes it, passes interpreted replies on to it, and runs the events
// its view sends. A closed dialog lives on until the outermost event has ended, since one of its
// own handlers (or a message box it opened) may still be running.
class DialogHost {
 public:
  DialogHost(WindowEvents& events, std::span<const DialogRow> table, DialogContext context);
  ~DialogHost();
  DialogHost(const DialogHost&) = delete;
  DialogHost& operator=(const DialogHost&) = delete;

  // What OpenSubForm holds before the first Load_Sub_Form.
  static constexpr int kNone = 255;

  // Closes the open dialog, then opens dialog `number` if the table has it. `OpenSubForm` takes
  // the number either way.
  void Load_Sub_Form(int number);
  // Asks the view to bring the open dialog's window to the front.
  void raise() { ++raised_; }
  int raised() const { return raised_; }
  // Closes the open dialog, if any.
  void close();
  // Frees the dialogs closed so far; the main window calls it once no event runs any more.
  void freeClosed() { closed_.clear(); }

  // The number last opened, `kNone` before the first.
  int OpenSubForm() const { return openSubForm_; }
  // Grows each time a dialog opens or closes, so a view knows to rebuild it.
  int generation() const { return generation_; }
  DialogModel* current() { return current_.get(); }
  // The open dialog if it is a `Dialog`, else nullptr.
  template <class Dialog>
  Dialog* current() {
    return dynamic_cast<Dialog*>(current_.get());
  }

  void replyArrived(const ReplyNote& reply);

  // The route of a view's events: runs `handler` on the open dialog as an event of the main
  // window, or does nothing when no `Dialog` is open any more.
  template <class Dialog, class Handler>
  void send(Handler&& handler) {
    events_.run([this, &handler] {
      if (Dialog* dialog = current<Dialog>()) handler(*dialog);
    });
  }
  // The user closed the dialog's window.
  void closedByUser();

 private:
  WindowEvents& events_;
  std::span<const DialogRow> table_;
  DialogContext context_;
  int openSubForm_;
  int generation_ = 0;
  int raised_ = 0;
  std::unique_ptr<DialogModel> current_;
  std::vector<std::unique_ptr<DialogModel>> closed_;
};

}  // namespace rtceval
