#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "board_link/requests.h"
#include "core/cmd_state.h"
#include "core/protocol.h"

namespace rtceval {

class SerialPort;
class Timer;
class TimerFactory;
struct DeviceProfile;

// What the link tells its owner. `text` is valid for Progress, Status and FrameError, `request` and
// `frame` for Reply; both only for the duration of the call.
struct LinkEvent {
  enum class Kind {
    Progress,    // a request went out: its progress text for the link panel
    Status,      // a text of the link's own for the link panel (a port's fate)
    FrameError,  // a complete reply with a wrong checksum: its text, with a beep
    Overflow,    // more bytes arrived than a reply can hold
    Reply,       // a complete reply with a good checksum, for the request of this moment
    Timeout,     // the response time-out ran out
  };
  Kind kind;
  std::string_view text{};
  CmdStateCode request = StNone;
  std::span<const std::uint8_t> frame{};
  RequestTicket ticket = 0;  // for Reply and Timeout: the request on the line
};

// What passes on the line, as a frame observer sees it: a frame sent, a complete frame received
// (checksum not yet checked), a complete reply that came after its request was given up and is
// dropped (late), or received bytes given up without ever forming a frame (a reply cut short by a
// new request or the time-out, bytes beyond a reply, an overflow). `bytes` is valid only for the
// duration of the call.
struct LineFrame {
  enum class Kind { Sent, Received, Late, Stray };
  Kind kind;
  std::span<const std::uint8_t> bytes;
};

// The request slot and the receive path of the serial line to the board: builds and sends
// request frames, reassembles reply bytes that arrive in any split, checks each complete reply
// and watches the response time-out. Owns the request and reply buffers, `CmdState` and the
// response time-out; reports everything through one listener.
//
// One request at a time is on the line: a request asked for while another is on it waits until
// that one's reply is complete, or until that request's own time-out has passed (2 s, the probe's
// 200 ms), however slowly a relay on the line hands the reply on. Waiting reads that repeat one
// already waiting (the timers' time and SR reads) are asked once; nothing else is dropped. A reply
// that comes after its request was given up is late: it is recognised by its shape (what the
// given-up request asked for and the one on the line did not), shown to the observers as late
// and dropped. A probe's answer is the exception: while a probe is the last request sent, it is
// that probe's, however late. Closing the port, or opening another, forgets what was owed.
class BoardLink {
 public:
  using Listener = std::function<void(const LinkEvent&)>;
  // Sees every frame sent, every complete frame received and every run of stray bytes.
  using FrameObserver = std::function<void(const LineFrame&)>;

  BoardLink(SerialPort& port, TimerFactory& timers, const DeviceProfile& profile);
  ~BoardLink();
  BoardLink(const BoardLink&) = delete;
  BoardLink& operator=(const BoardLink&) = delete;

  void setListener(Listener listener) { listener_ = std::move(listener); }
  // Observers of the line (the trace, the line monitor), told in the order they were added. The
  // returned number removes the observer again; an observer may be removed while it is told.
  int addFrameObserver(FrameObserver observer);
  void removeFrameObserver(int id);

  // The common order of every request: payload, frame, time-out, request code, progress text.
  // The ticket comes back with the reply; a read that repeats one already waiting gets the
  // waiting one's ticket.
  RequestTicket request(const Request& r);
  // A request that shows no progress text and arms no response time-out: the control/status
  // panel's read of the control block, whose silence nobody is told about, and the empty probe
  // that only the board answers.
  RequestTicket requestQuietly(const Request& r);

  // Records that a port was opened for the search; nothing is sent.
  void markPortOpened();
  // Requests waiting for the line.
  std::size_t waitingRequests() const { return waiting_.size(); }
  // Withdraws the requests of `state` that have not gone out yet.
  void withdrawWaiting(CmdStateCode state);
  // True when a request asked for now goes out at once: no reply is due and none waits.
  bool lineFree() const;

  // A text of the link's own for the link panel (a port that cannot be opened, say).
  void showStatus(std::string_view text);
  // Drops the part of a reply received so far and gives up the request on the line: its reply,
  // should it still come, is late.
  void discardReply();

  // The serial line. `PortNo` is the port the program works with (1..4); opening a port does not
  // change it, the search and the port dialog set it.
  bool openPort(int portNo);
  // Opens port `portNo` in place of the one open now, which closes only once the new one is open;
  // when it cannot be opened, the port that was open stays open, untouched.
  bool openInstead(int portNo);
  void closePort();
  bool isPortOpen() const;
  std::string deviceName(int portNo) const;
  int PortNo() const { return portNo_; }
  void setPortNo(int portNo) { portNo_ = portNo; }

  // The kind of the latest request (`CmdState`); a reply is read under it.
  CmdStateCode pendingRequest() const { return cmdState_; }
  // True while the response time-out runs.
  bool awaitingReply() const;
  // The program is closing: no time-out is to fire any more.
  void stopResponseTimeout();

  // Receive path: one chunk of bytes from the port; the owner routes the port's receive handler
  // here.
  void onReceived(std::span<const std::uint8_t> chunk);

 private:
  // What the reply to a request looks like: a data reply of `count` bytes, or a status reply.
  struct ReplyShape {
    bool data = true;
    std::uint8_t count = 0;
    bool probe = false;
  };
  struct Pending {
    std::array<std::uint8_t, protocol::kSendBufSize> payload{};
    std::size_t length = 0;
    CmdStateCode state = StNone;
    std::string text;
    bool quiet = false;  // no progress text, no response time-out (a probe, say)
    RequestTicket ticket = 0;
  };

  RequestTicket submit(Pending request);
  void send(const Pending& request);
  void sendWaiting();
  void replyOver();
  // The request on the line gets no more time: its reply, should it come, is late.
  void giveUp();
  // The request on the line has had its reply: the line is free.
  void answered();
  // True when the complete, checked reply in the buffer answers a request given up before; it
  // is then no longer owed.
  bool takeLate();
  // The port was closed or another one opened: what went out before is owed nothing.
  void forgetLine();
  void SendFrame();
  bool CheckFrame() const;
  void onTimeout();
  void report(const LinkEvent& event);
  void observe(LineFrame::Kind kind, std::span<const std::uint8_t> bytes);
  // Gives up the bytes of a reply received so far; the observers see them as stray.
  void dropReceived();

  SerialPort& port_;
  const DeviceProfile& profile_;
  std::unique_ptr<Timer> responseTimeout_;
  // Runs while the request on the line holds it: its own time-out.
  std::unique_ptr<Timer> replyDue_;
  std::deque<Pending> waiting_;
  // The last request sent, and whether its reply can still come on the open line.
  ReplyShape onLineShape_;
  bool onLineOwed_ = false;
  // Requests given up whose replies may still come, oldest first; only the latest few count.
  std::deque<ReplyShape> givenUp_;
  Listener listener_;
  // A deque: an observer added while one is being told leaves the one being told where it is.
  std::deque<std::pair<int, FrameObserver>> observers_;
  int nextObserverId_ = 1;
  int telling_ = 0;  // observers being told, nested when one makes the link send

  std::array<std::uint8_t, protocol::kSendBufSize> sendBuf_{};
  std::size_t sendLen_ = 0;
  std::array<std::uint8_t, protocol::kRecvBufSize> recvBuf_{};
  std::size_t recvCount_ = 0;
  // Bytes at the start of the buffer the observers have already seen as a (bad) frame.
  std::size_t shownAsFrame_ = 0;
  CmdStateCode cmdState_ = StNone;
  RequestTicket ticketOnLine_ = 0;
  RequestTicket lastTicket_ = 0;
  int portNo_ = 0;
  // The port last opened, 0 before the first.
  int openedPortNo_ = 0;
  bool overflowShown_ = false;
};

}  // namespace rtceval
