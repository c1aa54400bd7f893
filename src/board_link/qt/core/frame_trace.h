#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include <QString>
#include <QTime>

namespace rtceval {
class BoardLink;
struct DeviceProfile;
}  // namespace rtceval

namespace rtceval::qt {

// One line of the frame trace: "HH:MM:SS.mmm > 55 00 05 ...  meaning" for a frame sent, "<" for
// bytes received, the bytes in upper-case hex, then what they mean (nothing when `meaning` is
// empty).
QString formatFrameTrace(const QTime& at, bool outgoing, std::span<const std::uint8_t> frame,
                         std::string_view meaning = {});

// Prints every frame the link sends or receives, and the stray bytes, to standard error, each
// with its meaning as the line monitor shows it; `profile` is the chip selected.
void traceFramesToStderr(BoardLink& link, const DeviceProfile& profile);

}  // namespace rtceval::qt
