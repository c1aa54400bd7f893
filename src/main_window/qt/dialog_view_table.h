#pragma once

#include <span>

#include "dialogs/qt/dialog_view.h"

namespace rtceval::qt {

// The view of every dialog the main window can open, from the lists of the dialog folders.
std::span<const DialogViewRow> allDialogViews();

}  // namespace rtceval::qt
