#pragma once

#include <map>
#include <optional>

#include <QString>
#include <QStringList>

#include "sim/chip/chip_profile.h"

namespace rtceval::app {

struct Options {
  std::map<int, QString> ports;            // --port N=DEVICE
  std::optional<sim::ChipModel> simulate;  // --simulate MODEL: a virtual board on port 1
  double crystalPpm = 0.0;                 // --ppm X: the virtual board's crystal error
  bool trace = false;                      // --trace: every frame to standard error
};

// The exit code of a usage error.
inline constexpr int kUsageError = 2;

// The port the virtual evaluation board of --simulate sits on.
inline constexpr int kVirtualBoardPort = 1;

// What the command line asks for, or the one line that says what is wrong with it.
struct ParsedCommandLine {
  std::optional<Options> options;  // empty on a usage error
  QString usageError;
};

// Reads the program's options from the whole command line (the program's name first). Qt's own
// options (-platform offscreen, -style fusion, -style=fusion, --platform offscreen, ...) and
// their values are left to QApplication, which reads them from the same command line. --help
// and --version print and end the program.
ParsedCommandLine parseCommandLine(const QStringList& arguments);

// Prints a usage error to standard error: the line and where to find help.
void printUsageError(const QString& line);

}  // namespace rtceval::app
