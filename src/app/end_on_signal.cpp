#include "end_on_signal.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <utility>
#endif

namespace rtceval::app {
namespace {

#ifdef Q_OS_UNIX
constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};
// A stop asked for again within this time of the first is the same request.
constexpr auto kRepeatedStop = std::chrono::seconds(1);

// The write end of the pair of sockets that carries a signal from its handler to the event loop.
// A signal handler can reach nothing else: it is the one value shared with it, set before the
// handlers are installed and cleared after they are removed.
volatile std::sig_atomic_t signalSocket = -1;

extern "C" void noteSignal(int signal) {
  // Only async-signal-safe calls here: the byte wakes the event loop, which does the rest.
  const char byte = static_cast<char>(signal);
  const int socket = signalSocket;
  if (socket < 0) return;
  const ssize_t written = ::write(socket, &byte, 1);
  static_cast<void>(written);  // a full socket already holds a byte that wakes the loop
}

void maskEndSignals(int how) {
  sigset_t held;
  sigemptyset(&held);
  for (int signal : kEndSignals) sigaddset(&held, signal);
  sigprocmask(how, &held, nullptr);
}

void handleEndSignals(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kEndSignals) sigaction(signal, &action, nullptr);
}
#endif

}  // namespace

EndOnSignal::EndOnSignal(std::function<void()> end) : end_(std::move(end)) {
#ifdef Q_OS_UNIX
  int sockets[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, sockets) != 0) {
    // Without the pair the signals keep the system's default action, held back no longer.
    maskEndSignals(SIG_UNBLOCK);
    return;
  }
  signalSocket = sockets[0];
  notifier_ = std::make_unique<QSocketNotifier>(sockets[1], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this](QSocketDescriptor socket) {
    char byte = 0;
    int signal = 0;
    while (::read(socket, &byte, 1) == 1) signal = byte;
    const auto now = std::chrono::steady_clock::now();
    if (!endingSince_) {
      endingSince_ = now;
      end_();
      return;
    }
    // The same stop asked again at once is one request: `timeout` and a terminal signal the
    // program and its process group alike. Asked again later, it ends the program now.
    if (now - *endingSince_ < kRepeatedStop || signal == 0) return;
    handleEndSignals(SIG_DFL);
    ::raise(signal);
  });
  handleEndSignals(noteSignal);
  // A signal held back during start-up arrives now, at the handler.
  maskEndSignals(SIG_UNBLOCK);
#endif
}

EndOnSignal::~EndOnSignal() {
#ifdef Q_OS_UNIX
  if (!notifier_) return;
  // A program ending on a signal finishes its ending: a copy of that signal still on its way (sent
  // to the process group too) is held back from here to the exit instead of killing it half-way.
  if (endingSince_) maskEndSignals(SIG_BLOCK);
  handleEndSignals(SIG_DFL);
  const int writeEnd = signalSocket;
  signalSocket = -1;
  const auto readEnd = static_cast<int>(notifier_->socket());
  notifier_.reset();
  ::close(writeEnd);
  ::close(readEnd);
#endif
}

void holdEndSignals() {
#ifdef Q_OS_UNIX
  maskEndSignals(SIG_BLOCK);
#endif
}

}  // namespace rtceval::app
