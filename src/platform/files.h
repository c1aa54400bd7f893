#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>

namespace rtceval {

// How writing a file ended: written whole, or why not (the system's words, for the window's own
// failure text).
struct FileWrite {
  std::string failure;  // empty when the file was written
  bool ok() const { return failure.empty(); }
};

// How reading a file ended: its whole text, or why there is none.
struct FileRead {
  enum class Refusal {
    None,
    CannotRead,  // missing, not permitted, or an error while reading: `reason` says which
    NotAFile,    // a folder, a device, a pipe: anything but a regular file is never read
    TooLarge,    // longer than the reader's limit; no more than the limit and one byte was read
  };
  std::optional<std::string> text;
  Refusal refusal = Refusal::None;
  std::string reason;  // the system's words when it could not be read
};

// Every file the program reads or writes goes through here, so a full disk, a missing folder, a
// write-protected file or a path that names a device is one path with one outcome.
class Files {
 public:
  static constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

  virtual ~Files() = default;
  // The whole text of a regular file of at most `limit` bytes. A device, a pipe or a folder is
  // refused without reading from it; a longer file is refused after reading the limit and one
  // byte, never whole.
  virtual FileRead readFile(const std::string& path, std::size_t limit) const = 0;
  // Replaces the file at `path` with `text` as a whole: complete or not at all. On any failure
  // the file that was there stays exactly as it was.
  virtual FileWrite writeFile(const std::string& path, const std::string& text) = 0;
};

}  // namespace rtceval
