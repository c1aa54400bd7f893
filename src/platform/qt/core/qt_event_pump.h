#pragma once

#include "platform/event_pump.h"

namespace rtceval::qt {

// Runs Qt's event loop, sleeping until the next event, until the condition holds.
class QtEventPump : public EventPump {
 public:
  void runUntil(const std::function<bool()>& done) override;
};

}  // namespace rtceval::qt
