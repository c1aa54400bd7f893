#include "register_editors/register_editor_dialogs.h"

#include "dialogs/sub_form_ids.h"
#include "register_editors/control_panel.h"

namespace rtceval {

std::span<const DialogRow> registerEditorDialogs() {
  // In the order of the sub-form numbers.
  static constexpr DialogRow kRows[] = {
      {sub_form::frmCON, &makeDialog<ControlPanel>},
  };
  return kRows;
}

}  // namespace rtceval
