// The Qt implementations of the seams: port numbering, frame trace lines, the time-of-day format,
// the serial port's behaviour without a device and its reasons for refusing one, the fonts, and
// files written whole and read only when they are regular files, the file boxes.
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

#include "board_link/qt/core/frame_trace.h"
#include "platform/qt/core/qt_files.h"
#include "platform/qt/core/qt_pc_clock.h"
#include "platform/qt/core/qt_serial_port.h"
#include "platform/qt/file_chooser.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/ui_fonts.h"

using rtceval::qt::QtSerialPort;

namespace {

// What describeOpenFailure says about `device` to a user without any rights on it (nobody), run
// in a child process that gives up root.
QString reasonForNobody(const QString& device) {
  int channel[2];
  if (::pipe(channel) != 0) return QStringLiteral("pipe failed");
  const pid_t child = ::fork();
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    QByteArray said = "could not become nobody";
    if (::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0) {
      said = rtceval::qt::describeOpenFailure(device, QSerialPort::PermissionError, "Qt's text")
                 .toUtf8();
    }
    const bool written =
        ::write(channel[1], said.constData(), static_cast<std::size_t>(said.size())) ==
        static_cast<ssize_t>(said.size());
    ::_exit(written ? 0 : 1);
  }
  ::close(channel[1]);
  QByteArray heard;
  char buffer[512];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) heard.append(buffer, n);
  ::close(channel[0]);
  ::waitpid(child, nullptr, 0);
  return QString::fromUtf8(heard);
}

}  // namespace

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
    const std::uint8_t probe[] = {0x55, 0x00, 0x00, 0x55};
    QCOMPARE(rtceval::qt::formatFrameTrace(at, true, probe, "探测评估板"),
             QStringLiteral("09:05:30.007 > 55 00 00 55  探测评估板"));
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
    QTest::newRow("quoted quote") << "HH:mm:ss 'o''clock' t"
                                  << "HH:mm:ss 'o''clock'";
    QTest::newRow("quote left open") << "HH 'mm t"
                                     << "HH 'mm";
  }

  void dropsTheZoneFromTheTimeFormat() {
    QFETCH(QString, longFormat);
    QFETCH(QString, expected);
    QCOMPARE(rtceval::qt::timeOfDayFormat(longFormat), expected);
  }

  void missingDeviceFailsAndIsReportedOnce() {
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
    // The device the user named is missing: said once, however often the search retries. A port
    // number without any device (0 here) is normal during the search and says nothing.
    QCOMPARE(
        warnings,
        QStringList{"rtceval: cannot open /nonexistent/rtceval-port as port 2: no such device"});
  }

  void tellsWhyADeviceCannotBeOpened_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("directory") << "directory"
                               << "is a directory, not a serial device";
    QTest::newRow("regular file") << "file"
                                  << "not a terminal (a regular file, not a serial device)";
    QTest::newRow("FIFO") << "fifo"
                          << "not a terminal (a FIFO, not a serial device)";
    QTest::newRow("character device that is no terminal") << "null"
                                                          << "not a terminal (not a serial device)";
    QTest::newRow("missing path") << "missing"
                                  << "no such device";
    QTest::newRow("path through a file") << "under file"
                                         << "no such device";
    QTest::newRow("name with a percent sign") << "percent"
                                              << "no such device";
    QTest::newRow("name too long") << "long"
                                   << "device name too long";
  }

  void tellsWhyADeviceCannotBeOpened() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("file"));
    {
      QFile f(file);
      QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString device = kind == "directory"    ? dir.path()
                           : kind == "file"       ? file
                           : kind == "fifo"       ? fifo
                           : kind == "null"       ? QStringLiteral("/dev/null")
                           : kind == "missing"    ? dir.filePath(QStringLiteral("ttyUSB9"))
                           : kind == "under file" ? file + QStringLiteral("/ttyUSB0")
                           : kind == "percent"    ? dir.filePath(QStringLiteral("tty%2USB"))
                                                  : dir.filePath(QString(300, QLatin1Char('x')));

    QStringList warnings;
    QtSerialPort port({{3, device}}, [&](const QString& line) { warnings << line; });
    for (int attempt = 0; attempt < 3; ++attempt) QVERIFY(!port.open(3));
    QVERIFY(!port.isOpen());
    QCOMPARE(warnings.size(), 1);
    QCOMPARE(warnings.front(),
             QStringLiteral("rtceval: cannot open %1 as port 3: %2").arg(device, reason));
  }

  void tellsAgainWhenTheReasonChanges() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString device = dir.filePath(QStringLiteral("ttyUSB0"));
    QStringList warnings;
    QtSerialPort port({{1, device}}, [&](const QString& line) { warnings << line; });
    QVERIFY(!port.open(1));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("ttyUSB0")));
    QVERIFY(!port.open(1));
    QVERIFY(!port.open(1));
    QCOMPARE(warnings.size(), 2);
    QVERIFY2(warnings[0].endsWith(QStringLiteral("no such device")), qPrintable(warnings[0]));
    QVERIFY2(warnings[1].endsWith(QStringLiteral("is a directory, not a serial device")),
             qPrintable(warnings[1]));
  }

  void namesTheGroupThatOwnsADeniedDevice() {
    if (::geteuid() != 0) QSKIP("making device nodes and giving up rights needs root");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    const struct group* tty = ::getgrnam("tty");
    if (!tty) QSKIP("no group 'tty' to own the device");
    // A character device of the group 'tty', not 'dialout', open to its group only; and one open
    // to its owner only.
    const QByteArray shared = QFile::encodeName(dir.filePath(QStringLiteral("ttyGroup")));
    const QByteArray owned = QFile::encodeName(dir.filePath(QStringLiteral("ttyOwner")));
    for (const QByteArray& node : {shared, owned})
      QCOMPARE(::mknod(node.constData(), S_IFCHR | 0600, makedev(1, 3)), 0);
    QCOMPARE(::chown(shared.constData(), 0, tty->gr_gid), 0);
    QCOMPARE(::chmod(shared.constData(), 0660), 0);

    const QString groupReason = reasonForNobody(QFile::decodeName(shared));
    QCOMPARE(groupReason, QStringLiteral("permission denied (the device belongs to the group "
                                         "'tty': add your user to it with 'sudo usermod -aG tty "
                                         "$USER' and log in again)"));
    QCOMPARE(reasonForNobody(QFile::decodeName(owned)),
             QStringLiteral("permission denied (only its owner 'root' may open it)"));
  }

  void fontsNameOneFaceEach() {
    QApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    QVERIFY(app);
    const QFont before = QApplication::font();
    rtceval::qt::applyUiFont(*app);
    const QFont appFont = QApplication::font();
    QApplication::setFont(before);
    // One face each: a font naming several makes the toolkit rank every installed font as a
    // fallback for each size it opens, before the window can show.
    const QStringList chinese{QStringLiteral("Noto Sans CJK SC")};
    QCOMPARE(appFont.families(), chinese);
    QCOMPARE(appFont.pointSizeF(), 9.0);
    QCOMPARE(rtceval::qt::uiFont(12).families(), chinese);
    QCOMPARE(rtceval::qt::uiFont(12).pixelSize(), 16);
    QCOMPARE(rtceval::qt::clockFont(24).families(),
             QStringList{QStringLiteral("Liberation Serif")});
    QCOMPARE(rtceval::qt::clockFont(24).styleHint(), QFont::Serif);
  }

  void writesAFileWholeOrLeavesTheOldOne() {
    QTemporaryDir dir;
    rtceval::qt::QtFiles files;
    const std::string path = dir.filePath(QStringLiteral("快照.json")).toStdString();
    const std::string text = std::string("{\"a\": \"中\"}\n") + std::string(1, '\0') + "z";
    QVERIFY(files.writeFile(path, text).ok());
    QCOMPARE(files.readFile(path, rtceval::Files::kNoLimit).text.value_or(""), text);
    QVERIFY(!files.readFile(path, text.size() - 1).text.has_value());
    QVERIFY(files.writeFile(path, "short").ok());

    // The disk fills up while the new text is written (no file may grow past 4 KiB): the write
    // fails with the system's reason, the old file stays as it was, no temporary file is left.
    rlimit before{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const rlimit full{4096, before.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &full), 0);
    const rtceval::FileWrite tooLong = files.writeFile(path, std::string(64 * 1024, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!tooLong.ok());
    QCOMPARE(files.readFile(path, rtceval::Files::kNoLimit).text.value_or(""),
             std::string("short"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("快照.json")});

    // A folder that does not exist: nothing is written, and the call says why.
    const rtceval::FileWrite missing =
        files.writeFile(dir.filePath(QStringLiteral("no/such.json")).toStdString(), "x");
    QVERIFY(!missing.ok());
    QVERIFY(!QDir(dir.filePath(QStringLiteral("no"))).exists());
  }

  // Anything but a regular file is refused before a byte is read (a pipe would wait for a writer
  // for ever, /dev/zero never ends); a file past the limit is refused without being read whole.
  void readsRegularFilesOnly_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("refusal");
    using Refusal = rtceval::FileRead::Refusal;
    QTest::newRow("pipe") << QStringLiteral("pipe") << int(Refusal::NotAFile);
    QTest::newRow("device") << QStringLiteral("/dev/zero") << int(Refusal::NotAFile);
    QTest::newRow("folder") << QStringLiteral("folder") << int(Refusal::NotAFile);
    QTest::newRow("too large") << QStringLiteral("large.json") << int(Refusal::TooLarge);
    QTest::newRow("missing") << QStringLiteral("missing.json") << int(Refusal::CannotRead);
    QTest::newRow("link to a file") << QStringLiteral("link.json") << int(Refusal::None);
  }
  void readsRegularFilesOnly() {
    QFETCH(QString, path);
    QFETCH(int, refusal);
    QTemporaryDir dir;
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0600) ==
            0);
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QFile large(dir.filePath(QStringLiteral("large.json")));
    QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(100 << 20));
    large.close();
    QFile small(dir.filePath(QStringLiteral("small.json")));
    QVERIFY(small.open(QIODevice::WriteOnly) && small.write("{}") == 2);
    small.close();
    QVERIFY(QFile::link(small.fileName(), dir.filePath(QStringLiteral("link.json"))));

    const rtceval::FileRead read = rtceval::qt::QtFiles().readFile(
        (path.startsWith(QLatin1Char('/')) ? path : dir.filePath(path)).toStdString(), 1 << 20);
    QCOMPARE(int(read.refusal), refusal);
    QCOMPARE(read.text.has_value(), refusal == int(rtceval::FileRead::Refusal::None));
    QCOMPARE(read.reason.empty(), refusal != int(rtceval::FileRead::Refusal::CannotRead));
  }

  // The file boxes start in the documents or where the program last chose a file, and tell a
  // file's type from its name alone: a file without an ending that starts like a PDF is a file.
  void fileBoxesStartInTheProgramsFolderAndReadNoContent() {
    QTemporaryDir dir;
    QFile pdf(dir.filePath(QStringLiteral("report")));
    QVERIFY(pdf.open(QIODevice::WriteOnly) && pdf.write("%PDF-1.4\n") > 0);
    pdf.close();

    rtceval::qt::FileChooser chooser;
    const QString documents = rtceval::qt::FileChooser::documentsFolder();
    auto box = chooser.dialog(nullptr, true, QStringLiteral("t"), QStringLiteral("CSV (*.csv)"));
    QVERIFY(box->testOption(QFileDialog::DontUseNativeDialog));
    QCOMPARE(QDir(box->directory()).canonicalPath(), QDir(documents).canonicalPath());
    QVERIFY(box->iconProvider());
    QCOMPARE(box->iconProvider()->type(QFileInfo(pdf.fileName())), QString::fromUtf8("文件"));
    QCOMPARE(box->iconProvider()->type(QFileInfo(QStringLiteral("/dev/zero"))),
             QString::fromUtf8("设备或管道"));

    chooser.remember(dir.filePath(QStringLiteral("a.csv")));
    box = chooser.dialog(nullptr, false, QStringLiteral("t"), QStringLiteral("CSV (*.csv)"));
    QCOMPARE(QDir(box->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
  }
};

QTEST_MAIN(PlatformQtTest)
#include "test_platform_qt.moc"
