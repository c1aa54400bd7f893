#include "register_editors/register_editor_dialogs.h"

#include "register_editors/analog_trim_dialog.h"
#include "register_editors/bit_field_dialogs.h"
#include "register_editors/control_panel.h"
#include "register_editors/digital_trim_dialog.h"
#include "register_editors/memory_dialog.h"
#include "register_editors/user_registers_dialog.h"

namespace rtceval {
namespace {

// The row of a bit-field dialog: its form names it, gives its caption and the chips that have it.
template <class Dialog>
DialogRow bitFieldRow(int number, int place, const char* item) {
  const BitFieldForm& f = Dialog::kForm;
  return {.number = number,
          .form = f.formName,
          .menu = WindowMenu::Function,
          .place = place,
          .item = item,
          .caption = f.caption,
          .offeredBy = f.feature,
          .make = &makeDialog<Dialog>};
}

}  // namespace

std::span<const DialogRow> registerEditorDialogs() {
  // In the order of the sub-form numbers.
  static const DialogRow kRows[] = {
      {.number = 2,
       .form = "frmCON",
       .menu = WindowMenu::Command,
       .place = 3,
       .item = "STATUS",
       .caption = "状态控制",
       .needsModel = true,
       .make = &makeDialog<ControlPanel>},
      bitFieldRow<InterruptDialog>(3, 0, "mINT"),
      bitFieldRow<BlockProtectDialog>(6, 6, "BP"),
      bitFieldRow<FrequencyOutputDialog>(7, 3, "FOUT"),
      bitFieldRow<EventDialog>(8, 4, "mEVENT"),
      bitFieldRow<WatchdogDialog>(9, 5, "WDT"),
      {.number = 10,
       .form = "frmATR",
       .menu = WindowMenu::Function,
       .place = 8,
       .item = "ATR",
       .caption = "模拟微调",
       .make = &makeDialog<AnalogTrimDialog>},
      {.number = 11,
       .form = "frmDTR",
       .menu = WindowMenu::Function,
       .place = 7,
       .item = "DTR",
       .caption = "数字微调",
       .make = &makeDialog<DigitalTrimDialog>},
      {.number = 12,
       .form = "frmMem",
       .menu = WindowMenu::Function,
       .place = 9,
       .item = "MEMORY",
       .caption = "存储器",
       .offeredBy = &DeviceProfile::HasMemory,
       .make = &makeDialog<MemoryDialog>},
      {.number = 13,
       .form = "frmUR",
       .menu = WindowMenu::Function,
       .place = 10,
       .item = "USERREG",
       .caption = "用户寄存器",
       .offeredBy = &DeviceProfile::HasUserReg,
       .make = &makeDialog<UserRegistersDialog>},
  };
  return kRows;
}

}  // namespace rtceval
