#include "main_window/flag_announcements.h"

#include <array>
#include <optional>
#include <string_view>

#include "core/register_map.h"

namespace rtceval {
namespace {

// The monitored flags of a layout's SR in announcement order.
std::array<std::optional<int>, 2> monitoredBits(Layout layout) {
  const StatusIndicatorBits bits = indicatorBits(layout);
  if (layout == Layout::B) return {bits.event, bits.alarm0};
  return {bits.alarm1, bits.alarm0};
}

std::uint8_t monitoredMask(Layout layout) {
  unsigned mask = 0;
  for (const std::optional<int>& bit : monitoredBits(layout))
    if (bit) mask |= 1U << *bit;
  return static_cast<std::uint8_t>(mask);
}

bool clearsFlagsOnRead(std::uint8_t sr, Layout layout) {
  if (layout == Layout::A) return true;
  const BitNames& names = registerOf(RegisterId::SR).bits(layout);
  for (std::size_t bit = 0; bit < names.size(); ++bit)
    if (names[bit].panel && std::string_view(names[bit].panel) == "ARST")
      return ((static_cast<unsigned>(sr) >> bit) & 1U) != 0;
  return false;
}

}  // namespace

void FlagAnnouncements::srRead(std::uint8_t sr, Layout layout) {
  const auto set = static_cast<std::uint8_t>(sr & monitoredMask(layout));
  const auto fresh =
      clearsFlagsOnRead(sr, layout) ? set : static_cast<std::uint8_t>(set & ~shownSet_);
  due_ = static_cast<std::uint8_t>(due_ | fresh);
  shownSet_ = set;
}

void FlagAnnouncements::monitorStarted(std::uint8_t sr, Layout layout) {
  shownSet_ = static_cast<std::uint8_t>(sr & monitoredMask(layout));
  due_ = shownSet_;
}

std::vector<int> FlagAnnouncements::take(Layout layout) {
  std::vector<int> taken;
  for (const std::optional<int>& bit : monitoredBits(layout))
    if (bit && ((due_ >> *bit) & 1)) taken.push_back(*bit);
  due_ = 0;
  return taken;
}

}  // namespace rtceval
