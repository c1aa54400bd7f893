#pragma once

#include <QElapsedTimer>
#include <QLocale>
#include <QString>

#include "platform/pc_clock.h"

namespace rtceval::qt {

// The system's long time format without its time-zone part, which would not fit the status bar.
QString timeOfDayFormat(const QString& longFormat);

// The PC's calendar and time of day from the system clock and locale.
class QtPcClock : public PcClock {
 public:
  QtPcClock() { steady_.start(); }
  PcDate today() const override;
  std::string timeOfDayText() const override;
  PcInstant now() const override;

 private:
  QLocale locale_ = QLocale::system();
  mutable QString format_;
  QElapsedTimer steady_;
};

}  // namespace rtceval::qt
