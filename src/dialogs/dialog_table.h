#pragma once

#include <memory>
#include <span>

#include "core/device_profile.h"
#include "dialogs/dialog_model.h"

namespace rtceval {

struct DialogContext;

// The main window's menus that hold the items of windows.
enum class WindowMenu { Command, Function, Tools, Help };

// A sub-form opens through Load_Sub_Form, closing the one opened before; a tool window may stay
// open beside the others and beside the sub-form, in a dialog host of its own.
enum class WindowKind { SubForm, Tool };

// One row of the dialog table: everything the rest of the program knows of a window. Each folder
// of windows lists its rows beside the windows; the main window joins the lists and derives from
// them its menu items, their enabling per chip model, and the hosts of the tool windows. A view
// finds its window by the model's type, so a row is the one place a window's number stands.
struct DialogRow {
  int number;        // the sub-form number Load_Sub_Form is given (0..17), or a tool window's
  const char* form;  // the window's name: frmDTR, ...
  WindowKind kind = WindowKind::SubForm;
  WindowMenu menu;
  // The place of its item among all items of its menu, counted from 0 (the main window's own
  // items, such as 读取时间, hold places too).
  int place;
  const char* item;     // the menu item's objectName
  const char* caption;  // the menu item's caption
  // The profile flag of the chips that offer the window; MFUN_FR enables its item from it. None:
  // every chip offers it, and the item follows its menu alone.
  bool DeviceProfile::*offeredBy = nullptr;
  // The item is disabled from the start until the user first picks a chip model.
  bool needsModel = false;
  // A file that must be found before the window opens (a help text), or none.
  const char* needsFile = nullptr;
  std::unique_ptr<DialogModel> (*make)(DialogContext& context);
};

// The factory of a dialog whose constructor takes the context.
template <class Dialog>
std::unique_ptr<DialogModel> makeDialog(DialogContext& context) {
  return std::make_unique<Dialog>(context);
}

// The row for `number` in `table`, or nullptr.
const DialogRow* findDialogRow(std::span<const DialogRow> table, int number);

}  // namespace rtceval
