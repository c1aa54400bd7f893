#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>

namespace rtceval {

// How writing a file ended: written whole, or why not (the system's words, for a log or a
// tooltip; the windows show their own texts).
struct FileWrite {
  std::string failure;  // empty when the file was written
  bool ok() const { return failure.empty(); }
};

// Every file the program reads or writes goes through here, so a full disk, a missing folder or
// a write-protected file is one path with one outcome.
class Files {
 public:
  static constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

  virtual ~Files() = default;
  // The whole text of a file of at most `limit` bytes; nothing when it cannot be read or is
  // longer.
  virtual std::optional<std::string> readFile(const std::string& path, std::size_t limit) const = 0;
  // Replaces the file at `path` with `text` as a whole: complete or not at all. On any failure
  // the file that was there stays exactly as it was.
  virtual FileWrite writeFile(const std::string& path, const std::string& text) = 0;
};

}  // namespace rtceval
