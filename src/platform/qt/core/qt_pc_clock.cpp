#include "platform/qt/core/qt_pc_clock.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace rtceval::qt {

QString timeOfDayFormat(const QString& longFormat) {
  // Zone names are written with runs of 't' outside quoted literals; quoted text is kept, and a
  // quote without its closing quote is an ordinary character.
  QString out;
  out.reserve(longFormat.size());
  for (qsizetype i = 0; i < longFormat.size();) {
    const QChar c = longFormat.at(i);
    if (c == QLatin1Char('\'')) {
      const qsizetype close = longFormat.indexOf(QLatin1Char('\''), i + 1);
      if (close > i) {
        out += longFormat.mid(i, close - i + 1);
        i = close + 1;
        continue;
      }
    } else if (c == QLatin1Char('t')) {
      ++i;
      continue;
    }
    out += c;
    ++i;
  }
  return out.simplified();
}

PcDate QtPcClock::today() const {
  const QDate d = QDate::currentDate();
  // Qt counts Monday = 1 .. Sunday = 7; the program counts Sunday = 0 .. Saturday = 6.
  return PcDate{d.year(), d.month(), d.day(), d.dayOfWeek() % 7};
}

std::string QtPcClock::timeOfDayText() const {
  // Asked five times a second; the system's format is worked out once.
  if (format_.isEmpty()) format_ = timeOfDayFormat(locale_.timeFormat(QLocale::LongFormat));
  return locale_.toString(QTime::currentTime(), format_).toStdString();
}

PcInstant QtPcClock::now() const {
  return PcInstant{steady_.elapsed(), QTime::currentTime().msecsSinceStartOfDay()};
}

}  // namespace rtceval::qt
