#pragma once

#include <cstdint>
#include <span>

#include <QString>
#include <QTime>

namespace rtceval {
class BoardLink;
}

namespace rtceval::qt {

// One line of the frame trace: "HH:MM:SS.mmm > 55 00 05 ..." for a frame sent, "<" for one
// received, the bytes in upper-case hex.
QString formatFrameTrace(const QTime& at, bool outgoing, std::span<const std::uint8_t> frame);

// Prints every frame the link sends or receives to standard error.
void traceFramesToStderr(BoardLink& link);

}  // namespace rtceval::qt
