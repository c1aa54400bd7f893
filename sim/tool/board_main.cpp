// rtceval-board: the virtual evaluation board on a pseudo-terminal, for running the program (or
// any terminal tool) against it and watching both sides of the line.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pseudo_terminal.h"
#include "sim/chip/crystal.h"
#include "sim/civil_time.h"
#include "sim/control_channel.h"
#include "sim/virtual_board.h"

namespace {

using rtceval::sim::ChipModel;
using rtceval::sim::CivilTime;

constexpr std::string_view kUsage =
    "usage: rtceval-board --model X1226|X1227|X1228|X1205|X1208|X1209 [--link PATH]\n"
    "                     [--start \"YYYY-MM-DD HH:MM:SS\"] [--ppm X] [--trace]\n";

constexpr std::string_view kAbout =
    "Serves a virtual evaluation board on a pseudo-terminal whose path is the first line of\n"
    "output. Reads board commands on standard input (try help); 'unplug' takes the terminal\n"
    "away as a pulled-out adapter would, 'plug' brings a new one (the link follows it).\n"
    "Ends on SIGINT or SIGTERM.\n";

// --help, on standard output: the synopsis, what the program does and every option.
constexpr std::string_view kHelpSynopsis =
    "Usage: rtceval-board --model MODEL [--link PATH] [--start TIME] [--ppm X] [--trace]\n\n";
constexpr std::string_view kHelpOptions =
    "\n"
    "Options:\n"
    "  --model MODEL    the chip on the board: X1226, X1227, X1228, X1205, X1208 or X1209\n"
    "  --link PATH      a symbolic link to the terminal, moved along on plug; removed at the end\n"
    "  --start TIME     the chip's clock at start, \"YYYY-MM-DD HH:MM:SS\" (default: the PC's)\n"
    "  --ppm X          the crystal's error in ppm, -1000 to 1000 (default 0)\n"
    "  --trace          every chunk on the line to standard error, with time and direction\n"
    "  --help           this text\n"
    "  --version        the program's version\n";

constexpr std::string_view kOwnHelp =
    "  unplug            the line goes away, as a pulled-out USB adapter (the board runs on)\n"
    "  plug              a new terminal for the line; its path is printed (and linked)\n";

std::string_view trimmed(std::string_view line) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!line.empty() && blank(line.front())) line.remove_prefix(1);
  while (!line.empty() && blank(line.back())) line.remove_suffix(1);
  return line;
}

struct Options {
  ChipModel model = ChipModel::X1226;
  std::optional<std::string> link;
  std::optional<CivilTime> start;
  double crystalPpm = 0.0;
  bool trace = false;
};

std::optional<Options> parseOptions(int argc, char** argv) {
  Options o;
  bool haveModel = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--model" && hasValue) {
      const auto model = rtceval::sim::chipModelFromName(argv[++i]);
      if (!model) return std::nullopt;
      o.model = *model;
      haveModel = true;
    } else if (arg == "--link" && hasValue) {
      o.link = argv[++i];
    } else if (arg == "--start" && hasValue) {
      o.start = rtceval::sim::parseCivilTime(argv[++i]);
      if (!o.start) return std::nullopt;
    } else if (arg == "--ppm" && hasValue) {
      const auto ppm = rtceval::sim::Crystal::parsePpm(argv[++i]);
      if (!ppm) return std::nullopt;
      o.crystalPpm = *ppm;
    } else if (arg == "--trace") {
      o.trace = true;
    } else {
      return std::nullopt;
    }
  }
  if (!haveModel) return std::nullopt;
  return o;
}

// The signal handler only writes to this pipe; the poll loop sees it and ends cleanly.
int stopPipe[2] = {-1, -1};

void onStopSignal(int) {
  const char byte = 1;
  const ssize_t ignored = ::write(stopPipe[1], &byte, 1);
  (void)ignored;
}

std::int64_t monotonicMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void trace(bool on, std::int64_t startMs, const char* direction, const std::uint8_t* bytes,
           std::size_t count) {
  if (!on) return;
  const std::int64_t t = monotonicMs() - startMs;
  std::fprintf(stderr, "%6lld.%03lld %s", static_cast<long long>(t / 1000),
               static_cast<long long>(t % 1000), direction);
  for (std::size_t i = 0; i < count; ++i) std::fprintf(stderr, " %02X", bytes[i]);
  std::fputc('\n', stderr);
}

// Bytes the board's receive FIFO had no room for never reach it; the trace says how many.
void traceOverrun(bool on, std::int64_t startMs, std::size_t lost) {
  if (!on || lost == 0) return;
  const std::int64_t t = monotonicMs() - startMs;
  std::fprintf(stderr, "%6lld.%03lld pc>board lost %zu bytes (receive overrun)\n",
               static_cast<long long>(t / 1000), static_cast<long long>(t % 1000), lost);
}

bool makeLink(const std::string& link, const std::string& target) {
  std::error_code ec;
  if (std::filesystem::is_symlink(link, ec)) std::filesystem::remove(link, ec);
  std::filesystem::create_symlink(target, link, ec);
  if (ec) {
    std::fprintf(stderr, "rtceval-board: cannot link %s: %s\n", link.c_str(), ec.message().c_str());
    return false;
  }
  return true;
}

void writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      // A full terminal queue (nobody reading) loses the reply, as a line with no listener would.
      return;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "--help") {
    for (std::string_view part : {kHelpSynopsis, kAbout, kHelpOptions})
      std::fputs(part.data(), stdout);
    return 0;
  }
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::puts("rtceval-board " RTCEVAL_VERSION);
    return 0;
  }
  const std::optional<Options> options = parseOptions(argc, argv);
  if (!options) {
    std::fputs(kUsage.data(), stderr);
    std::fputs(kAbout.data(), stderr);
    return 2;
  }

  std::string error;
  std::optional<rtceval::sim::PseudoTerminal> pty = rtceval::sim::PseudoTerminal::create(error);
  if (!pty) {
    std::fprintf(stderr, "rtceval-board: %s\n", error.c_str());
    return 1;
  }
  if (pipe(stopPipe) != 0) return 1;
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);

  if (options->link && !makeLink(*options->link, pty->slavePath())) return 1;
  std::printf("%s\n", pty->slavePath().c_str());
  std::fflush(stdout);

  const std::int64_t startMs = monotonicMs();
  const CivilTime start = options->start.value_or(rtceval::sim::localCivilTimeNow());
  rtceval::sim::VirtualBoard board(options->model, rtceval::sim::clockFieldsOf(start), startMs);
  board.chip().setCrystalPpm(options->crystalPpm);

  rtceval::sim::ControlChannel commands(board);
  // Unplugging closes both sides of the terminal, so the program's side hangs up as a USB
  // adapter's does when it is pulled out; plugging opens a new terminal, whose number the
  // system chooses, and moves the link to it.
  commands.setOwnCommands([&](std::string_view line) -> std::string {
    const std::string_view command = trimmed(line);
    if (command == "help")
      return rtceval::sim::runControlCommand(line, board, monotonicMs()) + std::string(kOwnHelp);
    if (command == "unplug") {
      if (!pty) return "already unplugged\n";
      pty.reset();
      if (options->link) {
        std::error_code ec;
        std::filesystem::remove(*options->link, ec);
      }
      return "unplugged\n";
    }
    if (command == "plug") {
      if (pty) return "already plugged in: " + pty->slavePath() + "\n";
      std::string failure;
      std::optional<rtceval::sim::PseudoTerminal> fresh =
          rtceval::sim::PseudoTerminal::create(failure);
      if (!fresh) return "cannot plug in: " + failure + "\n";
      pty.emplace(std::move(*fresh));
      if (options->link) makeLink(*options->link, pty->slavePath());
      return "plugged in: " + pty->slavePath() + "\n";
    }
    return {};
  });
  bool stdinOpen = true;
  for (;;) {
    const std::int64_t now = monotonicMs();
    for (const auto& piece : board.toPc(now)) {
      trace(options->trace, startMs, "board>pc", piece.data(), piece.size());
      // Unplugged, the reply goes nowhere.
      if (pty) writeAll(pty->master(), piece);
    }
    int timeoutMs = -1;
    if (const auto due = board.nextDue()) {
      timeoutMs = static_cast<int>(std::max<std::int64_t>(*due - monotonicMs(), 0));
    }
    pollfd fds[3] = {{pty ? pty->master() : -1, POLLIN, 0},
                     {stopPipe[0], POLLIN, 0},
                     {stdinOpen ? STDIN_FILENO : -1, POLLIN, 0}};
    const int ready = poll(fds, 3, timeoutMs);
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    if (fds[1].revents) break;
    if (pty && (fds[0].revents & POLLIN)) {
      std::uint8_t buffer[4096];
      const ssize_t n = ::read(pty->master(), buffer, sizeof buffer);
      if (n > 0) {
        const std::size_t count = static_cast<std::size_t>(n);
        const std::size_t received = board.fromPc({buffer, count}, monotonicMs());
        if (received > 0) trace(options->trace, startMs, "pc>board", buffer, received);
        traceOverrun(options->trace, startMs, count - received);
      }
    }
    if (fds[2].revents) {
      char buffer[4096];
      const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
      if (n <= 0) {
        stdinOpen = false;  // no more commands; the board serves on
        continue;
      }
      const std::string answers =
          commands.take({buffer, static_cast<std::size_t>(n)}, monotonicMs());
      if (!answers.empty()) {
        std::fwrite(answers.data(), 1, answers.size(), stdout);
        std::fflush(stdout);
      }
    }
  }

  if (options->link) {
    std::error_code ec;
    std::filesystem::remove(*options->link, ec);
  }
  return 0;
}
