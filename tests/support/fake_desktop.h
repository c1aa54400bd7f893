#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace rtceval::testing {

// Files in memory under a working directory and a data folder; every opened path is recorded,
// and the opener refuses when `viewerMissing` is set; the clipboard is `clipboard`. The serial
// devices are `devices`, and `links` point names at devices (as /dev/serial/by-id/ does); a path is
// there when it is a listed device, one of `unlisted` (a pseudo-terminal, say), or a link to
// either.
class FakeDesktop : public Desktop {
 public:
  std::string workingDirectory() const override { return working; }
  std::string dataDirectory() const override { return data; }
  bool fileExists(const std::string& path) const override { return files.count(path) != 0; }
  FileRead readFile(const std::string& path, std::size_t limit) const override {
    if (notFiles.count(path)) return {std::nullopt, FileRead::Refusal::NotAFile, {}};
    const auto it = files.find(path);
    if (it == files.end())
      return {std::nullopt, FileRead::Refusal::CannotRead, "No such file or directory"};
    if (it->second.size() > limit) return {std::nullopt, FileRead::Refusal::TooLarge, {}};
    return {it->second, FileRead::Refusal::None, {}};
  }
  FileWrite writeFile(const std::string& path, const std::string& text) override {
    if (readOnly) return {"Read-only file system"};
    // The disk fills up part way: the seam's promise is that the old file stays as it was.
    if (text.size() > spaceLeft) return {"No space left on device"};
    files[path] = text;
    return {};
  }
  bool openFile(const std::string& path, std::function<void()> noViewer) override {
    if (viewerMissing) return false;
    opened.push_back(path);
    lateNoViewer = std::move(noViewer);
    return true;
  }
  std::optional<SystemFacts> systemFacts() const override { return facts; }
  void copyToClipboard(const std::string& text) override { clipboard = text; }
  std::vector<SerialDeviceFacts> serialDevices() const override {
    ++listings;
    return devices;
  }
  std::string resolveDevice(const std::string& path) const override {
    const auto link = links.find(path);
    const std::string target = link == links.end() ? path : link->second;
    if (unlisted.count(target)) return target;
    for (const SerialDeviceFacts& d : devices)
      if (d.device == target) return target;
    return {};
  }

  std::string working = "/home/user";
  std::string data = "/usr/share/rtceval";
  std::map<std::string, std::string> files;
  std::vector<std::string> opened;
  bool viewerMissing = false;
  // What the opener was told to run should it find no viewer later: a test may run it.
  std::function<void()> lateNoViewer;
  bool readOnly = false;                    // every write fails, as on a write-protected disk
  std::size_t spaceLeft = Files::kNoLimit;  // a longer write fails, as on a full disk
  std::set<std::string> notFiles;           // devices, pipes and folders: refused unread
  std::optional<SystemFacts> facts;
  std::string clipboard;
  std::vector<SerialDeviceFacts> devices;
  std::map<std::string, std::string> links;
  std::set<std::string> unlisted;
  mutable int listings = 0;
};

}  // namespace rtceval::testing
