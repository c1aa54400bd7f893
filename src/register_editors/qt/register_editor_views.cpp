#include "register_editors/qt/register_editor_views.h"

#include "register_editors/qt/analog_trim_dialog_view.h"
#include "register_editors/qt/bit_field_dialog_view.h"
#include "register_editors/qt/control_panel_view.h"
#include "register_editors/qt/digital_trim_dialog_view.h"
#include "register_editors/qt/memory_dialog_view.h"
#include "register_editors/qt/user_registers_dialog_view.h"

namespace rtceval::qt {

std::span<const DialogViewRow> registerEditorDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      viewRow<ControlPanelView>(),       viewRow<InterruptDialogView>(),
      viewRow<BlockProtectDialogView>(), viewRow<FrequencyOutputDialogView>(),
      viewRow<EventDialogView>(),        viewRow<WatchdogDialogView>(),
      viewRow<AnalogTrimDialogView>(),   viewRow<DigitalTrimDialogView>(),
      viewRow<MemoryDialogView>(),       viewRow<UserRegistersDialogView>(),
  };
  return kRows;
}

}  // namespace rtceval::qt
