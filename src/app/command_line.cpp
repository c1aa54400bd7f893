#include "command_line.h"

#include <QCommandLineParser>

#include <cstdio>

#include "platform/serial_port.h"

namespace rtceval::app {
namespace {

void usageError(const QString& what) {
  std::fprintf(stderr, "rtceval: %s\nTry 'rtceval --help'.\n", what.toLocal8Bit().constData());
}

// "N=DEVICE" with N from 1 to 4 and a device that is not empty.
std::optional<std::pair<int, QString>> parsePortMapping(const QString& value) {
  const qsizetype eq = value.indexOf(QLatin1Char('='));
  if (eq <= 0) return std::nullopt;
  bool ok = false;
  const int portNo = value.left(eq).toInt(&ok);
  const QString device = value.mid(eq + 1);
  if (!ok || portNo < kFirstPort || portNo > kLastPort || device.isEmpty()) return std::nullopt;
  return std::pair{portNo, device};
}

}  // namespace

std::optional<Options> parseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Evaluation program for serial real-time-clock chips on an evaluation board."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption port(
      QStringLiteral("port"),
      QStringLiteral("Use DEVICE (any serial device or pseudo-terminal) as serial port N, 1 to 4."),
      QStringLiteral("N=DEVICE"));
  const QCommandLineOption simulate(
      QStringLiteral("simulate"),
      QStringLiteral("Put a virtual evaluation board with chip MODEL (X1226, X1227, X1228, "
                     "X1205, X1208 or X1209) on serial port 1."),
      QStringLiteral("MODEL"));
  const QCommandLineOption trace(
      QStringLiteral("trace"),
      QStringLiteral("Print every frame sent (>) and received (<) to standard error."));
  parser.addOptions({port, simulate, trace});

  if (!parser.parse(arguments)) {
    usageError(parser.errorText());
    return std::nullopt;
  }
  if (parser.isSet(help)) parser.showHelp(0);
  if (parser.isSet(version)) parser.showVersion();
  if (!parser.positionalArguments().isEmpty()) {
    usageError(
        QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    return std::nullopt;
  }

  Options options;
  for (const QString& value : parser.values(port)) {
    const auto mapping = parsePortMapping(value);
    if (!mapping) {
      usageError(
          QStringLiteral("bad --port '%1': expected N=DEVICE with N from 1 to 4").arg(value));
      return std::nullopt;
    }
    options.ports[mapping->first] = mapping->second;
  }
  if (parser.isSet(simulate)) {
    const QString name = parser.value(simulate);
    options.simulate = sim::chipModelFromName(name.toStdString());
    if (!options.simulate) {
      usageError(QStringLiteral("unknown chip model '%1' for --simulate").arg(name));
      return std::nullopt;
    }
  }
  options.trace = parser.isSet(trace);
  return options;
}

}  // namespace rtceval::app
