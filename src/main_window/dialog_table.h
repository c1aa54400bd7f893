#pragma once

#include <span>

#include "dialogs/dialog_table.h"

namespace rtceval {

// Every dialog the main window can open, from the lists of the dialog folders.
std::span<const DialogRow> allDialogs();

}  // namespace rtceval
