#pragma once

#include <array>

#include "register_editors/bit_field_dialog.h"

namespace rtceval {

// frmINT "中断": the interrupt bits of INT (IM, and AL1E/AL0E or ALME/LPMODE/FOBATB); keeps the
// frequency-output field. Job 32.
class InterruptDialog final : public BitFieldDialog {
 public:
  static const BitFieldForm kForm;
  explicit InterruptDialog(DialogContext& context) : BitFieldDialog(context, kForm) {}
};

// frmFO "频率输出": the frequency-output field of INT (FO1/FO0, or FO3..FO0); keeps the interrupt
// bits. Job 32.
class FrequencyOutputDialog final : public BitFieldDialog {
 public:
  static const BitFieldForm kForm;
  explicit FrequencyOutputDialog(DialogContext& context) : BitFieldDialog(context, kForm) {}
};

// frmEV "事件": all eight bits of EV on the X1209, EVIENB and EVBATB shown as enables (ticked
// when their active-low bit is 0). Job 96.
class EventDialog final : public BitFieldDialog {
 public:
  static const BitFieldForm kForm;
  explicit EventDialog(DialogContext& context) : BitFieldDialog(context, kForm) {}
};

// frmWDT "看门狗": the watchdog interval WD1/WD0 of BL; keeps the block-protect bits. Job 48.
class WatchdogDialog final : public BitFieldDialog {
 public:
  static const BitFieldForm kForm;
  explicit WatchdogDialog(DialogContext& context) : BitFieldDialog(context, kForm) {}
};

// frmBP "页保护": the EEPROM block protection BP2..BP0 of BL, with the table of protected ranges;
// keeps the watchdog bits. Job 48.
class BlockProtectDialog final : public BitFieldDialog {
 public:
  struct ProtectRow {
    const char* bits;    // BP2 BP1 BP0
    const char* range;   // protected addresses
    const char* extent;  // in words
  };
  static const BitFieldForm kForm;
  static constexpr std::array<const char*, 3> kTableHeader{"BP2BP1BP0", "范围(位)", "说明"};
  static constexpr std::array<ProtectRow, 8> kTable{{
      {"0    0    0", "NONE", "不保护"},
      {"0    0    1", "6000~7FFF", "高1/4"},
      {"0    1    0", "4000~7FFF", "高1/2"},
      {"0    1    1", "0000~7FFF", "全部"},
      {"1    0    0", "0000~007F", "第1页"},
      {"1    0    1", "0000~00FF", "前2页"},
      {"1    1    0", "0000~01FF", "前4页"},
      {"1    1    1", "0000~03FF", "前8页"},
  }};
  explicit BlockProtectDialog(DialogContext& context) : BitFieldDialog(context, kForm) {}
};

}  // namespace rtceval
