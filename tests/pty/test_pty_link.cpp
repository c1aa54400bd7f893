// The Qt serial port against a real pseudo-terminal: the program's side opens the terminal as
// port 1 while the test plays the board on the master side.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <vector>

#include "fake_desktop.h"
#include "main_window/main_window.h"
#include "platform/qt/core/qt_serial_port.h"
#include "platform/qt/core/qt_timer.h"
#include "scripted_message_boxes.h"

using namespace std::chrono_literals;
using rtceval::qt::QtSerialPort;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Every wait ends as soon as what it waits for has happened; the bound only stops a test that
// would otherwise hang, and is generous so that a loaded machine cannot fail it.
constexpr std::chrono::milliseconds kBound = 20s;

// A pseudo-terminal pair; the test holds the master, the program opens the slave by its path.
class PtyPair {
 public:
  PtyPair() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    slave_ = QString::fromLocal8Bit(::ptsname(master_));
  }
  ~PtyPair() { closeMaster(); }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  bool ok() const { return master_ >= 0 && !slave_.isEmpty(); }
  int master() const { return master_; }
  const QString& slave() const { return slave_; }
  void closeMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  QString slave_;
};

// Runs the event loop until `done` holds, looking again after every event that arrives (the
// terminal's bytes, its hang-up, a timer); false when the bound passed first.
bool processUntil(const std::function<bool()>& done) {
  const QDeadlineTimer deadline(kBound);
  QTimer bound;  // wakes the loop when nothing else does
  bound.setSingleShot(true);
  bound.start(kBound);
  QEventLoop loop;
  while (!done()) {
    if (deadline.hasExpired()) return false;
    loop.processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

// What the program wrote, read from the master as it arrives until `count` bytes have come.
Bytes readFromMaster(int master, std::size_t count) {
  QSocketNotifier readable(static_cast<qintptr>(master), QSocketNotifier::Read);
  Bytes got;
  processUntil([&] {
    std::uint8_t buf[64];
    for (ssize_t n; (n = ::read(master, buf, sizeof buf)) > 0;) got.insert(got.end(), buf, buf + n);
    return got.size() >= count;
  });
  return got;
}

void writeToMaster(int master, const Bytes& piece) {
  QCOMPARE(::write(master, piece.data(), piece.size()), static_cast<ssize_t>(piece.size()));
}

// The program's serial port with a count of the bytes it has handed on, so that a test can wait
// until a piece written on the master has arrived.
class CountingPort : public rtceval::SerialPort {
 public:
  explicit CountingPort(rtceval::SerialPort& inner) : inner_(inner) {}
  bool open(int portNo) override { return inner_.open(portNo); }
  void close() override { inner_.close(); }
  bool isOpen() const override { return inner_.isOpen(); }
  bool write(std::span<const std::uint8_t> bytes) override { return inner_.write(bytes); }
  void setReceiveHandler(ReceiveHandler handler) override {
    inner_.setReceiveHandler([this, handler = std::move(handler)](auto chunk) {
      received += chunk.size();
      if (handler) handler(chunk);
    });
  }
  std::string deviceName(int portNo) const override { return inner_.deviceName(portNo); }

  std::size_t received = 0;

 private:
  rtceval::SerialPort& inner_;
};

}  // namespace

class PtyLinkTest : public QObject {
  Q_OBJECT

 private slots:
  void timeReadCrossesARealTerminal() {
    PtyPair pty;
    QVERIFY(pty.ok());
    QStringList warnings;
    QtSerialPort serial({{1, pty.slave()}}, [&](const QString& l) { warnings << l; });
    rtceval::qt::QtTimerFactory timers;
    rtceval::qt::QtMonotonicClock clock;
    rtceval::testing::ScriptedMessageBoxes messageBoxes;
    rtceval::testing::FixedPcClock pcClock;
    CountingPort counting(serial);
    rtceval::testing::FakeDesktop desktop;
    rtceval::MainWindow model(counting, timers, clock, messageBoxes, pcClock, desktop);

    QVERIFY(model.link().openPort(1));
    QVERIFY(serial.isOpen());
    QCOMPARE(serial.deviceName(1), pty.slave().toStdString());
    // The master sees the slave's line settings: 19200 baud, 8 data bits, no parity, one stop
    // bit, raw bytes without echo or flow control.
    termios line{};
    QCOMPARE(::tcgetattr(pty.master(), &line), 0);
    QCOMPARE(::cfgetospeed(&line), speed_t(B19200));
    QCOMPARE(::cfgetispeed(&line), speed_t(B19200));
    QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
    QVERIFY(!(line.c_cflag & PARENB));
    QVERIFY(!(line.c_cflag & CSTOPB));
    QVERIFY(!(line.c_lflag & (ICANON | ECHO)));
    QVERIFY(!(line.c_iflag & (IXON | IXOFF | ICRNL)));
    QVERIFY(!(line.c_oflag & OPOST));

    model.menuClick(rtceval::MenuId::X1226);
    model.menuClick(rtceval::MenuId::READTIME);
    QCOMPARE(readFromMaster(pty.master(), 9),
             (Bytes{0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x30, 0x08, 0x01}));

    // 09:05:30 in 24-hour mode, sent as the board's line would split it: each piece is taken in
    // before the next is written.
    std::size_t written = 0;
    for (const Bytes& piece : {Bytes{0x55, 0x80}, Bytes{0x08, 0x30, 0x05},
                               Bytes{0x89, 0x20, 0x05, 0x04}, Bytes{0x04, 0x20, 0xE8}}) {
      writeToMaster(pty.master(), piece);
      written += piece.size();
      QVERIFY(processUntil([&] { return counting.received >= written; }));
    }
    QCOMPARE(counting.received, written);
    QVERIFY(processUntil([&] { return model.controls().timeLabel.caption == "09:05:30"; }));
    QCOMPARE(model.controls().statusBar.panel(2), std::string("读时间成功"));
    QVERIFY(warnings.isEmpty());
  }

  void busyTerminalIsReportedOnce() {
    PtyPair pty;
    QVERIFY(pty.ok());
    QStringList warnings;
    const auto sink = [&](const QString& l) { warnings << l; };
    QtSerialPort first({{1, pty.slave()}}, sink);
    QtSerialPort second({{1, pty.slave()}}, sink);
    QVERIFY(first.open(1));
    QVERIFY(!second.open(1));
    QVERIFY(!second.open(1));
    QCOMPARE(warnings.size(), 1);
    QCOMPARE(warnings.front(),
             QStringLiteral("rtceval: cannot open %1 as port 1: device is busy (in use by another "
                            "program)")
                 .arg(pty.slave()));
    // Once the first lets go, the second gets it.
    first.close();
    QVERIFY(second.open(1));
  }

  void stableNameOpensTheDeviceItPointsAt() {
    PtyPair pty;
    QVERIFY(pty.ok());
    // A fixed name for the adapter, as /dev/serial/by-id/ gives one.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("by-id")));
    const QString byId =
        dir.filePath(QStringLiteral("by-id/usb-FTDI_FT232R_USB_UART_A9K1-if00-port0"));
    QVERIFY(QFile::link(pty.slave(), byId));
    QStringList warnings;
    const auto sink = [&](const QString& l) { warnings << l; };
    QtSerialPort byName({{1, byId}}, sink);
    QVERIFY(byName.open(1));
    QCOMPARE(byName.deviceName(1), byId.toStdString());
    // The device is the same under either name: another program cannot open it meanwhile.
    QtSerialPort direct({{1, pty.slave()}}, sink);
    QVERIFY(!direct.open(1));
    QCOMPARE(warnings.size(), 1);
    QVERIFY(
        warnings.front().endsWith(QStringLiteral("device is busy (in use by another program)")));
    // Bytes cross through the stable name.
    int received = 0;
    byName.setReceiveHandler(
        [&](std::span<const std::uint8_t> chunk) { received += static_cast<int>(chunk.size()); });
    writeToMaster(pty.master(), Bytes{0x55, 0x80, 0x00, 0xD5});
    QVERIFY(processUntil([&] { return received == 4; }));
  }

  void switchLetsGoOfTheWorkingTerminalOnlyOnceTheNewOneIsOpen() {
    PtyPair working;
    PtyPair chosen;
    QTemporaryDir dir;
    QVERIFY(working.ok() && chosen.ok() && dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("ttyUSB9"));
    QStringList warnings;
    const auto sink = [&](const QString& l) { warnings << l; };
    QtSerialPort serial({{1, working.slave()}, {2, chosen.slave()}, {3, missing}}, sink);
    Bytes received;
    serial.setReceiveHandler([&](std::span<const std::uint8_t> chunk) {
      received.insert(received.end(), chunk.begin(), chunk.end());
    });
    QVERIFY(serial.open(1));

    // A reply on its way while a port that cannot be opened is chosen still arrives.
    writeToMaster(working.master(), Bytes{0x55, 0x80});
    QVERIFY(!serial.switchTo(3));
    QVERIFY(serial.isOpen());
    QVERIFY(processUntil([&] { return received.size() == 2; }));
    QCOMPARE(warnings.size(), 1);
    // Choosing the terminal in use keeps it as it is.
    writeToMaster(working.master(), Bytes{0x00, 0xD5});
    QVERIFY(serial.switchTo(1));
    QVERIFY(processUntil([&] { return received.size() == 4; }));

    QVERIFY(serial.switchTo(2));
    // The old terminal is free for others again, and only the new one is heard.
    QtSerialPort other({{1, working.slave()}}, sink);
    QVERIFY(other.open(1));
    writeToMaster(working.master(), Bytes{0x11});
    writeToMaster(chosen.master(), Bytes{0x22});
    QVERIFY(processUntil([&] { return received.size() == 5; }));
    QCOMPARE(received.back(), std::uint8_t{0x22});
    const std::uint8_t probe[] = {0x55, 0x00, 0x00, 0x55};
    QVERIFY(serial.write(probe));
    QCOMPARE(readFromMaster(chosen.master(), 4), Bytes(std::begin(probe), std::end(probe)));
    QCOMPARE(warnings.size(), 1);
  }

  void vanishedTerminalClosesQuietly() {
    PtyPair pty;
    QVERIFY(pty.ok());
    // The device by a name of its own, as udev names an adapter, which goes when it is pulled
    // out. (The terminal's own number may be handed to another program's terminal at once.)
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString device = dir.filePath(QStringLiteral("ttyUSB0"));
    QVERIFY(QFile::link(pty.slave(), device));
    QStringList warnings;
    QtSerialPort serial({{1, device}}, [&](const QString& l) { warnings << l; });
    int chunks = 0;
    serial.setReceiveHandler([&](std::span<const std::uint8_t>) { ++chunks; });
    QVERIFY(serial.open(1));

    // The adapter is pulled out.
    pty.closeMaster();
    QVERIFY(QFile::remove(device));
    QVERIFY(processUntil([&] { return !serial.isOpen(); }));
    const std::uint8_t probe[] = {0x55, 0x00, 0x00, 0x55};
    QVERIFY(!serial.write(probe));
    QCOMPARE(chunks, 0);
    QVERIFY(warnings.isEmpty());
    // Opening it again fails while it is gone, which is said once however often the board search
    // retries.
    QVERIFY(!serial.open(1));
    QVERIFY(!serial.open(1));
    QCOMPARE(warnings,
             QStringList{
                 QStringLiteral("rtceval: cannot open %1 as port 1: no such device").arg(device)});
  }
};

QTEST_GUILESS_MAIN(PtyLinkTest)
#include "test_pty_link.moc"
