#pragma once

#include <vector>

#include "dialogs/qt/dialog_view.h"
#include "register_editors/bit_field_dialog.h"
#include "register_editors/bit_field_dialogs.h"

class QCheckBox;
class QVBoxLayout;

namespace rtceval::qt {

// Draws a bit-field dialog from its form: the check boxes top to bottom, each explanatory text
// beside the boxes it explains, and the OK button below. A tick, from the mouse, the keyboard or
// an assistive technology, goes to the model; the boxes show the model's ticks and enabling.
class BitFieldDialogView : public DialogViewOf<BitFieldDialog> {
 public:
  BitFieldDialogView(DialogHost& host, QWidget* owner, const BitFieldForm& form);

  void redraw() override;

 protected:
  // The column the boxes, their texts and the OK button stand in; a dialog adds below them.
  QVBoxLayout* body() const { return body_; }

 private:
  std::vector<QCheckBox*> boxes_;
  QVBoxLayout* body_ = nullptr;
};

// The view of one of the bit-field dialogs, made by the view table.
template <class Dialog>
class BitFieldDialogViewFor : public BitFieldDialogView {
 public:
  using ModelType = Dialog;
  BitFieldDialogViewFor(DialogHost& host, QWidget* owner)
      : BitFieldDialogView(host, owner, Dialog::kForm) {}
};

using InterruptDialogView = BitFieldDialogViewFor<InterruptDialog>;
using FrequencyOutputDialogView = BitFieldDialogViewFor<FrequencyOutputDialog>;
using EventDialogView = BitFieldDialogViewFor<EventDialog>;
using WatchdogDialogView = BitFieldDialogViewFor<WatchdogDialog>;

// frmBP adds the table of protected ranges below its boxes: a header, eight rows, and three
// lines that rule the columns.
class BlockProtectDialogView : public BitFieldDialogView {
 public:
  using ModelType = BlockProtectDialog;
  BlockProtectDialogView(DialogHost& host, QWidget* owner);
};

}  // namespace rtceval::qt
