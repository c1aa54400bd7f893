#include "main_window/main_window_controls.h"

#include "dialogs/sub_form_ids.h"

namespace rtceval {

std::array<LabelControl, kApplicationNoteCount> MainWindowControls::makeNoteLinks() {
  static constexpr std::array<const char*, kApplicationNoteCount> NAMES = {
      "LabAN(0)", "LabAN(1)", "LabAN(2)", "LabAN(3)", "LabAN(4)",
      "LabAN(5)", "LabAN(6)", "LabAN(7)", "LabAN(8)"};
  constexpr int ROW_LEFTS[] = {3360, 4080, 4800, 5520, 6240};
  constexpr int FIRST_ROW_TOP = 5280;
  constexpr int SECOND_ROW_TOP = 5520;
  constexpr int PER_ROW = 5;
  std::array<LabelControl, kApplicationNoteCount> links{};
  for (int i = 0; i < kApplicationNoteCount; ++i) {
    const int top = i < PER_ROW ? FIRST_ROW_TOP : SECOND_ROW_TOP;
    links[i] = LabelControl{NAMES[i], ApplicationNoteNames()[i],
                            Twips{ROW_LEFTS[i % PER_ROW], top, 735, 255}, true, false};
  }
  return links;
}

std::array<MenuControl, kMenuCount> MainWindowControls::makeMenus() {
  using M = MenuId;
  const auto top = std::nullopt;
  return {{
      {M::MDEVICE, "MDEVICE", "(&D)器件", top},
      {M::X1226, "X1226", "X1226", M::MDEVICE},
      {M::X1227, "X1227", "X1227", M::MDEVICE},
      {M::X1228, "X1228", "X1228", M::MDEVICE},
      {M::X1205, "X1205", "X1205", M::MDEVICE},
      {M::X1208, "X1208", "X1208", M::MDEVICE},
      {M::X1209, "X1209", "X1209", M::MDEVICE},
      {M::MCOMM, "MCOMM", "(&C)命令", top},
      {M::CONNECT, "CONNECT", "手动连接", M::MCOMM, SubForm::frmComm},
      {M::READTIME, "READTIME", "读取时间", M::MCOMM},
      {M::SETTIME, "SETTIME", "设置时间", M::MCOMM, SubForm::frmTime},
      {M::STATUS, "STATUS", "状态控制", M::MCOMM, SubForm::frmCON},
      {M::MFUNCTION, "MFUNCTION", "(&F)功能", top},
      {M::mINT, "mINT", "中断", M::MFUNCTION, SubForm::frmINT},
      {M::ALARM1, "ALARM1", "报警 0", M::MFUNCTION, SubForm::frmAlm1},
      {M::ALARM2, "ALARM2", "报警 1", M::MFUNCTION, SubForm::frmAlm2},
      {M::FOUT, "FOUT", "频率输出", M::MFUNCTION, SubForm::frmFO},
      {M::mEVENT, "mEVENT", "事件", M::MFUNCTION, SubForm::frmEV},
      {M::WDT, "WDT", "看门狗", M::MFUNCTION, SubForm::frmWDT},
      {M::BP, "BP", "页保护", M::MFUNCTION, SubForm::frmBP},
      {M::DTR, "DTR", "数字微调", M::MFUNCTION, SubForm::frmDTR},
      {M::ATR, "ATR", "模拟微调", M::MFUNCTION, SubForm::frmATR},
      {M::MEMORY, "MEMORY", "存储器", M::MFUNCTION, SubForm::frmMem},
      {M::USERREG, "USERREG", "用户寄存器", M::MFUNCTION, SubForm::frmUR},
      {M::MHELP, "MHELP", "(&H)帮助", top},
      {M::UM, "UM", "使用说明", M::MHELP},
      {M::IICS, "IICS", "IIC源程序", M::MHELP},
      {M::AN, "AN", "应用笔记", M::MHELP},
      {M::MABOUT, "MABOUT", "关于", M::MHELP, SubForm::frmAbout},
  }};
}

}  // namespace rtceval
