// The main window's view: it shows its model and sends the user's events to it.
#include <QCheckBox>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QtTest>

#include <chrono>

#include "main_window/qt/indicator_widget.h"
#include "view_rig.h"

using namespace std::chrono_literals;
using rtceval::testing::ViewRig;
using Bytes = std::vector<std::uint8_t>;

namespace {
const Bytes READ_TIME_REQUEST{0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x30, 0x08, 0x01};
const Bytes READ_SR_REQUEST{0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x3F, 0x01, 0x09};
// 09:05:30 in 24-hour mode, Thursday 20 May 2004.
const Bytes TIME_REPLY_24H{0x55, 0x80, 0x08, 0x30, 0x05, 0x89, 0x20, 0x05, 0x04, 0x04, 0x20, 0xE8};
// 01:05:30 PM in 12-hour mode, same day.
const Bytes TIME_REPLY_PM{0x55, 0x80, 0x08, 0x30, 0x05, 0x21, 0x20, 0x05, 0x04, 0x04, 0x20, 0x80};
}  // namespace

class MainWindowViewTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheLoadedWindow() {
    ViewRig rig;
    QCOMPARE(rig.view.windowTitle(), QStringLiteral("KESMO时钟芯片简易评估系统"));
    QCOMPARE(rig.labelText("LabTime"), QStringLiteral("12:00:00"));
    QCOMPARE(rig.labelText("LabDate"), QStringLiteral(" 2004年 5月 20日 星期四"));
    QCOMPARE(rig.find<QLabel>("LabTime")->accessibleName(), QStringLiteral("12:00:00"));
    QVERIFY(rig.find<QLabel>("LabAM")->isEnabled());
    QVERIFY(!rig.find<QLabel>("LabPM")->isEnabled());
    QVERIFY(rig.find<QLabel>("LabAlm0")->isEnabled());
    QVERIFY(!rig.find<QLabel>("LabAlm1")->isEnabled());
    QVERIFY(!rig.find<QLabel>("LabEV")->isEnabled());
    QVERIFY(!rig.find<QCheckBox>("Check1")->isEnabled());
    QVERIFY(!rig.find<QCheckBox>("Check2")->isEnabled());
    QCOMPARE(rig.find<QCheckBox>("Check2")->accessibleName(), QStringLiteral("自动监测报警或事件"));

    QCOMPARE(rig.panel(1), QStringLiteral("评估板状态"));
    QCOMPARE(rig.panel(2), QStringLiteral("自动连接评估板..."));
    QCOMPARE(rig.panel(3), QStringLiteral("当前器件"));
    QCOMPARE(rig.panel(4), QString());
    QCOMPARE(rig.panel(5), QStringLiteral("串口"));
    QCOMPARE(rig.panel(7), QStringLiteral("系统时间"));
  }

  void hidesTheDocumentBlockUntilADeviceIsChosen() {
    ViewRig rig;
    const QStringList block{"Label1", "Labmht", "Labds", "LabAN0", "LabAN(0)", "LabAN(8)"};
    for (const QString& name : block)
      QVERIFY2(rig.view.findChild<QLabel*>(name)->isHidden(), qPrintable(name));
    QVERIFY(rig.find<QLabel>("LabBAT")->isHidden());

    rig.action("X1208")->trigger();
    for (const char* name : {"Label1", "Labmht", "Labds", "LabAN0", "LabAN(0)"})
      QVERIFY2(!rig.find<QLabel>(name)->isHidden(), name);
    // The X1208 has one application note; the backup-supply caption is never shown.
    QVERIFY(rig.find<QLabel>("LabAN(1)")->isHidden());
    QVERIFY(rig.find<QLabel>("LabBAT")->isHidden());
    QCOMPARE(rig.labelText("Labmht"), QStringLiteral("X1208简介"));
    QCOMPARE(rig.labelText("Labds"), QStringLiteral("X1208数据手册"));

    rig.action("X1226")->trigger();
    QVERIFY(!rig.find<QLabel>("LabAN(8)")->isHidden());
  }

  void placesControlsAtTheirTwips_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("Frame1") << "Frame1" << QRect(16, 8, 521, 225);
    QTest::newRow("LabTime in Frame1") << "LabTime" << QRect(16, 24, 489, 129);
    QTest::newRow("LabPM in Frame1") << "LabPM" << QRect(88, 168, 57, 41);
    QTest::newRow("LabDate in Frame1") << "LabDate" << QRect(184, 176, 313, 25);
    QTest::newRow("round alarm lamp") << "ShapeAlarm0" << QRect(48, 280, 17, 17);
    QTest::newRow("wide battery lamp") << "ShapeBAT" << QRect(328, 280, 25, 17);
    QTest::newRow("LabAlm1") << "LabAlm1" << QRect(88, 304, 49, 25);
    QTest::newRow("Check2") << "Check2" << QRect(16, 360, 145, 17);
    QTest::newRow("Labds") << "Labds" << QRect(224, 312, 113, 17);
    QTest::newRow("last note, second row") << "LabAN(8)" << QRect(368, 368, 49, 17);
    QTest::newRow("Picture1") << "Picture1" << QRect(352, 240, 177, 113);
  }

  void placesControlsAtTheirTwips() {
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    ViewRig rig;
    QWidget* widget = rig.view.findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), pixels);
  }

  void clockControlsSitInTheFrame() {
    ViewRig rig;
    const auto* frame = rig.find<QGroupBox>("Frame1");
    QVERIFY(frame->title().isEmpty());
    for (const char* name : {"LabTime", "LabAM", "LabPM", "LabDate"})
      QCOMPARE(rig.find<QWidget>(name)->parentWidget(), frame);
  }

  void keepsTheFixedClientSizeAndStatusPanels() {
    ViewRig rig;
    QCOMPARE(rig.view.centralWidget()->size(), QSize(557, 389));
    QCOMPARE(rig.view.statusBar()->height(), 25);
    QCOMPARE(rig.view.minimumSize(), rig.view.maximumSize());
    QVERIFY(!(rig.view.windowFlags() & Qt::WindowMinMaxButtonsHint));
    const int widths[] = {70, 187, 59, 47, 33, 27, 59, 72};
    for (int n = 1; n <= 8; ++n) {
      const auto* panel = rig.view.findChild<QLabel*>(QStringLiteral("Panel%1").arg(n));
      QCOMPARE(panel->width(), widths[n - 1]);
    }
  }

  void drawsTheTimeInLargeSerifDigitsThatFit() {
    ViewRig rig;
    const QLabel* time = rig.find<QLabel>("LabTime");
    QVERIFY2(time->font().pixelSize() >= 100, "the clock must stay very large");
    QVERIFY(QFontInfo(time->font()).styleHint() == QFont::Serif ||
            QFontInfo(time->font()).family().contains(QStringLiteral("Serif")));
    QVERIFY(QFontMetrics(time->font()).horizontalAdvance(QStringLiteral("00:00:00")) <=
            time->width());
  }

  void menusComeInOrderWithTheirAccessKeys() {
    ViewRig rig;
    QStringList titles;
    for (QAction* a : rig.view.menuBar()->actions()) titles << a->text();
    QCOMPARE(titles, (QStringList{"(&D)器件", "(&C)命令", "(&F)功能", "(&T)工具", "(&H)帮助"}));
    QStringList devices;
    for (QAction* a : rig.find<QMenu>("MDEVICE")->actions()) {
      devices << a->objectName();
      QVERIFY(a->isCheckable());
      QVERIFY(!a->isChecked());
    }
    QCOMPARE(devices, (QStringList{"X1226", "X1227", "X1228", "X1205", "X1208", "X1209"}));
    QCOMPARE(rig.action("IICS")->text(), QStringLiteral("IIC源程序"));
  }

  void enablesMenusOnceADeviceIsChosen() {
    ViewRig rig;
    for (const char* name : {"READTIME", "SETTIME", "STATUS"})
      QVERIFY2(!rig.action(name)->isEnabled(), name);
    QVERIFY(!rig.find<QMenu>("MFUNCTION")->menuAction()->isEnabled());
    for (const char* name : {"CONNECT", "X1226", "UM", "MABOUT"})
      QVERIFY2(rig.action(name)->isEnabled(), name);

    rig.action("X1208")->trigger();
    QCOMPARE(rig.view.windowTitle(), QStringLiteral("KESMO时钟芯片简易评估系统-----X1208"));
    QCOMPARE(rig.panel(4), QStringLiteral("X1208"));
    for (const char* name : {"READTIME", "SETTIME", "STATUS", "mINT", "FOUT", "USERREG"})
      QVERIFY2(rig.action(name)->isEnabled(), name);
    QVERIFY(rig.find<QMenu>("MFUNCTION")->menuAction()->isEnabled());
    // What the X1208 lacks stays greyed.
    for (const char* name : {"ALARM2", "mEVENT", "MEMORY", "WDT", "BP"})
      QVERIFY2(!rig.action(name)->isEnabled(), name);
    QVERIFY(rig.find<QCheckBox>("Check1")->isEnabled());
    QVERIFY(rig.action("X1208")->isChecked());

    rig.action("X1227")->trigger();
    QVERIFY(rig.action("X1227")->isChecked());
    QVERIFY(!rig.action("X1208")->isChecked());
    QVERIFY(rig.action("WDT")->isEnabled());
    QVERIFY(!rig.action("mINT")->isEnabled());
  }

  void readTimeMenuShowsTheChipTime() {
    ViewRig rig;
    rig.action("X1226")->trigger();
    rig.action("READTIME")->trigger();
    QCOMPARE(rig.port.writes.back(), READ_TIME_REQUEST);
    QCOMPARE(rig.panel(2), QStringLiteral("读时间..."));

    // The reply in two pieces; nothing changes until it is complete.
    rig.port.receive(Bytes(TIME_REPLY_24H.begin(), TIME_REPLY_24H.begin() + 5));
    QCOMPARE(rig.labelText("LabTime"), QStringLiteral("12:00:00"));
    rig.port.receive(Bytes(TIME_REPLY_24H.begin() + 5, TIME_REPLY_24H.end()));
    QCOMPARE(rig.labelText("LabTime"), QStringLiteral("09:05:30"));
    QCOMPARE(rig.labelText("LabDate"), QStringLiteral("2004年05月20日 星期四"));
    QCOMPARE(rig.panel(2), QStringLiteral("读时间成功"));
    // 24-hour mode greys both AM and PM.
    QVERIFY(!rig.find<QLabel>("LabAM")->isEnabled());
    QVERIFY(!rig.find<QLabel>("LabPM")->isEnabled());

    rig.action("READTIME")->trigger();
    rig.port.receive(TIME_REPLY_PM);
    QCOMPARE(rig.labelText("LabTime"), QStringLiteral("01:05:30"));
    QVERIFY(!rig.find<QLabel>("LabAM")->isEnabled());
    QVERIFY(rig.find<QLabel>("LabPM")->isEnabled());
  }

  void checkBoxClicksReachTheModel() {
    ViewRig rig;
    auto* check1 = rig.find<QCheckBox>("Check1");
    auto* check2 = rig.find<QCheckBox>("Check2");
    QTest::mouseClick(check1, Qt::LeftButton);
    QVERIFY(!rig.model.controls().autoReadTime.checked);

    rig.action("X1226")->trigger();
    QTest::mouseClick(check1, Qt::LeftButton);
    QVERIFY(rig.model.controls().autoReadTime.checked);
    QVERIFY(check1->isChecked());
    QTest::mouseClick(check2, Qt::LeftButton);
    QVERIFY(rig.model.monitorTimer().isEnabled());
    QTest::mouseClick(check2, Qt::LeftButton);
    QVERIFY(!rig.model.controls().autoMonitor.checked);
    QVERIFY(!rig.model.monitorTimer().isEnabled());
  }

  void keyboardAndAssistiveTicksReachTheModel() {
    ViewRig rig;
    rig.action("X1226")->trigger();
    auto* check1 = rig.find<QCheckBox>("Check1");
    check1->setFocus();
    QTest::keyClick(check1, Qt::Key_Space);
    QVERIFY(rig.model.controls().autoReadTime.checked);
    rig.find<QCheckBox>("Check2")->toggle();  // AT-SPI's Toggle action
    QVERIFY(rig.model.controls().autoMonitor.checked);
    QVERIFY(rig.model.monitorTimer().isEnabled());
    check1->toggle();
    QVERIFY(!rig.model.controls().autoReadTime.checked);
  }

  void timeOutAnswerUnticksTheBoxes() {
    ViewRig rig;
    rig.action("X1226")->trigger();
    QTest::mouseClick(rig.find<QCheckBox>("Check1"), Qt::LeftButton);
    bool tickedWhileAsked = false;
    rig.messageBoxes.whileOpen = [&] {
      tickedWhileAsked = rig.find<QCheckBox>("Check1")->isChecked();
    };
    rig.messageBoxes.answers = {true};
    rig.port.openable.clear();  // requests go nowhere and time out
    rig.port.close();
    rig.clock.advance(2200ms);
    QCOMPARE(rig.messageBoxes.shown.size(), std::size_t{1});
    QVERIFY(rig.messageBoxes.shown.front().question);
    QVERIFY(tickedWhileAsked);  // the window behind the question was current
    QVERIFY(!rig.find<QCheckBox>("Check1")->isChecked());
    QVERIFY(!rig.model.controls().autoReadTime.checked);
    // Meanwhile every tick of the 200 ms timer showed the PC's time.
    QCOMPARE(rig.panel(8), QStringLiteral("10:11:12"));
    QCOMPARE(rig.view.findChild<QLabel*>("Panel8")->accessibleName(), QStringLiteral("10:11:12"));
  }

  void lampsShowTheStatusRegister() {
    ViewRig rig;
    using rtceval::qt::IndicatorWidget;
    const auto lamp = [&](const char* name) { return rig.find<IndicatorWidget>(name); };
    QCOMPARE(lamp("ShapeAlarm0")->colour(), QColor(128, 0, 0));
    QCOMPARE(lamp("ShapeBAT")->colour(), QColor(0, 64, 0));
    QCOMPARE(lamp("ShapeAlarm0")->accessibleName(), QStringLiteral("报警 0"));
    QCOMPARE(lamp("ShapeBAT")->accessibleName(), QStringLiteral("备用电源"));
    QCOMPARE(lamp("ShapeBAT")->accessibleDescription(), QStringLiteral("灭"));

    rig.action("X1226")->trigger();
    QTest::mouseClick(rig.find<QCheckBox>("Check2"), Qt::LeftButton);
    // The SR read at 1 s waits out the search's unanswered probe of that tick (200 ms).
    rig.clock.advance(1240ms);
    QCOMPARE(rig.port.writes.back(), READ_SR_REQUEST);
    rig.port.receive({0x55, 0x80, 0x01, 0xA0, 0x76});  // backup supply and alarm 0 set
    QCOMPARE(lamp("ShapeBAT")->colour(), QColor(0, 255, 0));
    QCOMPARE(lamp("ShapeAlarm0")->colour(), QColor(255, 0, 0));
    QCOMPARE(lamp("ShapeAlarm1")->colour(), QColor(128, 0, 0));
    QCOMPARE(lamp("ShapeBAT")->accessibleDescription(), QStringLiteral("亮"));
    QCOMPARE(lamp("ShapeAlarm1")->accessibleDescription(), QStringLiteral("灭"));
  }

  void closingTheWindowUnloadsTheModel() {
    ViewRig rig;
    QCOMPARE(rig.port.openPort(), 1);
    QVERIFY(rig.model.mainTimer().isEnabled());
    rig.view.close();
    QCOMPARE(rig.port.openPort(), 0);
    QVERIFY(!rig.model.mainTimer().isEnabled());
  }
};

QTEST_MAIN(MainWindowViewTest)
#include "test_main_window_view.moc"
