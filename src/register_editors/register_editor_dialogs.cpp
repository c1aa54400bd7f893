#include "register_editors/register_editor_dialogs.h"

#include "dialogs/sub_form_ids.h"
#include "register_editors/analog_trim_dialog.h"
#include "register_editors/digital_trim_dialog.h"
#include "register_editors/memory_dialog.h"
#include "register_editors/user_registers_dialog.h"

namespace rtceval {

// In the order of the sub-form numbers.
std::span<const DialogRow> registerEditorDialogs() {
  static constexpr DialogRow kRows[] = {
      {sub_form::frmATR, &makeDialog<AnalogTrimDialog>},
      {sub_form::frmDTR, &makeDialog<DigitalTrimDialog>},
      {sub_form::frmMem, &makeDialog<MemoryDialog>},
      {sub_form::frmUR, &makeDialog<UserRegistersDialog>},
  };
  return kRows;
}

}  // namespace rtceval
