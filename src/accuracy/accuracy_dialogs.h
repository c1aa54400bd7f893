#pragma once

#include <span>

#include "dialogs/dialog_table.h"

namespace rtceval {

// The rows of this folder's windows in the dialog table.
std::span<const DialogRow> accuracyDialogs();

}  // namespace rtceval
