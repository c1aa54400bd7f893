#include "command_line.h"

#include <QCommandLineParser>

#include <cstdio>

#include "platform/serial_port.h"
#include "sim/chip/crystal.h"

namespace rtceval::app {
namespace {

// The options QGuiApplication, QApplication and the X11 platform read from the command line, by
// name without the dash, and whether a value follows as the next argument. Qt takes them with one
// dash or two.
struct QtOption {
  const char* name;
  bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"qwindowicon", true},
    {"qwindowtitle", true},
    {"session", true},
    {"style", true},
    {"stylesheet", true},
    {"display", true},
    {"geometry", true},
    {"title", true},
    {"icon", true},
    {"name", true},
    {"reverse", false},
    {"widgetcount", false},
    {"testability", false},
    {"nograb", false},
    {"dograb", false},
    {"sync", false},
};
// The options Qt also takes with their value in the same argument: -style=fusion.
constexpr const char* kQtJoinedOptions[] = {"style", "stylesheet", "session", "qmljsdebugger"};
// The program's own options whose value may follow as the next argument; that argument is the
// value even when it looks like one of Qt's options.
constexpr const char* kOwnOptionsWithValue[] = {"--port", "--simulate", "--ppm"};

// The name of an argument written as a Qt option: "-style" and "--style" give "style", anything
// else gives nothing.
QStringView qtOptionName(QStringView argument) {
  if (argument.size() < 2 || argument[0] != QLatin1Char('-')) return {};
  return argument.mid(argument[1] == QLatin1Char('-') ? 2 : 1);
}

const QtOption* findQtOption(QStringView name) {
  for (const QtOption& option : kQtOptions)
    if (name == QLatin1String(option.name)) return &option;
  return nullptr;
}

bool isJoinedQtOption(QStringView name) {
  const qsizetype eq = name.indexOf(QLatin1Char('='));
  if (eq <= 0) return false;
  for (const char* joined : kQtJoinedOptions)
    if (name.left(eq) == QLatin1String(joined)) return true;
  return false;
}

bool isOwnOptionWithValue(const QString& argument) {
  for (const char* own : kOwnOptionsWithValue)
    if (argument == QLatin1String(own)) return true;
  return false;
}

// The command line without Qt's options and their values, which QApplication reads for itself;
// or nothing, with the usage error, when one of them lacks its value.
std::optional<QStringList> withoutQtOptions(const QStringList& arguments, QString& error) {
  QStringList kept = arguments.mid(0, 1);  // the program's name
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments.at(i);
    if (argument == QLatin1String("--")) {
      kept << arguments.mid(i);  // everything after it is a positional argument
      break;
    }
    if (isOwnOptionWithValue(argument)) {
      kept << arguments.mid(i, 2);
      ++i;
      continue;
    }
    const QStringView name = qtOptionName(argument);
    if (isJoinedQtOption(name)) continue;
    if (const QtOption* option = findQtOption(name)) {
      if (option->takesValue && ++i >= arguments.size()) {
        error = QStringLiteral("option '%1' needs a value").arg(argument);
        return std::nullopt;
      }
      continue;
    }
    kept << argument;
  }
  return kept;
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

ParsedCommandLine usageError(const QString& line) {
  return {std::nullopt, line};
}

}  // namespace

void printUsageError(const QString& line) {
  std::fprintf(stderr, "rtceval: %s\nTry 'rtceval --help'.\n", line.toLocal8Bit().constData());
}

ParsedCommandLine parseCommandLine(const QStringList& arguments) {
  QString qtOptionError;
  const std::optional<QStringList> own = withoutQtOptions(arguments, qtOptionError);
  if (!own) return usageError(qtOptionError);

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Evaluation program for serial real-time-clock chips on an evaluation board.\n"
      "Qt's own options, such as -platform offscreen or -style fusion, are passed on to Qt."));
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
  const QCommandLineOption ppm(
      QStringLiteral("ppm"),
      QStringLiteral("With --simulate: the virtual board's crystal runs X ppm fast (negative: "
                     "slow), -1000 to 1000."),
      QStringLiteral("X"));
  const QCommandLineOption trace(
      QStringLiteral("trace"),
      QStringLiteral("Print every frame sent (>) and received (<) to standard error."));
  parser.addOptions({port, simulate, ppm, trace});

  if (!parser.parse(*own)) return usageError(parser.errorText());
  if (parser.isSet(help)) parser.showHelp(0);
  if (parser.isSet(version)) parser.showVersion();
  if (!parser.positionalArguments().isEmpty()) {
    return usageError(
        QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
  }

  Options options;
  for (const QString& value : parser.values(port)) {
    const auto mapping = parsePortMapping(value);
    if (!mapping) {
      return usageError(
          QStringLiteral("bad --port '%1': expected N=DEVICE with N from 1 to 4").arg(value));
    }
    if (!options.ports.emplace(mapping->first, mapping->second).second) {
      return usageError(QStringLiteral("--port %1 is given twice ('%2' and '%3')")
                            .arg(QString::number(mapping->first), options.ports.at(mapping->first),
                                 mapping->second));
    }
  }
  if (parser.isSet(simulate)) {
    const QString name = parser.value(simulate);
    options.simulate = sim::chipModelFromName(name.toStdString());
    if (!options.simulate)
      return usageError(QStringLiteral("unknown chip model '%1' for --simulate").arg(name));
    if (options.ports.contains(kVirtualBoardPort)) {
      return usageError(
          QStringLiteral("--simulate puts the virtual board on port %1; "
                         "--port %1=%2 cannot be used with it")
              .arg(QString::number(kVirtualBoardPort), options.ports.at(kVirtualBoardPort)));
    }
  }
  if (parser.isSet(ppm)) {
    const QString value = parser.value(ppm);
    if (!options.simulate) return usageError(QStringLiteral("--ppm needs --simulate"));
    const auto crystalPpm = sim::Crystal::parsePpm(value.toStdString());
    if (!crystalPpm) {
      return usageError(
          QStringLiteral("bad --ppm '%1': expected a number from -1000 to 1000").arg(value));
    }
    options.crystalPpm = *crystalPpm;
  }
  options.trace = parser.isSet(trace);
  return {options, {}};
}

}  // namespace rtceval::app
