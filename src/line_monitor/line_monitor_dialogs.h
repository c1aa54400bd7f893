#pragma once

#include <span>

#include "dialogs/dialog_table.h"

namespace rtceval {

namespace tool_window {
inline constexpr int kLineMonitor = 100;  // 通信监视
}  // namespace tool_window

// The tool windows of this folder, for the main window's dialog table.
std::span<const DialogRow> lineMonitorDialogs();

}  // namespace rtceval
