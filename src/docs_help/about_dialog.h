#pragma once

#include <functional>
#include <string>

#include "dialogs/dialog_model.h"

namespace rtceval {

class BoardLink;
class Desktop;
class MessageBoxes;
struct DialogContext;
struct SystemFacts;

// The About box frmAbout: the program's name, version, a description and the maker's notice,
// all fixed. "系统信息" shows a window of copyable text about the PC (operating system, Qt, the
// serial devices and which ports 1 to 4 they are, the port in use, the right to open serial
// devices) for a support engineer; its "复制" puts the whole text on the clipboard for the user's
// report, "关闭" closes it.
class AboutDialog : public DialogModel {
 public:
  struct Texts {
    static constexpr const char* kCaption = "关于";
    static constexpr const char* kTitle = "名称：KESMO时钟芯片简易评估系统";
    static constexpr const char* kVersion = "版本：1.05";
    static constexpr const char* kDescription =
        "本软件须与KESMO时钟芯片评估板配合使用，可运行于Windows及Linux等桌面操作系统，"
        "支持X1226、X1227、X1228、X1205、X1208和X1209，可评估这些芯片的全部功能和性能指标。";
    static constexpr const char* kDisclaimer =
        "本软件仅供评估芯片使用，按现状提供。KESMO对因使用本软件而造成的任何损失不承担责任。";
    static constexpr const char* kOk = "确    定";
    static constexpr const char* kSysInfo = "系统信息";
    static constexpr const char* kSysInfoCaption = "系统信息";
    static constexpr const char* kSysInfoCopy = "复制";
    static constexpr const char* kSysInfoClose = "关闭";
    static constexpr const char* kUnavailable = "System Information Is Unavailable At This Time";
  };

  explicit AboutDialog(DialogContext& context);

  // cmdOK: closes the About box.
  void okClicked();
  // cmdSysInfo: shows the system information (StartSysInfo).
  void sysInfoClicked();
  void startSysInfo();
  // "复制" of the system information window: its whole text onto the clipboard.
  void sysInfoCopyClicked();
  // "关闭" of the system information window, or its title bar's close button.
  void sysInfoCloseClicked();

  // The text of the "系统信息" window; empty until it was asked for.
  const std::string& systemInformation() const { return systemInformation_; }
  // Counts the requests of the window, so the view raises it again when it is asked for anew.
  int systemInformationRequests() const { return systemInformationRequests_; }
  // Whether the system information window is open.
  bool systemInformationOpen() const { return systemInformationOpen_; }

 private:
  BoardLink& link_;
  Desktop& desktop_;
  MessageBoxes& messageBoxes_;
  std::function<void()> close_;
  std::string systemInformation_;
  int systemInformationRequests_ = 0;
  bool systemInformationOpen_ = false;
};

// The lines of the "系统信息" window: `facts` and, for ports 1 to 4, the device each stands for
// (`deviceOf`), the port in use (0 for none) and whether it is open.
std::string systemInformationText(const SystemFacts& facts,
                                  const std::function<std::string(int portNo)>& deviceOf,
                                  int portInUse, bool portOpen);

}  // namespace rtceval
