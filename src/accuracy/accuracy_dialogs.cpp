#include "accuracy/accuracy_dialogs.h"

#include "accuracy/accuracy_window.h"

namespace rtceval {

std::span<const DialogRow> accuracyDialogs() {
  static constexpr DialogRow kRows[] = {
      {.number = tool_window::kAccuracy,
       .form = "AccuracyWindow",
       .kind = WindowKind::Tool,
       .menu = WindowMenu::Tools,
       .place = 1,
       .item = "ACCURACY",
       .caption = "走时精度测量",
       .make = &makeDialog<AccuracyWindow>},
  };
  return kRows;
}

}  // namespace rtceval
