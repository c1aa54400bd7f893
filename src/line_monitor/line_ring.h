#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rtceval {

// One line of the line monitor: a frame sent or received, or stray bytes.
struct MonitorLine {
  std::int64_t sinceOpenMs = 0;  // since the window opened
  int msOfDay = 0;               // the PC's local time of day
  bool outgoing = false;         // sent by the PC
  std::string bytes;             // as on the line; most frames fit the string's own storage
  std::string meaning;
};

// The latest lines up to a fixed number; when full, each new line takes the place of the oldest.
// Slots are reused, so a full ring appends without allocating for frames of the usual size.
class LineRing {
 public:
  explicit LineRing(std::size_t capacity);

  // The slot for a new line, the newest from now on; it may hold an old line's contents.
  MonitorLine& append();
  // Line i, 0 the oldest kept.
  const MonitorLine& operator[](std::size_t i) const;
  std::size_t size() const { return count_; }
  std::size_t capacity() const { return capacity_; }
  // Lines ever appended, including those dropped or cleared since: the position after the newest.
  std::uint64_t appended() const { return appended_; }
  void clear();

 private:
  std::size_t capacity_;
  std::vector<MonitorLine> slots_;
  std::size_t oldest_ = 0;
  std::size_t count_ = 0;
  std::uint64_t appended_ = 0;
};

}  // namespace rtceval
