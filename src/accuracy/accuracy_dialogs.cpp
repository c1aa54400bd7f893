#include "accuracy/accuracy_dialogs.h"

#include "accuracy/accuracy_window.h"
#include "dialogs/sub_form_ids.h"

namespace rtceval {

std::span<const DialogRow> accuracyDialogs() {
  static constexpr DialogRow kRows[] = {
      {tool_window::kAccuracy, &makeDialog<AccuracyWindow>},
  };
  return kRows;
}

}  // namespace rtceval
