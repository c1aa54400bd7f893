#include "platform/qt/core/qt_event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace rtceval::qt {

void QtEventPump::runUntil(const std::function<bool()>& done) {
  while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace rtceval::qt
