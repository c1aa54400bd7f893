#pragma once

#include <QString>

#include "platform/desktop.h"

namespace rtceval::qt {

// Files through QFile/QFileInfo, viewers through the desktop's opener (QDesktopServices, which
// passes the file as one argument and never through a shell), serial devices through
// QSerialPortInfo.
class QtDesktop : public Desktop {
 public:
  // `dataDirectory`: the installed documents, e.g. <prefix>/share/rtceval.
  explicit QtDesktop(QString dataDirectory);

  std::string workingDirectory() const override;
  std::string dataDirectory() const override;
  bool fileExists(const std::string& path) const override;
  std::optional<std::string> readText(const std::string& path) const override;
  bool writeText(const std::string& path, const std::string& text) override;
  bool openFile(const std::string& path, std::function<void()> noViewer) override;
  std::optional<SystemFacts> systemFacts() const override;
  std::vector<SerialDeviceFacts> serialDevices() const override;
  std::string resolveDevice(const std::string& path) const override;

  // The data folder of a program installed as <prefix>/bin/<program>, or `buildTreeData` for a
  // program run where it was built.
  static QString installedDataDirectory(const QString& buildTreeData);

 private:
  QString dataDirectory_;
};

}  // namespace rtceval::qt
