// rtceval-cli: every chip operation of the evaluation board from the command line. Builds the Qt
// Core adapters of the seams (no display, no widgets), reads the command line and runs one
// command on a session with the board.
#include <QCoreApplication>
#include <QString>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "board_link/qt/core/frame_trace.h"
#include "cli/cli_options.h"
#include "cli/exit_codes.h"
#include "cli/run_cli.h"
#include "cli/session.h"
#include "end_on_signal.h"
#include "kept_board.h"
#include "platform/port_mux.h"
#include "platform/qt/core/qt_event_pump.h"
#include "platform/qt/core/qt_files.h"
#include "platform/qt/core/qt_pc_clock.h"
#include "platform/qt/core/qt_serial_port.h"
#include "platform/qt/core/qt_timer.h"
#include "sim/chip/crystal.h"
#include "sim/civil_time.h"
#include "sim/virtual_board_port.h"

namespace {

// The port the virtual board of --simulate and a --port DEVICE sit on.
constexpr int kFirstPort = 1;

// The PC's clock in milliseconds since 1970, for the time a kept virtual board was left.
std::int64_t pcNowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void warn(const std::string& line) {
  if (!line.empty()) std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  rtceval::app::holdEndSignals();
  const std::vector<std::string> arguments(argv, argv + argc);
  rtceval::cli::ParsedCli parsed = rtceval::cli::parseCli(arguments);
  if (!parsed.options) {
    std::fputs(parsed.out.c_str(), stdout);
    std::fputs(parsed.err.c_str(), stderr);
    return parsed.exitCode;
  }
  rtceval::cli::CliOptions& options = *parsed.options;
  std::optional<double> crystalPpm;
  if (options.ppm) {
    crystalPpm = rtceval::sim::Crystal::parsePpm(*options.ppm);
    if (!crystalPpm) {
      std::fprintf(stderr, "rtceval-cli: --ppm: not a crystal error in ppm: %s\n",
                   options.ppm->c_str());
      return rtceval::cli::kUsage;
    }
  }

  QCoreApplication app(argc, argv);
  int portNo = 0;
  rtceval::qt::QtSerialPort::PortOverrides overrides;
  if (options.port) {
    if (const auto n = rtceval::cli::portNumber(*options.port)) {
      portNo = *n;
    } else {
      portNo = kFirstPort;
      overrides[kFirstPort] = QString::fromStdString(*options.port);
    }
  }
  rtceval::cli::Output out(std::cout, std::cerr, options.json);
  rtceval::qt::QtSerialPort serial(overrides, [&options](QString line) {
    // The adapter's line names the program, and a device given by path as the port it stands in.
    line.replace(QStringLiteral("rtceval:"), QStringLiteral("rtceval-cli:"));
    if (options.port && !rtceval::cli::portNumber(*options.port))
      line.replace(QStringLiteral(" as port %1").arg(kFirstPort), QString());
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
  });
  rtceval::qt::QtTimerFactory timers;
  rtceval::qt::QtMonotonicClock clock;
  rtceval::qt::QtPcClock pcClock;
  rtceval::qt::QtEventPump pump;
  rtceval::qt::QtFiles files;

  rtceval::PortMux ports(serial);
  std::unique_ptr<rtceval::sim::VirtualBoardPort> board;
  std::optional<rtceval::app::KeptBoard> kept;
  if (options.simulate) {
    const auto model = *rtceval::sim::chipModelFromName(*options.simulate);
    board = std::make_unique<rtceval::sim::VirtualBoardPort>(
        timers, clock, model, rtceval::sim::localCivilTimeNow(), kFirstPort);
    kept.emplace(files,
                 rtceval::app::keptBoardFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")),
                 model);
    warn(kept->resume(board->board(), pcNowMs(), clock.elapsedMs()));
    if (crystalPpm) board->board().chip().setCrystalPpm(*crystalPpm);
    ports.route(kFirstPort, *board);
    portNo = kFirstPort;
  }

  rtceval::cli::Session session({ports, timers, clock, pcClock, pump, files},
                                options.model->profile, options.timeout, out);
  if (options.trace) rtceval::qt::traceFramesToStderr(session.link(), options.model->profile);
  const rtceval::app::EndOnSignal endOnSignal([&session] { session.interrupt(); });
  const int code = rtceval::cli::runCommand(options, session, portNo);
  if (kept) warn(kept->keep(board->board(), pcNowMs(), clock.elapsedMs()));
  return code;
}
