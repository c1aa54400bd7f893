// The desktop adapter's opener: a stand-in `xdg-open` early in PATH records its arguments and
// answers with the status the test chooses.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/qt/qt_desktop.h"

namespace {

// Writes an executable `xdg-open` into `dir` that appends each argument on a line of its own to
// args.txt and ends with `status`.
void writeStandIn(const QTemporaryDir& dir, int status) {
  QFile script(dir.filePath(QStringLiteral("xdg-open")));
  QVERIFY(script.open(QIODevice::WriteOnly));
  script.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '%1'; done\n"
                              "exit %2\n")
                   .arg(dir.filePath(QStringLiteral("args.txt")))
                   .arg(status)
                   .toUtf8());
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QStringList recordedArguments(const QTemporaryDir& dir) {
  QFile args(dir.filePath(QStringLiteral("args.txt")));
  if (!args.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(args.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace

class DesktopOpenerTest : public QObject {
  Q_OBJECT

 private:
  QByteArray savedPath_ = qgetenv("PATH");

  void useStandIn(const QTemporaryDir& dir) {
    qputenv("PATH", dir.path().toUtf8() + ':' + savedPath_);
  }

 private slots:
  void cleanup() { qputenv("PATH", savedPath_); }

  void passesAPathWithBlanksAndSemicolonsAsOneArgument() {
    QTemporaryDir dir;
    writeStandIn(dir, 0);
    useStandIn(dir);
    rtceval::qt::QtDesktop desktop(QString{});
    bool noViewer = false;
    const std::string path = "/tmp/my docs; rm -rf x/X1226 \"v2\".pdf";
    QVERIFY(desktop.openFile(path, [&] { noViewer = true; }));
    QTRY_COMPARE(recordedArguments(dir), QStringList{QString::fromStdString(path)});
    QTest::qWait(50);
    QVERIFY(!noViewer);
  }

  void reportsAnOpenerThatFoundNoViewer() {
    QTemporaryDir dir;
    writeStandIn(dir, 3);
    useStandIn(dir);
    rtceval::qt::QtDesktop desktop(QString{});
    bool noViewer = false;
    QVERIFY(desktop.openFile("/tmp/X1226.pdf", [&] { noViewer = true; }));
    QTRY_VERIFY(noViewer);
  }

  void anOpenerThatFailsOtherwiseIsNotTakenForAMissingViewer() {
    QTemporaryDir dir;
    writeStandIn(dir, 4);
    useStandIn(dir);
    rtceval::qt::QtDesktop desktop(QString{});
    bool noViewer = false;
    QVERIFY(desktop.openFile("/tmp/X1226.pdf", [&] { noViewer = true; }));
    QTRY_COMPARE(recordedArguments(dir).size(), 1);
    QTest::qWait(100);
    QVERIFY(!noViewer);
  }

  void noOpenerAtAllCannotStart() {
    QTemporaryDir empty;
    qputenv("PATH", empty.path().toUtf8());
    rtceval::qt::QtDesktop desktop(QString{});
    QVERIFY(!desktop.openFile("/tmp/X1226.pdf", [] {}));
  }
};

QTEST_GUILESS_MAIN(DesktopOpenerTest)
#include "test_desktop_opener.moc"
