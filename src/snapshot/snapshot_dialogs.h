#pragma once

#include <span>

#include "dialogs/dialog_table.h"

namespace rtceval {

namespace tool_window {
inline constexpr int kSnapshot = 102;  // 寄存器快照
}  // namespace tool_window

// The rows of this folder's windows in the dialog table.
std::span<const DialogRow> snapshotDialogs();

}  // namespace rtceval
