#pragma once

#include <span>

#include <QDialog>

#include "dialogs/dialog_host.h"

namespace rtceval::qt {

// A dialog the main window opens: modeless, owned by the main window's view and kept above it.
// It draws the open dialog's model and redraws whenever the main window does. Once the model has
// closed the dialog (detach) nothing more goes to the model; closing it by the title bar's button
// or the Escape key tells the dialog host.
class DialogView : public QDialog {
 public:
  DialogView(DialogHost& host, QWidget* owner);

  virtual void redraw() = 0;
  // The model has closed this dialog: nothing more goes to it.
  void detach() { detached_ = true; }

  void reject() override;

 protected:
  bool detached() const { return detached_; }
  DialogHost& host_;

 private:
  bool detached_ = false;
};

// The view of a dialog model of type `Model`: the one route of the user's events to the model,
// and the model to draw.
template <class Model>
class DialogViewOf : public DialogView {
 public:
  using DialogView::DialogView;

 protected:
  // Runs `handler` on the model as an event of the main window, unless the dialog was closed.
  template <class Handler>
  void send(Handler&& handler) {
    if (!detached()) host_.send<Model>(std::forward<Handler>(handler));
  }
  // The model to draw, or nullptr once the dialog has been closed.
  const Model* model() { return detached() ? nullptr : host_.current<Model>(); }
};

// One row of the view table: the sub-form number and how its view is made.
struct DialogViewRow {
  int number;
  DialogView* (*make)(DialogHost& host, QWidget* owner);
};

template <class View>
DialogView* makeView(DialogHost& host, QWidget* owner) {
  return new View(host, owner);
}

// The row for `number`, or nullptr.
const DialogViewRow* findDialogViewRow(std::span<const DialogViewRow> table, int number);

}  // namespace rtceval::qt
