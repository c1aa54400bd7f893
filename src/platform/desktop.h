#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/serial_devices.h"

namespace rtceval {

// What a support engineer asks about the PC the program runs on.
struct SystemFacts {
  std::string operatingSystem;
  std::string toolkitVersion;
  std::vector<SerialDeviceFacts> serialDevices;
  // Whether the user may open serial devices (member of their group, or root).
  bool maySerial = false;
};

// Files, the desktop's viewers, the clipboard and the facts of the system: the documents of the
// help menu and the main window's links, the About box's system information, and the serial devices
// behind the port numbers. Its files are the program's one file seam (`Files`).
class Desktop : public SerialDeviceLister, public Files {
 public:
  virtual ~Desktop() = default;
  // The process's current working directory, without a trailing separator.
  virtual std::string workingDirectory() const = 0;
  // The folder the installed program keeps its documents in, without a trailing separator.
  virtual std::string dataDirectory() const = 0;
  // True when a file exists at `path`; any error counts as missing.
  virtual bool fileExists(const std::string& path) const = 0;
  // Opens the file in the desktop's viewer for its type, the path passed as one argument (no
  // shell); false when no viewer could be started. Where the desktop's opener runs apart from
  // the program and finds only later that it has no viewer for the type, `noViewer` runs then.
  virtual bool openFile(const std::string& path, std::function<void()> noViewer) = 0;
  // Nothing when the facts cannot be gathered.
  virtual std::optional<SystemFacts> systemFacts() const = 0;
  // Puts `text` on the desktop's clipboard, replacing what was there.
  virtual void copyToClipboard(const std::string& text) = 0;
};

}  // namespace rtceval
