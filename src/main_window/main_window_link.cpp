#include "board_link/reply_dispatcher.h"
#include "main_window/indicators.h"
#include "main_window/main_window.h"
#include "platform/message_boxes.h"

namespace rtceval {
namespace {
constexpr const char* kTextOverflow = "接收缓冲区溢出";
constexpr const char* kTextTimeoutQuestion = "接收超时错,是否停止自动方式！";
constexpr const char* kTextNoAnswer = "接收超时错,评估板无应答";
constexpr const char* kTextReconnecting = "评估板已断开,正在重连…";
constexpr const char* kTitleError = "出错";
}  // namespace

void MainWindow::setLinkStatus(std::string_view text) {
  controls_.statusBar.setPanel(StatusBar::kLinkPanel, std::string(text));
}

void MainWindow::onLinkEvent(const LinkEvent& event) {
  switch (event.kind) {
    case LinkEvent::Kind::Progress:
      // While the board stays silent after a time-out, or its device is away, the panel keeps
      // saying so rather than showing the progress of requests that go unanswered.
      if (!boardSilent_ && !reconnect_.isWaiting()) setLinkStatus(event.text);
      break;
    case LinkEvent::Kind::Status:
      setLinkStatus(event.text);
      break;
    case LinkEvent::Kind::FrameError:
      setLinkStatus(event.text);
      events_.messageBoxes().beep();
      break;
    case LinkEvent::Kind::Overflow:
      // One box for the condition: an overflow while it stands or is about to open adds none.
      if (!overflowBoxOpen_) overflowNotice_->setEnabled(true);
      break;
    case LinkEvent::Kind::Reply:
      // The board answers again: a later time-out may ask again, and the port panel names its
      // port once more.
      timeoutQuestionDeclined_ = false;
      boardSilent_ = false;
      if (portPanelWithdrawn_) {
        portPanelWithdrawn_ = false;
        controls_.statusBar.setPanel(StatusBar::kPortPanel, std::to_string(link_.PortNo()));
      }
      onReply(event.request, event.ticket, event.frame);
      break;
    case LinkEvent::Kind::Timeout:
      // A request sent while the device was away: that the board is gone is said already.
      if (!reconnect_.isWaiting()) onResponseTimeout();
      break;
  }
}

void MainWindow::onReply(CmdStateCode request, RequestTicket ticket,
                         std::span<const std::uint8_t> frame) {
  ReplyModels models{registers_, records_, reads_};
  const ReplyOutcome outcome = ParseReply(frame, request, profile_, link_.PortNo(), models);
  for (const std::string& text : outcome.texts) setLinkStatus(text);
  if (outcome.beep) events_.messageBoxes().beep();
  if (outcome.accepted) {
    switch (request) {
      case StReadTime: {
        const ClockDisplay& shown = reads_.time.display;
        controls_.timeLabel.caption = shown.timeText;
        controls_.dateLabel.caption = shown.dateText;
        controls_.amLabel.enabled = shown.amEnabled;
        controls_.pmLabel.enabled = shown.pmEnabled;
        break;
      }
      case StReadSR:
        updateIndicators(controls_.colours, registers_.RegSR, profile_.Is1208Family);
        announcements_.srRead(registers_.RegSR, layoutOf(profile_.Is1208Family));
        break;
      case StProbe:
        search_.boardFound();
        [[fallthrough]];
      case StConnect:
        reconnect_.boardAnswered(link_.PortNo());
        controls_.statusBar.setPanel(StatusBar::kPortPanel, std::to_string(link_.PortNo()));
        break;
      default:
        break;
    }
  }
  if (outcome.interpreted) {
    const ReplyNote note{request, ticket, outcome.accepted};
    host_.replyArrived(note);
    for (auto& [number, tool] : toolHosts_) tool->replyArrived(note);
  }
}

void MainWindow::showOverflow() {
  overflowNotice_->setEnabled(false);
  overflowBoxOpen_ = true;
  events_.messageBoxes().message(kTextOverflow, {});
  overflowBoxOpen_ = false;
}

void MainWindow::onResponseTimeout() {
  // A request that got no answer says so, instead of leaving its progress text for good; and
  // the port panel no longer claims a board that does not answer.
  setLinkStatus(kTextNoAnswer);
  boardSilent_ = true;
  if (!controls_.statusBar.panel(StatusBar::kPortPanel).empty()) {
    controls_.statusBar.setPanel(StatusBar::kPortPanel, "");
    portPanelWithdrawn_ = true;
  }
  if (!(controls_.autoReadTime.checked || controls_.autoMonitor.checked) || timeoutQuestionOpen_ ||
      timeoutQuestionDeclined_)
    return;
  timeoutQuestionOpen_ = true;
  const bool stop = events_.messageBoxes().askYesNo(kTextTimeoutQuestion, kTitleError);
  timeoutQuestionOpen_ = false;
  if (stop) {
    setAutoReadTime(false);
    setAutoMonitor(false);
    // The reads the automatic modes asked for and that still wait for the line go no further.
    link_.withdrawWaiting(StReadTime);
    link_.withdrawWaiting(StReadSR);
  } else {
    // Once per outage: not asked again until the board has answered.
    timeoutQuestionDeclined_ = true;
  }
}

void MainWindow::onDeviceLost() {
  if (!reconnect_.deviceLost()) return;
  setLinkStatus(kTextReconnecting);
  controls_.statusBar.setPanel(StatusBar::kPortPanel, "");
  portPanelWithdrawn_ = false;
  boardSilent_ = false;
}

}  // namespace rtceval
