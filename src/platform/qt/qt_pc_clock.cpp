#include "platform/qt/qt_pc_clock.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>

namespace rtceval::qt {

QString timeOfDayFormat(const QString& longFormat) {
  // Zone names are written with runs of 't' outside quoted literals; quoted text is kept.
  static const QRegularExpression kParts(QStringLiteral("('[^']*')|t+"));
  QString out;
  qsizetype last = 0;
  for (auto it = kParts.globalMatch(longFormat); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    out += longFormat.mid(last, m.capturedStart() - last);
    if (m.hasCaptured(1)) out += m.captured(1);
    last = m.capturedEnd();
  }
  out += longFormat.mid(last);
  return out.simplified();
}

PcDate QtPcClock::today() const {
  const QDate d = QDate::currentDate();
  // Qt counts Monday = 1 .. Sunday = 7; the program counts Sunday = 0 .. Saturday = 6.
  return PcDate{d.year(), d.month(), d.day(), d.dayOfWeek() % 7};
}

std::string QtPcClock::timeOfDayText() const {
  const QLocale locale = QLocale::system();
  const QString format = timeOfDayFormat(locale.timeFormat(QLocale::LongFormat));
  return locale.toString(QTime::currentTime(), format).toStdString();
}

}  // namespace rtceval::qt
