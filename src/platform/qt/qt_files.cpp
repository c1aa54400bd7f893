#include "platform/qt/qt_files.h"

#include <QFile>
#include <QSaveFile>

namespace rtceval::qt {
namespace {

QString fromUtf8(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

std::optional<std::string> QtFiles::readFile(const std::string& path, std::size_t limit) const {
  QFile file(fromUtf8(path));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  // One byte more than allowed tells a file that is too long, also where the size is not known
  // beforehand.
  const qint64 most = limit >= static_cast<std::size_t>(std::numeric_limits<qint64>::max())
                          ? std::numeric_limits<qint64>::max()
                          : static_cast<qint64>(limit) + 1;
  const QByteArray bytes =
      most == std::numeric_limits<qint64>::max() ? file.readAll() : file.read(most);
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  if (static_cast<std::size_t>(bytes.size()) > limit) return std::nullopt;
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
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
