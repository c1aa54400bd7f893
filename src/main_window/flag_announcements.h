#pragma once

#include <cstdint>
#include <vector>

#include "core/device_profile.h"

namespace rtceval {

// Which alarm and event flags of SR the monitor has still to announce. A flag is due when an SR
// read first shows it set. A chip that keeps a flag set until it is written 0 (layout B without
// ARST) makes it due again only after a read has shown it clear, or when the monitor is ticked
// anew; a chip that clears its flags as SR is read (layout A, or ARST set) sets one again only
// for a new alarm, so there every read that shows it set makes it due.
class FlagAnnouncements {
 public:
  // An accepted SR read of a chip of `layout`.
  void srRead(std::uint8_t sr, Layout layout);
  // The monitor was ticked: the flags set in the last read, `sr`, are due once more.
  void monitorStarted(std::uint8_t sr, Layout layout);
  // The flags to announce now, as SR bits in the order of the layout (event before alarm,
  // alarm 1 before alarm 0); taking them makes them no longer due.
  std::vector<int> take(Layout layout);

 private:
  std::uint8_t due_ = 0;
  // Flags the last read showed set.
  std::uint8_t shownSet_ = 0;
};

}  // namespace rtceval
