#include "register_editors/qt/register_editor_views.h"

#include "dialogs/sub_form_ids.h"
#include "register_editors/qt/analog_trim_dialog_view.h"
#include "register_editors/qt/bit_field_dialog_view.h"
#include "register_editors/qt/control_panel_view.h"
#include "register_editors/qt/digital_trim_dialog_view.h"
#include "register_editors/qt/memory_dialog_view.h"
#include "register_editors/qt/user_registers_dialog_view.h"

namespace rtceval::qt {

std::span<const DialogViewRow> registerEditorDialogViews() {
  // In the order of the sub-form numbers.
  static constexpr DialogViewRow kRows[] = {
      {sub_form::frmCON, &makeView<ControlPanelView>},
      {sub_form::frmINT, &makeView<InterruptDialogView>},
      {sub_form::frmBP, &makeView<BlockProtectDialogView>},
      {sub_form::frmFO, &makeView<FrequencyOutputDialogView>},
      {sub_form::frmEV, &makeView<EventDialogView>},
      {sub_form::frmWDT, &makeView<WatchdogDialogView>},
      {sub_form::frmATR, &makeView<AnalogTrimDialogView>},
      {sub_form::frmDTR, &makeView<DigitalTrimDialogView>},
      {sub_form::frmMem, &makeView<MemoryDialogView>},
      {sub_form::frmUR, &makeView<UserRegistersDialogView>},
  };
  return kRows;
}

}  // namespace rtceval::qt
