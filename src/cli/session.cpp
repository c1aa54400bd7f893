#include "cli/session.h"

#include <chrono>

#include "board_link/board_status.h"
#include "board_link/port_search.h"
#include "board_link/reply_dispatcher.h"
#include "cli/exit_codes.h"
#include "core/protocol.h"
#include "platform/event_pump.h"
#include "platform/serial_port.h"

namespace rtceval::cli {
namespace {

using namespace std::chrono_literals;

// The write sequencer's steps are as far apart as in the main window.
constexpr Millis kWriteStepInterval = 50ms;
// The board search's tick, as in the main window: a port is opened on one tick and probed on the
// next.
constexpr Millis kSearchTick = 200ms;
// The last stretch before a moment to be met closely is run a millisecond at a time.
constexpr std::int64_t kFineWaitMs = 30;
// The chip does not answer while a non-volatile write cycle runs (up to 10 ms); on layout A the
// control registers, the alarms and the EEPROM are non-volatile.
constexpr Millis kWriteCycle = 10ms;

constexpr const char* kTextNoReply = "no reply from the board";
constexpr const char* kTextNoBoard = "no board found on ports 1 to 4";

}  // namespace

Session::Session(const Seams& seams, const DeviceProfile& profile, Millis timeout, Output& out)
    : seams_(seams),
      profile_(profile),
      timeout_(timeout),
      out_(out),
      link_(seams.port, seams.timers, profile),
      commands_(link_, profile, registers, records),
      sequencerTimer_(seams.timers.createTimer()),
      sequencer_(*sequencerTimer_, commands_, profile),
      wake_(seams.timers.createTimer()) {
  sequencerTimer_->setInterval(kWriteStepInterval);
  sequencerTimer_->setTickHandler([this] { sequencer_.tick(); });
  wake_->setTickHandler([this] { woken_ = true; });
  seams.port.setReceiveHandler(
      [this](std::span<const std::uint8_t> bytes) { link_.onReceived(bytes); });
  link_.setListener([this](const LinkEvent& event) { onEvent(event); });
}

Session::~Session() {
  sequencerTimer_->setEnabled(false);
  wake_->setEnabled(false);
  link_.stopResponseTimeout();
  seams_.port.setReceiveHandler({});
  link_.closePort();
}

void Session::onEvent(const LinkEvent& event) {
  switch (event.kind) {
    case LinkEvent::Kind::Reply:
      onReply(event);
      break;
    case LinkEvent::Kind::Timeout:
      if (timeoutObserver) timeoutObserver(event);
      if (awaited_ && !awaited_->outcome &&
          (event.ticket == awaited_->ticket || event.request == awaited_->state))
        awaited_->outcome = kNoBoard;
      break;
    case LinkEvent::Kind::FrameError:
      out_.error(std::string(event.text));
      break;
    case LinkEvent::Kind::Progress:
    case LinkEvent::Kind::Status:
    case LinkEvent::Kind::Overflow:
      break;
  }
}

void Session::onReply(const LinkEvent& event) {
  ReplyModels models{registers, records, reads};
  const ReplyOutcome outcome =
      ParseReply(event.frame, event.request, profile_, link_.PortNo(), models);
  const auto& f = event.frame;
  const bool refused = f.size() > protocol::kReplyData &&
                       f[protocol::kReplyFlag] == protocol::kFlagStatus &&
                       f[protocol::kReplyData] != protocol::kStatusOk;
  if (refused) out_.error(boardErrorText(f[protocol::kReplyData]));
  if (replyObserver) replyObserver(event, !refused && outcome.accepted);
  const bool mine = awaited_ && !awaited_->outcome &&
                    (event.ticket == awaited_->ticket ||
                     (awaited_->ticket == 0 && event.request == awaited_->state));
  if (!mine) {
    // An unlock step of a write: its refusal stands for the write.
    if (refused) refusedOnTheWay_ = kRefused;
    return;
  }
  if (refused || !outcome.accepted) {
    if (!refused && !outcome.texts.empty()) out_.error(outcome.texts.back());
    awaited_->outcome = kRefused;
    return;
  }
  if (f.size() > protocol::kReplyData)
    lastData_.assign(f.data() + protocol::kReplyData, f.data() + f.size() - 1);
  else
    lastData_.clear();
  awaited_->outcome = kDone;
}

int Session::await(Awaited awaited) {
  awaited_ = awaited;
  woken_ = false;
  wake_->setEnabled(false);
  wake_->setInterval(timeout_);
  wake_->setEnabled(true);
  seams_.pump.runUntil([this] { return awaited_->outcome || woken_ || interrupted_; });
  wake_->setEnabled(false);
  const std::optional<int> outcome = awaited_->outcome;
  awaited_.reset();
  if (interrupted_) return kInterrupted;
  if (!outcome || *outcome == kNoBoard) {
    out_.error(kTextNoReply);
    return kNoBoard;
  }
  return *outcome;
}

int Session::connect(int portNo) {
  if (portNo != 0) {
    link_.setPortNo(portNo);
    if (!link_.openPort(portNo)) {
      out_.error("cannot open port " + std::to_string(portNo) + " (" + link_.deviceName(portNo) +
                 ")");
      return kNoBoard;
    }
    return transact(requests::probe(StConnect));
  }
  // The program's own search: a port opened on one tick, probed on the next.
  const std::unique_ptr<Timer> tick = seams_.timers.createTimer();
  PortSearch search(link_, *tick);
  tick->setTickHandler([&search] {
    if (search.isDetecting()) search.detectionStep();
  });
  bool found = false;
  awaited_ = Awaited{0, StProbe, std::nullopt};
  tick->setInterval(kSearchTick);
  search.Auto_Dect_Brd();
  seams_.pump.runUntil([&] {
    found = awaited_->outcome == kDone;
    return found || !search.isDetecting() || interrupted_;
  });
  tick->setEnabled(false);
  awaited_.reset();
  if (interrupted_) return kInterrupted;
  if (!found) {
    out_.error(kTextNoBoard);
    return kNoBoard;
  }
  search.boardFound();
  return kDone;
}

int Session::transact(const Request& request) {
  const bool quiet = request.state == StProbe || request.state == StConnect;
  const RequestTicket ticket = quiet ? link_.requestQuietly(request) : link_.request(request);
  return await({ticket, request.state, std::nullopt});
}

int Session::write(WriteJob job) {
  refusedOnTheWay_.reset();
  sequencer_.start(job);
  const int outcome = await({0, static_cast<CmdStateCode>(job.kind()), std::nullopt});
  if (outcome == kDone && refusedOnTheWay_) return *refusedOnTheWay_;
  if (outcome == kDone && layout() == Layout::A && job.kind() != WriteJob::Kind::Time)
    return waitWriteCycle();
  return outcome;
}

int Session::waitWriteCycle() {
  return pause(kWriteCycle) ? kDone : kInterrupted;
}

bool Session::pause(Millis span) {
  if (span <= 0ms) return !interrupted_;
  woken_ = false;
  wake_->setEnabled(false);
  wake_->setInterval(span);
  wake_->setEnabled(true);
  seams_.pump.runUntil([this] { return woken_ || interrupted_; });
  wake_->setEnabled(false);
  return !interrupted_;
}

bool Session::waitUntil(std::int64_t ms) {
  const std::int64_t coarse = ms - seams_.clock.elapsedMs() - kFineWaitMs;
  if (coarse > 0 && !pause(Millis(coarse))) return false;
  while (seams_.clock.elapsedMs() < ms)
    if (!pause(1ms)) return false;
  return true;
}

}  // namespace rtceval::cli
