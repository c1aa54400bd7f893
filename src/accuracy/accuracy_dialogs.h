#pragma once

#include <span>

#include "dialogs/dialog_table.h"

namespace rtceval {

namespace tool_window {
inline constexpr int kAccuracy = 101;  // 走时精度测量
}  // namespace tool_window

// The rows of this folder's windows in the dialog table.
std::span<const DialogRow> accuracyDialogs();

}  // namespace rtceval
