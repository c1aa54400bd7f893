#pragma once

namespace rtceval {

// Numbers of the dialogs that the main window opens one at a time.
namespace sub_form {
inline constexpr int frmComm = 0;
inline constexpr int frmTime = 1;
inline constexpr int frmCON = 2;
inline constexpr int frmINT = 3;
inline constexpr int frmAlm1 = 4;
inline constexpr int frmAlm2 = 5;
inline constexpr int frmBP = 6;
inline constexpr int frmFO = 7;
inline constexpr int frmEV = 8;
inline constexpr int frmWDT = 9;
inline constexpr int frmATR = 10;
inline constexpr int frmDTR = 11;
inline constexpr int frmMem = 12;
inline constexpr int frmUR = 13;
inline constexpr int frmUM = 14;
inline constexpr int frmIICS = 15;
inline constexpr int frmAN = 16;
inline constexpr int frmAbout = 17;
inline constexpr int kNone = 255;  // no dialog opened yet
inline constexpr int kLast = frmAbout;
}  // namespace sub_form

// Numbers of the tool windows. Each may stay open beside the others and beside the dialog that is
// open; each has a dialog host of its own.
namespace tool_window {
inline constexpr int kLineMonitor = 100;  // 通信监视
inline constexpr int kAccuracy = 101;     // 走时精度测量
inline constexpr int kSnapshot = 102;     // 寄存器快照
inline constexpr int kAll[] = {kLineMonitor, kAccuracy, kSnapshot};
}  // namespace tool_window

}  // namespace rtceval
