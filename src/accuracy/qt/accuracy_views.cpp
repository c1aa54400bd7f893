#include "accuracy/qt/accuracy_views.h"

#include "accuracy/qt/accuracy_window_view.h"
#include "dialogs/sub_form_ids.h"

namespace rtceval::qt {

std::span<const DialogViewRow> accuracyDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      {tool_window::kAccuracy, &makeView<AccuracyWindowView>},
  };
  return kRows;
}

}  // namespace rtceval::qt
