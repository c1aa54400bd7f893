#include "board_link/qt/core/frame_trace.h"

#include <cstdio>
#include <memory>

#include "board_link/board_link.h"
#include "board_link/line_decoder.h"

namespace rtceval::qt {

QString formatFrameTrace(const QTime& at, bool outgoing, std::span<const std::uint8_t> frame,
                         std::string_view meaning) {
  QString line = at.toString(QStringLiteral("HH:mm:ss.zzz"));
  line += outgoing ? QStringLiteral(" >") : QStringLiteral(" <");
  for (const std::uint8_t byte : frame)
    line += QStringLiteral(" %1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
  if (!meaning.empty())
    line += QStringLiteral("  ") +
            QString::fromUtf8(meaning.data(), static_cast<qsizetype>(meaning.size()));
  return line;
}

void traceFramesToStderr(BoardLink& link, const DeviceProfile& profile) {
  // The same decoder as the line monitor's, so both read the stream alike; it lives as long as
  // the link's observer list holds the printer.
  auto decoder = std::make_shared<LineDecoder>(profile);
  link.addFrameObserver([decoder](const LineFrame& frame) {
    const std::string meaning = decoder->meaning(frame);
    const QByteArray line =
        formatFrameTrace(QTime::currentTime(), frame.kind == LineFrame::Kind::Sent, frame.bytes,
                         meaning)
            .toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
  });
}

}  // namespace rtceval::qt
