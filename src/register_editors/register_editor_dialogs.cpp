#include "register_editors/register_editor_dialogs.h"

#include "dialogs/sub_form_ids.h"
#include "register_editors/bit_field_dialogs.h"
#include "register_editors/control_panel.h"

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
  };
  return kRows;
}

}  // namespace rtceval
