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
  bool trace = false;                      // --trace: every frame to standard error
};

// The exit code of a usage error.
inline constexpr int kUsageError = 2;

// Reads the program's options. --help and --version print and end the program; a usage error
// prints one line to standard error and gives nothing.
std::optional<Options> parseCommandLine(const QStringList& arguments);

}  // namespace rtceval::app
