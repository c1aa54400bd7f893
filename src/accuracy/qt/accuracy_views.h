#pragma once

#include <span>

#include "dialogs/qt/dialog_view.h"

namespace rtceval::qt {

// The rows of this folder's views in the view table.
std::span<const DialogViewRow> accuracyDialogViews();

}  // namespace rtceval::qt
