#pragma once

#include <span>

#include "dialogs/dialog_table.h"

namespace rtceval {

// The tool windows of this folder, for the main window's dialog table.
std::span<const DialogRow> lineMonitorDialogs();

}  // namespace rtceval
