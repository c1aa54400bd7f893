#include "main_window/main_window_controls.h"

#include "dialogs/sub_form_ids.h"

namespace rtceval {

std::array<LabelControl, kApplicationNoteCount> MainWindowControls::makeNoteLinks() {
  static constexpr std::array<const char*, kApplicationNoteCount> kNames = {
      "LabAN(0)", "LabAN(1)", "LabAN(2)", "LabAN(3)", "LabAN(4)",
      "LabAN(5)", "LabAN(6)", "LabAN(7)", "LabAN(8)"};
  constexpr int kRowLefts[] = {3360, 4080, 4800, 5520, 6240};
  constexpr int kFirstRowTop = 5280;
  constexpr int kSecondRowTop = 5520;
  constexpr std::size_t kPerRow = 5;
  std::array<LabelControl, kApplicationNoteCount> links{};
  for (std::size_t i = 0; i < links.size(); ++i) {
    const int top = i < kPerRow ? kFirstRowTop : kSecondRowTop;
    links[i] = LabelControl{kNames[i], applicationNoteNames()[i],
                            Twips{kRowLefts[i % kPerRow], top, 735, 255}, true, false};
  }
  return links;
}

std::array<MenuControl, kMenuCount> MainWindowControls::makeMenus() {
  using M = MenuId;
  const auto tool = [](M id, const char* name, const char* text, int window) {
    MenuControl item{id, name, text, M::MTOOLS};
    item.toolWindow = window;
    return item;
  };
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
      {M::CONNECT, "CONNECT", "手动连接", M::MCOMM, sub_form::frmComm},
      {M::READTIME, "READTIME", "读取时间", M::MCOMM},
      {M::SETTIME, "SETTIME", "设置时间", M::MCOMM, sub_form::frmTime},
      {M::STATUS, "STATUS", "状态控制", M::MCOMM, sub_form::frmCON},
      {M::MFUNCTION, "MFUNCTION", "(&F)功能", top},
      {M::mINT, "mINT", "中断", M::MFUNCTION, sub_form::frmINT},
      {M::ALARM1, "ALARM1", "报警 0", M::MFUNCTION, sub_form::frmAlm1},
      {M::ALARM2, "ALARM2", "报警 1", M::MFUNCTION, sub_form::frmAlm2},
      {M::FOUT, "FOUT", "频率输出", M::MFUNCTION, sub_form::frmFO},
      {M::mEVENT, "mEVENT", "事件", M::MFUNCTION, sub_form::frmEV},
      {M::WDT, "WDT", "看门狗", M::MFUNCTION, sub_form::frmWDT},
      {M::BP, "BP", "页保护", M::MFUNCTION, sub_form::frmBP},
      {M::DTR, "DTR", "数字微调", M::MFUNCTION, sub_form::frmDTR},
      {M::ATR, "ATR", "模拟微调", M::MFUNCTION, sub_form::frmATR},
      {M::MEMORY, "MEMORY", "存储器", M::MFUNCTION, sub_form::frmMem},
      {M::USERREG, "USERREG", "用户寄存器", M::MFUNCTION, sub_form::frmUR},
      {M::MTOOLS, "MTOOLS", "(&T)工具", top},
      tool(M::LINEMONITOR, "LINEMONITOR", "通信监视", tool_window::kLineMonitor),
      tool(M::ACCURACY, "ACCURACY", "走时精度测量", tool_window::kAccuracy),
      tool(M::SNAPSHOT, "SNAPSHOT", "寄存器快照", tool_window::kSnapshot),
      {M::MHELP, "MHELP", "(&H)帮助", top},
      {M::UM, "UM", "使用说明", M::MHELP, sub_form::frmUM},
      {M::IICS, "IICS", "IIC源程序", M::MHELP, sub_form::frmIICS},
      {M::AN, "AN", "应用笔记", M::MHELP, sub_form::frmAN},
      {M::MABOUT, "MABOUT", "关于", M::MHELP, sub_form::frmAbout},
  }};
}

}  // namespace rtceval
