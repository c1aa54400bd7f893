#pragma once

#include <span>

#include "dialogs/dialog_table.h"

namespace rtceval {

// The rows of this folder's dialogs in the dialog table.
std::span<const DialogRow> timeAlarmDialogs();

}  // namespace rtceval
