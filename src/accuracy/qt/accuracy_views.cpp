#include "accuracy/qt/accuracy_views.h"

#include "accuracy/qt/accuracy_window_view.h"

namespace rtceval::qt {

std::span<const DialogViewRow> accuracyDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      viewRow<AccuracyWindowView>(),
  };
  return kRows;
}

}  // namespace rtceval::qt
