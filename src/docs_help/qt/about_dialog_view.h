#pragma once

#include <QPointer>

#include "dialogs/qt/dialog_view.h"
#include "docs_help/about_dialog.h"

class QDialog;
class QPlainTextEdit;

namespace rtceval::qt {

// Draws the About box frmAbout: the icon beside the name, version and description, a line, the
// maker's notice, a line, and the two buttons. The "系统信息" window it opens is a child window
// with the model's text, read-only and selectable, and the buttons "复制" and "关闭".
class AboutDialogView : public DialogViewOf<AboutDialog> {
 public:
  AboutDialogView(DialogHost& host, QWidget* owner);

  void redraw() override;

 private:
  void makeSysInfoWindow();

  QPointer<QDialog> sysInfoWindow_;
  QPlainTextEdit* sysInfoText_ = nullptr;
  int shownRequests_ = 0;
};

}  // namespace rtceval::qt
