#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace rtceval::testing {

// Files in memory under a working directory and a data folder; every opened path is recorded,
// and the opener refuses when `viewerMissing` is set.
class FakeDesktop : public Desktop {
 public:
  std::string workingDirectory() const override { return working; }
  std::string dataDirectory() const override { return data; }
  bool fileExists(const std::string& path) const override { return files.count(path) != 0; }
  std::optional<std::string> readText(const std::string& path) const override {
    const auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  bool writeText(const std::string& path, const std::string& text) override {
    if (readOnly) return false;
    files[path] = text;
    return true;
  }
  bool openFile(const std::string& path, std::function<void()> noViewer) override {
    if (viewerMissing) return false;
    opened.push_back(path);
    lateNoViewer = std::move(noViewer);
    return true;
  }
  std::optional<SystemFacts> systemFacts() const override { return facts; }

  std::string working = "/home/user";
  std::string data = "/usr/share/rtceval";
  std::map<std::string, std::string> files;
  std::vector<std::string> opened;
  bool viewerMissing = false;
  // What the opener was told to run should it find no viewer later: a test may run it.
  std::function<void()> lateNoViewer;
  bool readOnly = false;  // every write fails, as on a full or write-protected disk
  std::optional<SystemFacts> facts;
};

}  // namespace rtceval::testing
