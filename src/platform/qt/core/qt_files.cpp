#include "platform/qt/core/qt_files.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace rtceval::qt {
namespace {

QString fromUtf8(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

FileRead refused(FileRead::Refusal refusal, const QString& reason = {}) {
  return {std::nullopt, refusal, reason.toStdString()};
}

}  // namespace

FileRead QtFiles::readFile(const std::string& path, std::size_t limit) const {
  const QString name = fromUtf8(path);
  // Asked before opening: opening a pipe waits for a writer, and a device such as /dev/zero
  // never ends. A link to a regular file counts as the file.
  const QFileInfo info(name);
  if (info.exists() && !info.isFile()) return refused(FileRead::Refusal::NotAFile);
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly))
    return refused(FileRead::Refusal::CannotRead, file.errorString());
  // Swapped for a device between the question and the opening.
  if (file.isSequential()) return refused(FileRead::Refusal::NotAFile);
  // One byte more than allowed tells a file that is too long, also where the size is not known
  // beforehand (a file that grows while it is read).
  const qint64 most = limit >= static_cast<std::size_t>(std::numeric_limits<qint64>::max())
                          ? std::numeric_limits<qint64>::max()
                          : static_cast<qint64>(limit) + 1;
  if (file.size() > most) return refused(FileRead::Refusal::TooLarge);
  const QByteArray bytes =
      most == std::numeric_limits<qint64>::max() ? file.readAll() : file.read(most);
  if (file.error() != QFileDevice::NoError)
    return refused(FileRead::Refusal::CannotRead, file.errorString());
  if (static_cast<std::size_t>(bytes.size()) > limit) return refused(FileRead::Refusal::TooLarge);
  return {std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())),
          FileRead::Refusal::None,
          {}};
}

FileWrite QtFiles::writeFile(const std::string& path, const std::string& text) {
  QSaveFile file(fromUtf8(path));
  if (!file.open(QIODevice::WriteOnly)) return {file.errorString().toStdString()};
  const auto size = static_cast<qint64>(text.size());
  if (file.write(text.data(), size) != size) {
    FileWrite failed{file.errorString().toStdString()};
    file.cancelWriting();
    return failed;
  }
  // The flush of what is buffered, the sync and the rename: a full disk shows here at the latest.
  if (!file.commit()) return {file.errorString().toStdString()};
  return {};
}

}  // namespace rtceval::qt
