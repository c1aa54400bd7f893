#pragma once

#include "dialogs/qt/dialog_view.h"
#include "line_monitor/line_monitor.h"
#include "platform/qt/file_chooser.h"

class QLabel;
class QPushButton;
class QTableView;

namespace rtceval::qt {

class LineTableModel;

// Draws the line monitor: the table of lines (following the newest unless the user has scrolled
// up), a status line, and the buttons Pause/Resume, Clear, Copy and Save. Ctrl+C copies the
// selected rows, Ctrl+S saves.
class LineMonitorView : public DialogViewOf<LineMonitor> {
 public:
  LineMonitorView(DialogHost& host, QWidget* owner);

  void redraw() override;
  // Copies the selected rows to the clipboard as tab-separated text.
  void copySelection();
  // Saves every line to `path` (CSV when it ends in .csv); the save button asks for the path.
  void saveTo(const QString& path);

 private:
  void askAndSave();

  LineTableModel* rows_ = nullptr;
  QTableView* table_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* pause_ = nullptr;
  QPushButton* clear_ = nullptr;
  QPushButton* copy_ = nullptr;
  QPushButton* save_ = nullptr;
  FileChooser files_;
};

}  // namespace rtceval::qt
