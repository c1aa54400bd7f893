#include "register_editors/qt/register_editor_views.h"

#include "dialogs/sub_form_ids.h"
#include "register_editors/qt/analog_trim_dialog_view.h"
#include "register_editors/qt/digital_trim_dialog_view.h"

namespace rtceval::qt {

// In the order of the sub-form numbers.
std::span<const DialogViewRow> registerEditorDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      {sub_form::frmATR, &makeView<AnalogTrimDialogView>},
      {sub_form::frmDTR, &makeView<DigitalTrimDialogView>},
  };
  return kRows;
}

}  // namespace rtceval::qt
