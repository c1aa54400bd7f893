#pragma once

#include <memory>

#include <QAbstractFileIconProvider>
#include <QString>

class QFileDialog;
class QWidget;

namespace rtceval::qt {

// Icons and type names of the file boxes from what an entry is (folder, file, link), never from
// its content: the toolkit's own guess reads the start of every file listed, which stalls on a
// device or a pipe (listing /proc or /dev) and would do so on the window's thread.
class NameOnlyIconProvider : public QAbstractFileIconProvider {
 public:
  QIcon icon(const QFileInfo& info) const override;
  QString type(const QFileInfo& info) const override;
  using QAbstractFileIconProvider::icon;
};

// The file boxes of one window: the toolkit's own dialog (the desktop's may guess types from
// content too), starting in the folder this window last used, or in the user's documents at
// first, never in a folder the toolkit remembered from another program.
class FileChooser {
 public:
  FileChooser();
  ~FileChooser();

  // A path to save to, starting with `suggestedName` in the start folder; `chosenFilter`, when
  // given, receives the filter picked. "" when cancelled.
  QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedName,
                       const QString& filter, QString* chosenFilter = nullptr);
  // A path of an existing file to open; "" when cancelled.
  QString openFileName(QWidget* parent, const QString& caption, const QString& filter);

  // The dialog as it would be shown, not yet shown: for a caller that wants to show it itself
  // and for a test. `save`: a save box rather than an open box.
  std::unique_ptr<QFileDialog> dialog(QWidget* parent, bool save, const QString& caption,
                                      const QString& filter, const QString& suggestedName = {});
  // Where the next box starts.
  const QString& folder() const { return folder_; }
  // A path chosen: the next box starts in its folder.
  void remember(const QString& path);

  // The user's documents folder, or the home folder where there is none.
  static QString documentsFolder();

 private:
  QString folder_;
  NameOnlyIconProvider icons_;
};

}  // namespace rtceval::qt
