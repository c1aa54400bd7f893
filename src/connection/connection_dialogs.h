#pragma once

#include <span>

#include "dialogs/dialog_table.h"

namespace rtceval {

// The port dialog, which the main window names: a board search waits while the user picks a port.
namespace sub_form {
inline constexpr int frmComm = 0;
}  // namespace sub_form

// The rows of this folder's dialogs in the dialog table.
std::span<const DialogRow> connectionDialogs();

}  // namespace rtceval
