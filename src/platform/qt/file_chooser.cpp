#include "platform/qt/file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace rtceval::qt {

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
  // Asking the file system whether it is a folder reads no content.
  return icon(info.isDir() ? QAbstractFileIconProvider::Folder : QAbstractFileIconProvider::File);
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
  if (info.isDir()) return QString::fromUtf8("文件夹");
  if (!info.isFile()) return QString::fromUtf8("设备或管道");
  const QString suffix = info.suffix();
  return suffix.isEmpty() ? QString::fromUtf8("文件")
                          : suffix.toUpper() + QString::fromUtf8(" 文件");
}

FileChooser::FileChooser() : folder_(documentsFolder()) {}

FileChooser::~FileChooser() = default;

QString FileChooser::documentsFolder() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

std::unique_ptr<QFileDialog> FileChooser::dialog(QWidget* parent, bool save, const QString& caption,
                                                 const QString& filter,
                                                 const QString& suggestedName) {
  auto box = std::make_unique<QFileDialog>(parent, caption, folder_, filter);
  box->setOption(QFileDialog::DontUseNativeDialog);
  box->setIconProvider(&icons_);
  box->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  box->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // Set again after the toolkit has restored its own last folder, which wins otherwise.
  box->setDirectory(folder_);
  if (!suggestedName.isEmpty()) box->selectFile(suggestedName);
  return box;
}

void FileChooser::remember(const QString& path) {
  if (!path.isEmpty()) folder_ = QFileInfo(path).absolutePath();
}

QString FileChooser::saveFileName(QWidget* parent, const QString& caption,
                                  const QString& suggestedName, const QString& filter,
                                  QString* chosenFilter) {
  const std::unique_ptr<QFileDialog> box = dialog(parent, true, caption, filter, suggestedName);
  if (box->exec() != QDialog::Accepted || box->selectedFiles().isEmpty()) return {};
  if (chosenFilter) *chosenFilter = box->selectedNameFilter();
  const QString path = box->selectedFiles().constFirst();
  remember(path);
  return path;
}

QString FileChooser::openFileName(QWidget* parent, const QString& caption, const QString& filter) {
  const std::unique_ptr<QFileDialog> box = dialog(parent, false, caption, filter);
  if (box->exec() != QDialog::Accepted || box->selectedFiles().isEmpty()) return {};
  const QString path = box->selectedFiles().constFirst();
  remember(path);
  return path;
}

}  // namespace rtceval::qt
