// The board process unplugged and plugged back while the program reads the time: the program
// finds the board again by itself. Real time is unavoidable here; each wait ends on the event it
// waits for, under a generous bound.
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <functional>

#include "main_window/main_window.h"
#include "main_window/status_bar.h"
#include "platform/qt/core/qt_serial_port.h"
#include "platform/qt/core/qt_timer.h"
#include "platform/qt/qt_desktop.h"
#include "scripted_message_boxes.h"

using namespace std::chrono_literals;

namespace {

constexpr std::chrono::milliseconds kBound = 20s;
constexpr const char* kGone = "评估板已断开,正在重连…";

bool processUntil(const std::function<bool()>& done) {
  const QDeadlineTimer deadline(kBound);
  QTimer bound;  // wakes the loop when nothing else does
  bound.setSingleShot(true);
  bound.start(kBound);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

// The board process with its terminal behind a link of a fixed name, told commands on its
// standard input; each command's answer is awaited.
class BoardProcess {
 public:
  explicit BoardProcess(const QString& link) {
    process_.setProgram(QStringLiteral(RTCEVAL_BOARD_PROGRAM));
    process_.setArguments(
        {QStringLiteral("--model"), QStringLiteral("X1226"), QStringLiteral("--link"), link});
    process_.start();
  }
  ~BoardProcess() {
    process_.terminate();
    if (!process_.waitForFinished(int(kBound.count()))) process_.kill();
  }
  BoardProcess(const BoardProcess&) = delete;
  BoardProcess& operator=(const BoardProcess&) = delete;

  // The next line the board prints ("" when none came within the bound).
  QString nextLine() {
    if (!processUntil([this] { return process_.canReadLine(); })) return {};
    return QString::fromLocal8Bit(process_.readLine()).trimmed();
  }
  QString command(const char* line) {
    process_.write(QByteArray(line) + '\n');
    return nextLine();
  }

 private:
  QProcess process_;
};

}  // namespace

class PtyReconnectTest : public QObject {
  Q_OBJECT

 private slots:
  void boardUnpluggedAndPluggedBackIsPickedUpAgain() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath(QStringLiteral("board"));
    BoardProcess board(link);
    QVERIFY(board.nextLine().startsWith(QStringLiteral("/dev/")));

    // Port 1 is the board's link; the other numbers are whatever the machine has.
    rtceval::qt::QtSerialPort serial({{1, link}}, [](const QString&) {});
    rtceval::qt::QtTimerFactory timers;
    rtceval::qt::QtMonotonicClock clock;
    rtceval::testing::ScriptedMessageBoxes messageBoxes;
    rtceval::testing::FixedPcClock pcClock;
    rtceval::qt::QtDesktop desktop(dir.path());
    rtceval::MainWindow model(serial, timers, clock, messageBoxes, pcClock, desktop);
    const auto panel = [&](int n) { return model.controls().statusBar.panel(n); };

    model.Form_Load();
    QVERIFY(processUntil([&] { return panel(2) == "成功连接评估板于串口1"; }));
    model.menuClick(rtceval::MenuId::X1226);
    model.autoReadTimeClicked(true);
    QVERIFY(processUntil([&] { return panel(2) == "读时间成功"; }));

    QCOMPARE(board.command("unplug"), QStringLiteral("unplugged"));
    QVERIFY(processUntil([&] { return panel(2) == kGone; }));
    QCOMPARE(panel(6), std::string());
    QVERIFY(model.isReconnecting());

    QVERIFY(board.command("plug").startsWith(QStringLiteral("plugged in: /dev/")));
    QVERIFY(processUntil([&] { return panel(2) == "成功连接评估板于串口1"; }));
    QCOMPARE(panel(6), std::string("1"));
    // The time is read again, as before.
    QVERIFY(processUntil([&] { return panel(2) == "读时间成功"; }));
    QVERIFY(model.controls().autoReadTime.checked);
    QVERIFY(messageBoxes.shown.empty());
    model.Form_Unload();
  }
};

QTEST_GUILESS_MAIN(PtyReconnectTest)
#include "test_pty_reconnect.moc"
