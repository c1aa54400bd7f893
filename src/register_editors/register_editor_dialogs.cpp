#include "register_editors/register_editor_dialogs.h"

#include "dialogs/sub_form_ids.h"
#include "register_editors/bit_field_dialogs.h"

namespace rtceval {

// In the order of the sub-form numbers.
std::span<const DialogRow> registerEditorDialogs() {
  static constexpr DialogRow kRows[] = {
      {sub_form::frmINT, &makeDialog<InterruptDialog>},
      {sub_form::frmBP, &makeDialog<BlockProtectDialog>},
      {sub_form::frmFO, &makeDialog<FrequencyOutputDialog>},
      {sub_form::frmEV, &makeDialog<EventDialog>},
      {sub_form::frmWDT, &makeDialog<WatchdogDialog>},
  };
  return kRows;
}

}  // namespace rtceval
