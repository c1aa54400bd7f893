#include "connection/connect_dialog.h"

#include <chrono>

#include "board_link/board_link.h"
#include "board_link/requests.h"
#include "dialogs/dialog_context.h"
#include "platform/desktop.h"
#include "platform/message_boxes.h"
#include "platform/serial_devices.h"
#include "platform/timer.h"

namespace rtceval {
namespace {
using namespace std::chrono_literals;
constexpr Millis kProgressInterval = 100ms;
constexpr const char* kTextInvalidPort = "无效的串口.";
constexpr const char* kTextGiveUp = "不能连接到评估板，请检查串口、电缆、电源及评估板是否正确！";
constexpr const char* kTitleWarning = "警告";
}  // namespace

ConnectDialog::ConnectDialog(DialogContext& context)
    : link_(context.link),
      messageBoxes_(context.messageBoxes),
      devices_(context.desktop),
      close_(context.close),
      timer_(context.timers.createTimer()) {
  timer_->setInterval(kProgressInterval);
  timer_->setTickHandler([this] { progressTick(); });
}

ConnectDialog::~ConnectDialog() = default;

void ConnectDialog::Form_Load() {
  timer_->setEnabled(false);
  progressMax_ = kProgressMax;
  ackCount_ = 0;
  const int portNo = link_.PortNo();
  selected_ = (portNo >= kFirstPort && portNo <= kLastPort) ? portNo : 0;
  const SerialDeviceSnapshot listed(devices_);
  for (int n = kFirstPort; n <= kLastPort; ++n)
    portFacts_[static_cast<std::size_t>(n - kFirstPort)] =
        describeSerialDevice(link_.deviceName(n), listed);
}

void ConnectDialog::portClicked(int portNo) {
  if (portNo >= kFirstPort && portNo <= kLastPort) selected_ = portNo;
}

void ConnectDialog::connectClicked() {
  // A port that cannot be opened leaves the working one, and the port number, as they were.
  const int chosen = selected_ != 0 ? selected_ : link_.PortNo();
  if (!link_.openInstead(chosen)) {
    link_.showStatus(kTextInvalidPort);
    status_ = kTextInvalidPort;
    return;
  }
  status_.clear();
  link_.setPortNo(chosen);
  timer_->setEnabled(true);
  link_.requestQuietly(requests::probe(StConnect));
}

std::string ConnectDialog::deviceName(int portNo) const {
  return link_.deviceName(portNo);
}

std::string ConnectDialog::portFacts(int portNo) const {
  if (portNo < kFirstPort || portNo > kLastPort) return {};
  return portFacts_[static_cast<std::size_t>(portNo - kFirstPort)];
}

void ConnectDialog::progressTick() {
  if (ackCount_ > kProgressMax - 1) {
    // Stop first: the warning is modal, the timer would otherwise tick behind it and warn again.
    timer_->setEnabled(false);
    ackCount_ = 0;
    link_.discardReply();
    messageBoxes_.message(kTextGiveUp, kTitleWarning);
    return;  // the dialog may have been closed while the warning was open
  }
  ++ackCount_;
  progress_ = ackCount_;
}

void ConnectDialog::replyArrived(const ReplyNote& reply) {
  // The board answered the probe, or answered something else instead: either way the attempt is
  // over.
  if (reply.request == StConnect && close_) close_();
}

void ConnectDialog::unload() {
  timer_->setEnabled(false);
}

}  // namespace rtceval
