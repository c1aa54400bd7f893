// The program's command line: its own options, Qt's options left to Qt, and the combinations it
// refuses.
#include <QtTest>

#include "command_line.h"

using rtceval::app::parseCommandLine;

namespace {

QStringList commandLine(const QString& arguments) {
  return QStringList{QStringLiteral("rtceval")} +
         arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

}  // namespace

class CommandLineTest : public QObject {
  Q_OBJECT

 private slots:
  void readsTheProgramsOwnOptions() {
    const auto parsed = parseCommandLine(commandLine(
        QStringLiteral("--port 2=/dev/pts/5 --port=4=/dev/ttyUSB1 --simulate X1208 --trace")));
    QVERIFY2(parsed.options, qPrintable(parsed.usageError));
    const std::map<int, QString> ports{{2, "/dev/pts/5"}, {4, "/dev/ttyUSB1"}};
    QCOMPARE(parsed.options->ports, ports);
    QVERIFY(parsed.options->simulate == rtceval::sim::ChipModel::X1208);
    QVERIFY(parsed.options->trace);
  }

  void takesTheStableNamesOfAnAdapter() {
    // The names udev keeps for an adapter whatever ttyUSB number it gets; by-path ones hold
    // colons, and a name may even hold an equals sign.
    const auto parsed = parseCommandLine(commandLine(QStringLiteral(
        "--port 1=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9K1-if00-port0 "
        "--port 3=/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0 --port 4=/tmp/a=b")));
    QVERIFY2(parsed.options, qPrintable(parsed.usageError));
    const std::map<int, QString> ports{
        {1, "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9K1-if00-port0"},
        {3, "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0"},
        {4, "/tmp/a=b"}};
    QCOMPARE(parsed.options->ports, ports);
  }

  void leavesQtsOptionsToQt_data() {
    QTest::addColumn<QString>("arguments");
    QTest::newRow("-platform with a value") << "-platform offscreen";
    QTest::newRow("-platform with plugin options") << "-platform offscreen:fontengine=freetype";
    QTest::newRow("two dashes") << "--platform offscreen";
    QTest::newRow("-style with a value") << "-style fusion";
    QTest::newRow("-style=") << "-style=fusion";
    QTest::newRow("-stylesheet") << "-stylesheet app.qss";
    QTest::newRow("window title") << "-qwindowtitle rtc";
    QTest::newRow("X11 display") << "-display :1";
    QTest::newRow("flags") << "-reverse -widgetcount";
    QTest::newRow("between own options") << "--port 3=/dev/pts/1 -style fusion --trace";
  }

  void leavesQtsOptionsToQt() {
    QFETCH(QString, arguments);
    const auto parsed = parseCommandLine(commandLine(arguments));
    QVERIFY2(parsed.options, qPrintable(parsed.usageError));
    // Their values are not taken for positional arguments or the program's options either.
    QCOMPARE(parsed.options->trace, arguments.contains(QStringLiteral("--trace")));
    QCOMPARE(parsed.options->ports.size(), arguments.contains(QStringLiteral("--port")) ? 1u : 0u);
  }

  void refuses_data() {
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("Qt option without its value") << "--trace -platform"
                                                 << "option '-platform' needs a value";
    QTest::newRow("the value of --port is never Qt's")
        << "--port -style"
        << "bad --port '-style': expected N=DEVICE with N from 1 to 4";
    QTest::newRow("after -- nothing is an option") << "-- -platform offscreen"
                                                   << "unexpected argument '-platform'";
    QTest::newRow("an unknown option with one dash") << "-bogus"
                                                     << "Unknown options: b, o, g, u, s.";
    QTest::newRow("the same port twice")
        << "--port 2=/dev/ttyUSB0 --port 2=/dev/ttyUSB1"
        << "--port 2 is given twice ('/dev/ttyUSB0' and '/dev/ttyUSB1')";
    QTest::newRow("port 1 with the virtual board on it")
        << "--port 1=/dev/pts/4 --simulate X1226"
        << "--simulate puts the virtual board on port 1; --port 1=/dev/pts/4 cannot be used with "
           "it";
    QTest::newRow("a crystal error without the virtual board") << "--ppm 37"
                                                               << "--ppm needs --simulate";
    QTest::newRow("a crystal error that is no number")
        << "--simulate X1226 --ppm fast"
        << "bad --ppm 'fast': expected a number from -1000 to 1000";
    QTest::newRow("a crystal error beyond any crystal")
        << "--simulate X1226 --ppm 1500"
        << "bad --ppm '1500': expected a number from -1000 to 1000";
  }

  void refuses() {
    QFETCH(QString, arguments);
    QFETCH(QString, error);
    const auto parsed = parseCommandLine(commandLine(arguments));
    QVERIFY(!parsed.options);
    QCOMPARE(parsed.usageError, error);
  }

  void crystalErrorOfTheVirtualBoard() {
    const auto slow = parseCommandLine(commandLine(QStringLiteral("--simulate X1209 --ppm -12.5")));
    QVERIFY2(slow.options, qPrintable(slow.usageError));
    QCOMPARE(slow.options->crystalPpm, -12.5);
    const auto none = parseCommandLine(commandLine(QStringLiteral("--simulate X1209")));
    QCOMPARE(none.options->crystalPpm, 0.0);
  }

  void virtualBoardBesideOtherPorts() {
    const auto parsed =
        parseCommandLine(commandLine(QStringLiteral("--simulate X1226 --port 2=/dev/pts/4")));
    QVERIFY2(parsed.options, qPrintable(parsed.usageError));
    QCOMPARE(parsed.options->ports.count(2), 1u);
    QVERIFY(parsed.options->simulate.has_value());
  }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
