#include "board_link/qt/frame_trace.h"

#include <cstdio>

#include "board_link/board_link.h"

namespace rtceval::qt {

QString formatFrameTrace(const QTime& at, bool outgoing, std::span<const std::uint8_t> frame) {
  QString line = at.toString(QStringLiteral("HH:mm:ss.zzz"));
  line += outgoing ? QStringLiteral(" >") : QStringLiteral(" <");
  for (const std::uint8_t byte : frame)
    line += QStringLiteral(" %1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
  return line;
}

void traceFramesToStderr(BoardLink& link) {
  link.setFrameTrace([](bool outgoing, std::span<const std::uint8_t> frame) {
    const QByteArray line = formatFrameTrace(QTime::currentTime(), outgoing, frame).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
  });
}

}  // namespace rtceval::qt
