#pragma once

#include <functional>

#include <QString>

#include "dialogs/qt/dialog_view.h"
#include "platform/qt/file_chooser.h"
#include "snapshot/snapshot_window.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace rtceval::qt {

// Draws the tool window "寄存器快照": the buttons, the tick box for the clock, the table of the
// shown snapshot, the comparison, the progress of a read or restore with its Cancel button and the
// status line. The file boxes ask for a path; the model
// does the rest.
class SnapshotWindowView : public DialogViewOf<SnapshotWindow> {
 public:
  SnapshotWindowView(DialogHost& host, QWidget* owner);

  void redraw() override;

  // Asks for a file: to save (true) or to open, starting from `suggested`; "" when cancelled.
  using PathChooser = std::function<QString(bool save, const QString& suggested)>;
  // The file boxes are replaceable so that a test can answer them.
  void setPathChooser(PathChooser chooser) { choosePath_ = std::move(chooser); }

 private:
  QPushButton* readButton_ = nullptr;
  QPushButton* openButton_ = nullptr;
  QPushButton* saveButton_ = nullptr;
  QPushButton* compareChipButton_ = nullptr;
  QPushButton* compareFileButton_ = nullptr;
  QPushButton* restoreButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QCheckBox* clockBox_ = nullptr;
  QLabel* sourceLabel_ = nullptr;
  QTableWidget* table_ = nullptr;
  QPlainTextEdit* comparison_ = nullptr;
  QLabel* statusLabel_ = nullptr;
  FileChooser files_;
  PathChooser choosePath_;
};

}  // namespace rtceval::qt
