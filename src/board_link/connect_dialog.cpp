#include "board_link/connect_dialog.h"

#include <chrono>

#include "board_link/board_link.h"
#include "main_window/status_bar.h"
#include "main_window/sub_forms.h"
#include "platform/dialogs.h"
#include "platform/timer.h"

namespace rtceval {
namespace {
using namespace std::chrono_literals;
constexpr Millis PROGRESS_INTERVAL = 100ms;
constexpr const char* TEXT_INVALID_PORT = "无效的串口.";
constexpr const char* TEXT_GIVE_UP = "不能连接到评估板，请检查串口、电缆、电源及评估板是否正确！";
constexpr const char* TITLE_WARNING = "警告";
}  // namespace

ConnectDialog::ConnectDialog(BoardLink& link, StatusBar& statusBar, Dialogs& dialogs,
                             TimerFactory& timers)
    : link_(link), statusBar_(statusBar), dialogs_(dialogs), timer_(timers.createTimer()) {
  timer_->setInterval(PROGRESS_INTERVAL);
  timer_->setTickHandler([this] { Timer1_Tick(); });
}

ConnectDialog::~ConnectDialog() = default;

int ConnectDialog::number() const {
  return SubForm::frmComm;
}

void ConnectDialog::Form_Load() {
  timer_->setEnabled(false);
  progressMax_ = PROGRESS_MAX;
  ackCount_ = 0;
  const int portNo = link_.state().PortNo;
  selected_ = (portNo >= 1 && portNo <= PORT_COUNT) ? portNo : 0;
}

void ConnectDialog::Option_Click(int portNo) {
  if (portNo >= 1 && portNo <= PORT_COUNT) selected_ = portNo;
}

void ConnectDialog::Command1_Click() {
  LinkState& s = link_.state();
  if (selected_ != 0) s.PortNo = static_cast<std::int16_t>(selected_);
  if (!link_.OpenPort(s.PortNo)) {
    statusBar_.setPanel(StatusBar::LINK, TEXT_INVALID_PORT);
    s.PortNo = static_cast<std::int16_t>(s.PortNo + 1);
    return;
  }
  timer_->setEnabled(true);
  link_.SendProbe(StConnect);
}

void ConnectDialog::Timer1_Tick() {
  if (ackCount_ > PROGRESS_MAX - 1) {
    // Stop first: the warning is modal, the timer would otherwise tick behind it and warn again.
    timer_->setEnabled(false);
    ackCount_ = 0;
    link_.state().RecvCount = 0;
    dialogs_.message(TEXT_GIVE_UP, TITLE_WARNING);
    return;  // the dialog may have been closed while the warning was open
  }
  ++ackCount_;
  progress_ = ackCount_;
}

void ConnectDialog::Unload() {
  timer_->setEnabled(false);
}

}  // namespace rtceval
