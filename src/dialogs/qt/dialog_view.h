#pragma once

#include <span>
#include <typeinfo>

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
  using ModelType = Model;
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

// One row of the view table: which models the view draws and how it is made. The number and
// everything else of the window stand in its model's row; the view is found from the open model,
// so this row lives in the folder's qt/ list only because the model's row may not name Qt types.
struct DialogViewRow {
  bool (*shows)(const DialogModel& model);
  DialogView* (*make)(DialogHost& host, QWidget* owner);
};

// The row of `View`, which draws models of exactly its ModelType.
template <class View>
constexpr DialogViewRow viewRow() {
  return {
      [](const DialogModel& model) { return typeid(model) == typeid(typename View::ModelType); },
      [](DialogHost& host, QWidget* owner) -> DialogView* { return new View(host, owner); }};
}

// The row of the view that draws `model`, or nullptr.
const DialogViewRow* findDialogViewRow(std::span<const DialogViewRow> table,
                                       const DialogModel& model);

}  // namespace rtceval::qt
