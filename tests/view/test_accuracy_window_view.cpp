// The accuracy window's view against the virtual board on the virtual clock: opened from the
// tools menu it shows its controls by name; Start measures, the labels and the plot follow the
// model, Stop and Apply are enabled as the model says, and everything is reachable by keyboard.
#include <QAction>
#include <QChart>
#include <QChartView>
#include <QDialog>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <chrono>

#include "accuracy/accuracy_dialogs.h"
#include "accuracy/accuracy_window.h"
#include "fake_desktop.h"
#include "main_window/main_window.h"
#include "main_window/qt/main_window_view.h"
#include "scripted_message_boxes.h"
#include "sim/virtual_board_port.h"
#include "virtual_clock.h"

using namespace std::chrono_literals;

namespace {

struct BoardRig {
  rtceval::testing::VirtualClock clock;
  rtceval::sim::VirtualBoardPort board{clock, clock, rtceval::sim::ChipModel::X1226,
                                       rtceval::sim::CivilTime{2026, 12, 8, 10, 0, 0}};
  rtceval::testing::ScriptedMessageBoxes messageBoxes;
  rtceval::testing::FixedPcClock pcClock;
  rtceval::testing::FakeDesktop desktop;
  rtceval::MainWindow model{board, clock, clock, messageBoxes, pcClock, desktop};
  rtceval::qt::MainWindowView view{model};

  BoardRig() {
    board.board().chip().setCrystalPpm(-55.0);
    model.Form_Load();
    view.show();
    clock.advance(250ms);
  }
  QAction* action(const char* name) { return view.findChild<QAction*>(QString::fromUtf8(name)); }
  QDialog* window() { return view.findChild<QDialog*>(QStringLiteral("frmAccuracy")); }
  template <class W>
  W* child(const char* name) {
    return window()->findChild<W*>(QString::fromUtf8(name));
  }
  const rtceval::AccuracyWindow* accuracy() {
    return model.toolHost(rtceval::tool_window::kAccuracy)->current<rtceval::AccuracyWindow>();
  }
};

}  // namespace

class AccuracyWindowViewTest : public QObject {
  Q_OBJECT
 private slots:
  void showsItsControlsAndRefusesToStartWithoutAModel() {
    BoardRig rig;
    rig.action("ACCURACY")->trigger();
    QDialog* w = rig.window();
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("走时精度测量"));
    for (const char* name : {"cmdStart", "cmdStop", "cmdSave", "cmdApply"}) {
      auto* b = rig.child<QPushButton>(name);
      QVERIFY2(b, name);
      QVERIFY(!b->accessibleName().isEmpty());
      QVERIFY(!b->accessibleName().contains(QLatin1Char('&')));
      QVERIFY2(b->focusPolicy() & Qt::TabFocus, name);
    }
    QVERIFY(rig.child<QChartView>("chtOffset"));
    QVERIFY(rig.child<QPushButton>("cmdStart")->isEnabled());
    QVERIFY(!rig.child<QPushButton>("cmdStop")->isEnabled());
    QVERIFY(!rig.child<QPushButton>("cmdSave")->isEnabled());
    QVERIFY(!rig.child<QPushButton>("cmdApply")->isEnabled());
    QCOMPARE(rig.child<QLabel>("lblInterval")->buddy(), rig.child<QSpinBox>("spnInterval"));

    QTest::mouseClick(rig.child<QPushButton>("cmdStart"), Qt::LeftButton);
    QCOMPARE(rig.child<QLabel>("lblStatus")->text(),
             QStringLiteral("请先在“器件”菜单中选择芯片型号。"));
  }

  void measuresDrawsThePlotAndStops() {
    BoardRig rig;
    rig.action("X1226")->trigger();
    rig.action("ACCURACY")->trigger();
    auto* interval = rig.child<QSpinBox>("spnInterval");
    interval->setValue(2);  // below the least: the model keeps 5
    QCOMPARE(rig.accuracy()->intervalSeconds(), 5);
    interval->setValue(6);
    QCOMPARE(rig.accuracy()->intervalSeconds(), 6);

    // Start takes the keyboard focus, and Space presses it.
    rig.child<QPushButton>("cmdStart")->setFocus();
    QTest::keyClick(rig.child<QPushButton>("cmdStart"), Qt::Key_Space);
    QVERIFY(rig.accuracy()->running());
    rig.clock.advance(300s);
    QVERIFY(!interval->isEnabled());
    QVERIFY(rig.child<QPushButton>("cmdStop")->isEnabled());
    QVERIFY(!rig.child<QPushButton>("cmdStart")->isEnabled());
    QVERIFY(rig.child<QLabel>("lblResult")->text().contains(QStringLiteral(" ppm")));
    QVERIFY(rig.child<QLabel>("lblResult")->text().startsWith(QStringLiteral("误差: -5")));
    QVERIFY(rig.child<QLabel>("lblPerDay")->text().startsWith(QStringLiteral("每天: -4.")));
    QCOMPARE(rig.child<QLabel>("lblResult")->accessibleName(),
             rig.child<QLabel>("lblResult")->text());
    QVERIFY(rig.child<QLabel>("lblAdvice")->text().contains(QStringLiteral("DTR = 0x")));
    QVERIFY(rig.child<QPushButton>("cmdApply")->isEnabled());

    auto* chart = rig.child<QChartView>("chtOffset")->chart();
    auto* series = qobject_cast<QLineSeries*>(chart->series().first());
    QCOMPARE(static_cast<std::size_t>(series->count()), rig.accuracy()->samples().size());
    QVERIFY(series->count() > 40);
    QVERIFY2(series->at(series->count() - 1).y() < -10.0, "a slow chip falls behind");

    QTest::mouseClick(rig.child<QPushButton>("cmdStop"), Qt::LeftButton);
    QVERIFY(!rig.accuracy()->running());
    QVERIFY(rig.child<QPushButton>("cmdStart")->isEnabled());
    QVERIFY(rig.child<QPushButton>("cmdSave")->isEnabled());
  }
};

QTEST_MAIN(AccuracyWindowViewTest)
#include "test_accuracy_window_view.moc"
