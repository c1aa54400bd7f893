#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "board_link/board_link.h"

namespace rtceval {

struct DeviceProfile;

// Puts what passes on the line into words, for the trace and the line monitor alike: a request
// (read or write, the device, the register or block by its name on the selected chip's layout,
// the address, the count and the data), a reply read under the request that went before it (the
// time it carries, a register's set bits, a board status code in the link panel's words, a
// checksum error), and stray bytes. Remembers the latest request, so one decoder must see the
// whole stream in order.
class LineDecoder {
 public:
  explicit LineDecoder(const DeviceProfile& profile);

  std::string meaning(const LineFrame& frame);

 private:
  // The latest request as it went out: the reply is read under it.
  struct Asked {
    bool probe = false;
    bool read = false;
    std::uint8_t device = 0;
    std::uint8_t address = 0;  // the low byte; registers and blocks all sit below 0x100
    std::uint8_t count = 0;
  };

  std::string requestMeaning(std::span<const std::uint8_t> frame);
  std::string replyMeaning(std::span<const std::uint8_t> frame) const;
  std::string dataMeaning(const Asked& asked, std::span<const std::uint8_t> data) const;

  const DeviceProfile& profile_;
  std::optional<Asked> asked_;
};

}  // namespace rtceval
