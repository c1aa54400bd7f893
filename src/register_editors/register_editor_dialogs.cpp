#include "register_editors/register_editor_dialogs.h"

#include "dialogs/sub_form_ids.h"
#include "register_editors/analog_trim_dialog.h"
#include "register_editors/bit_field_dialogs.h"
#include "register_editors/control_panel.h"
#include "register_editors/digital_trim_dialog.h"
#include "register_editors/memory_dialog.h"
#include "register_editors/user_registers_dialog.h"

namespace rtceval {

std::span<const DialogRow> registerEditorDialogs() {
  // In the order of the sub-form numbers.
  static constexpr DialogRow kRows[] = {
      {sub_form::frmCON, &makeDialog<ControlPanel>},
      {sub_form::frmINT, &makeDialog<InterruptDialog>},
      {sub_form::frmBP, &makeDialog<BlockProtectDialog>},
      {sub_form::frmFO, &makeDialog<FrequencyOutputDialog>},
      {sub_form::frmEV, &makeDialog<EventDialog>},
      {sub_form::frmWDT, &makeDialog<WatchdogDialog>},
      {sub_form::frmATR, &makeDialog<AnalogTrimDialog>},
      {sub_form::frmDTR, &makeDialog<DigitalTrimDialog>},
      {sub_form::frmMem, &makeDialog<MemoryDialog>},
      {sub_form::frmUR, &makeDialog<UserRegistersDialog>},
  };
  return kRows;
}

}  // namespace rtceval
