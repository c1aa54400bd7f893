// The Qt implementations of the seams: port numbering, frame trace lines, the time-of-day format
// and the serial port's behaviour without a device.
#include <QtTest>

#include "board_link/qt/frame_trace.h"
#include "platform/qt/qt_pc_clock.h"
#include "platform/qt/qt_serial_port.h"

using rtceval::qt::QtSerialPort;

class PlatformQtTest : public QObject {
  Q_OBJECT

 private slots:
  void numbersUsbAdaptersBeforeBuiltInPorts() {
    const QStringList listed{"/dev/ttyS1",    "/dev/ttyACM0", "/dev/rfcomm0", "/dev/ttyS0",
                             "/dev/ttyUSB10", "/dev/ttyUSB2", "/dev/ttyS10",  "/dev/ttyS2"};
    const QStringList expected{"/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0", "/dev/ttyS0",
                               "/dev/ttyS1",   "/dev/ttyS2",    "/dev/ttyS10",  "/dev/rfcomm0"};
    QCOMPARE(rtceval::qt::orderSerialDevices(listed), expected);
    QCOMPARE(rtceval::qt::orderSerialDevices({}), QStringList());
  }

  void tracesFramesWithTimeAndDirection() {
    const QTime at(9, 5, 30, 7);
    const std::uint8_t frame[] = {0x55, 0x00, 0x05, 0x0A, 0xFF};
    QCOMPARE(rtceval::qt::formatFrameTrace(at, true, frame),
             QStringLiteral("09:05:30.007 > 55 00 05 0A FF"));
    QCOMPARE(rtceval::qt::formatFrameTrace(at, false, std::span<const std::uint8_t>(frame, 1)),
             QStringLiteral("09:05:30.007 < 55"));
  }

  void dropsTheZoneFromTheTimeFormat_data() {
    QTest::addColumn<QString>("longFormat");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zone at the end") << "HH:mm:ss t"
                                     << "HH:mm:ss";
    QTest::newRow("zone in front") << "tHH:mm:ss"
                                   << "HH:mm:ss";
    QTest::newRow("long zone name") << "h:mm:ss AP tttt"
                                    << "h:mm:ss AP";
    QTest::newRow("quoted letters stay") << "H 'h' mm 'at' ss t"
                                         << "H 'h' mm 'at' ss";
    QTest::newRow("no zone") << "HH:mm:ss"
                             << "HH:mm:ss";
  }

  void dropsTheZoneFromTheTimeFormat() {
    QFETCH(QString, longFormat);
    QFETCH(QString, expected);
    QCOMPARE(rtceval::qt::timeOfDayFormat(longFormat), expected);
  }

  void missingDeviceFailsQuietly() {
    QStringList warnings;
    QtSerialPort port({{2, QStringLiteral("/nonexistent/rtceval-port")}},
                      [&](const QString& line) { warnings << line; });
    QCOMPARE(port.deviceName(2), std::string("/nonexistent/rtceval-port"));
    QVERIFY(port.deviceName(5).empty());
    QVERIFY(!port.open(2));
    QVERIFY(!port.open(2));
    QVERIFY(!port.open(0));
    QVERIFY(!port.isOpen());
    const std::uint8_t probe[] = {0x55, 0x00, 0x00, 0x55};
    QVERIFY(!port.write(probe));
    // A port number without a device is normal during the board search: nothing is printed.
    QVERIFY(warnings.isEmpty());
  }
};

QTEST_MAIN(PlatformQtTest)
#include "test_platform_qt.moc"
