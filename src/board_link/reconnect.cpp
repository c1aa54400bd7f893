#include "board_link/reconnect.h"

#include <chrono>
#include <vector>

#include "board_link/board_link.h"
#include "board_link/requests.h"
#include "platform/serial_port.h"
#include "platform/timer.h"

namespace rtceval {
namespace {
using namespace std::chrono_literals;
constexpr Millis kLookInterval = 1000ms;
}  // namespace

bool sameAdapter(const SerialDeviceFacts& known, const SerialDeviceFacts& candidate) {
  if (!known.vendorId || !known.productId) return false;
  if (candidate.vendorId != known.vendorId || candidate.productId != known.productId) return false;
  if (!known.serialNumber.empty()) return candidate.serialNumber == known.serialNumber;
  return candidate.serialNumber.empty() && candidate.description == known.description;
}

Reconnect::Reconnect(BoardLink& link, SerialPort& port, const SerialDeviceLister& devices,
                     TimerFactory& timers)
    : link_(link), port_(port), devices_(devices), timer_(timers.createTimer()) {
  timer_->setInterval(kLookInterval);
  timer_->setTickHandler([this] { tick(); });
}

Reconnect::~Reconnect() = default;

void Reconnect::boardAnswered(int portNo) {
  timer_->setEnabled(false);
  Remembered known;
  known.portNo = portNo;
  known.path = link_.deviceName(portNo);
  known.facts = factsOfDevice(known.path, devices_);
  remembered_ = std::move(known);
}

bool Reconnect::deviceLost() {
  if (!remembered_ || remembered_->portNo != link_.PortNo()) return false;
  // What was on its way is lost with the device; the answer to a request that went out into the
  // void is not awaited.
  link_.stopResponseTimeout();
  link_.discardReply();
  timer_->setEnabled(true);
  return true;
}

void Reconnect::stop() {
  timer_->setEnabled(false);
}

bool Reconnect::isWaiting() const {
  return timer_->isEnabled();
}

std::string Reconnect::findDevice() const {
  if (!devices_.resolveDevice(remembered_->path).empty()) {
    // The same name may now belong to another adapter, plugged in while ours was out.
    const std::optional<SerialDeviceFacts> now = factsOfDevice(remembered_->path, devices_);
    if (!remembered_->facts || !now || sameAdapter(*remembered_->facts, *now))
      return remembered_->path;
  }
  if (!remembered_->facts) return {};
  std::vector<std::string> found;
  for (const SerialDeviceFacts& d : devices_.serialDevices()) {
    if (sameAdapter(*remembered_->facts, d)) found.push_back(d.device);
  }
  // Two adapters that both fit the description: neither is taken for the board's.
  return found.size() == 1 ? found.front() : std::string();
}

void Reconnect::probe() {
  link_.discardReply();
  link_.requestQuietly(requests::probe(StProbe));
}

void Reconnect::tick() {
  if (!remembered_ || (hold_ && hold_())) return;
  const int portNo = remembered_->portNo;
  if (link_.isPortOpen() && link_.PortNo() == portNo) {
    // The device is back but the board has not answered yet (it may still be powering up).
    probe();
    return;
  }
  const std::string device = findDevice();
  if (device.empty()) return;
  if (device != link_.deviceName(portNo)) port_.assignDevice(portNo, device);
  link_.setPortNo(portNo);
  if (!link_.openPort(portNo)) return;
  probe();
}

}  // namespace rtceval
