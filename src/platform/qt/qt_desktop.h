#pragma once

#include <QString>

#include "platform/desktop.h"
#include "platform/qt/core/qt_files.h"

namespace rtceval::qt {

// Files through QtFiles (whole or not at all), file existence through QFileInfo, viewers through
// the desktop's opener (QDesktopServices, which passes the file as one argument and never through
// a shell), serial devices through QSerialPortInfo, the clipboard through QClipboard.
class QtDesktop : public Desktop {
 public:
  // `dataDirectory`: the installed documents, e.g. <prefix>/share/rtceval.
  explicit QtDesktop(QString dataDirectory);

  std::string workingDirectory() const override;
  std::string dataDirectory() const override;
  bool fileExists(const std::string& path) const override;
  FileRead readFile(const std::string& path, std::size_t limit) const override {
    return files_.readFile(path, limit);
  }
  FileWrite writeFile(const std::string& path, const std::string& text) override {
    return files_.writeFile(path, text);
  }
  bool openFile(const std::string& path, std::function<void()> noViewer) override;
  std::optional<SystemFacts> systemFacts() const override;
  void copyToClipboard(const std::string& text) override;
  std::vector<SerialDeviceFacts> serialDevices() const override;
  std::string resolveDevice(const std::string& path) const override;

  // The data folder of a program installed as <prefix>/bin/<program>, or `buildTreeData` for a
  // program run where it was built.
  static QString installedDataDirectory(const QString& buildTreeData);

 private:
  QString dataDirectory_;
  QtFiles files_;
};

}  // namespace rtceval::qt
