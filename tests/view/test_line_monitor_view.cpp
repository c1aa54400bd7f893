// The line monitor's window: its table shows the model's lines and follows the newest unless
// the user scrolled up; its buttons and keys reach the model; the rows stay in step with the ring.
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

#include <algorithm>

#include "line_monitor/line_monitor.h"
#include "line_monitor/line_monitor_dialogs.h"
#include "line_monitor/qt/line_monitor_view.h"
#include "line_monitor/qt/line_table_model.h"
#include "view_rig.h"

using namespace rtceval;
using rtceval::testing::ViewRig;

namespace {
const std::uint8_t kProbe[] = {0x55, 0x00, 0x00, 0x55};
}

class LineMonitorViewTest : public QObject {
  Q_OBJECT
 private slots:
  void showsTheLineAndForwardsTheUsersActions() {
    ViewRig rig;
    rig.pcClock.instant = {1000, 0};
    rig.action("LINEMONITOR")->trigger();
    auto* window = rig.find<qt::LineMonitorView>("frmLineMonitor");
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("通信监视"));
    auto* table = window->findChild<QTableView*>(QStringLiteral("lineTable"));
    auto* status = window->findChild<QLabel*>(QStringLiteral("statusLabel"));
    QVERIFY(table && status);

    // The board search's probe and the board's answer.
    rig.pcClock.instant = {1250, 250};
    rig.clock.advance(std::chrono::milliseconds(200));
    rig.port.receive({0x55, 0x80, 0x00, 0xD5});
    QCOMPARE(table->model()->rowCount(), 2);
    QCOMPARE(table->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("含义"));
    QCOMPARE(table->model()->index(0, 0).data().toString(), QStringLiteral("250"));
    QCOMPARE(table->model()->index(0, 1).data().toString(), QStringLiteral("00:00:00.250"));
    QCOMPARE(table->model()->index(0, 3).data().toString(), QStringLiteral("55 00 00 55"));
    QCOMPARE(table->model()->index(1, 4).data().toString(), QStringLiteral("评估板应答"));
    QCOMPARE(status->text(), QStringLiteral("共2行"));

    // Every control can be reached by the keyboard and is named.
    for (const char* name : {"pauseButton", "clearButton", "copyButton", "saveButton"}) {
      auto* b = window->findChild<QPushButton*>(QLatin1String(name));
      QVERIFY2(b, name);
      QVERIFY(b->focusPolicy() & Qt::TabFocus);
      QVERIFY(!b->accessibleName().isEmpty());
    }
    QVERIFY(table->focusPolicy() & Qt::TabFocus);
    QCOMPARE(table->accessibleName(), QStringLiteral("通信监视"));

    // Ctrl+C copies the selected rows in line order.
    table->selectionModel()->select(table->model()->index(1, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    table->selectionModel()->select(table->model()->index(0, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    window->activateWindow();
    QApplication::setActiveWindow(window);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("250\t00:00:00.250\t发送\t55 00 00 55\t探测评估板\n"
                            "250\t00:00:00.250\t接收\t55 80 00 D5\t评估板应答\n"));

    // Save hands the chosen file to the model, which writes it through the desktop's files.
    window->saveTo(QStringLiteral("/home/user/line.csv"));
    QCOMPARE(std::count(rig.desktop.files["/home/user/line.csv"].begin(),
                        rig.desktop.files["/home/user/line.csv"].end(), '\n'),
             3);

    auto* pause = window->findChild<QPushButton*>(QStringLiteral("pauseButton"));
    QTest::mouseClick(pause, Qt::LeftButton);
    QCOMPARE(pause->accessibleName(), QStringLiteral("继续"));
    QVERIFY(status->text().contains(QStringLiteral("已暂停")));
    QTest::mouseClick(pause, Qt::LeftButton);
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("clearButton")),
                      Qt::LeftButton);
    QCOMPARE(table->model()->rowCount(), 0);
  }

  void followsTheNewestLineUnlessScrolledUp() {
    ViewRig rig;
    rig.action("LINEMONITOR")->trigger();
    auto* window = rig.find<qt::LineMonitorView>("frmLineMonitor");
    auto* table = window->findChild<QTableView*>(QStringLiteral("lineTable"));
    DialogHost& host = *rig.model.toolHost(tool_window::kLineMonitor);
    const auto addLines = [&](int n) {
      host.send<LineMonitor>([n](LineMonitor& m) {
        for (int i = 0; i < n; ++i) m.record({LineFrame::Kind::Sent, kProbe});
      });
    };
    addLines(200);
    QScrollBar* scroll = table->verticalScrollBar();
    QVERIFY(scroll->maximum() > 0);
    QCOMPARE(scroll->value(), scroll->maximum());
    addLines(5);
    QCOMPARE(scroll->value(), scroll->maximum());
    scroll->setValue(0);
    addLines(5);
    QCOMPARE(scroll->value(), 0);
    QCOMPARE(table->model()->rowCount(), 210);
  }

  void rowsFollowTheRingAsItWrapsAndClears() {
    LineRing ring(3);
    qt::LineTableModel rows;
    QSignalSpy removed(&rows, &QAbstractItemModel::rowsRemoved);
    const auto push = [&](int ms) { ring.append().sinceOpenMs = ms; };
    const auto cell = [&](int row) { return rows.index(row, 0).data().toString(); };
    push(1);
    push(2);
    rows.sync(&ring);
    QCOMPARE(rows.rowCount(), 2);
    push(3);
    push(4);
    rows.sync(&ring);
    QCOMPARE(rows.rowCount(), 3);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(cell(0), QStringLiteral("2"));
    QCOMPARE(cell(2), QStringLiteral("4"));
    QCOMPARE(*rows.ringIndex(2), std::size_t{2});
    ring.clear();
    push(5);
    rows.sync(&ring);
    QCOMPARE(rows.rowCount(), 1);
    QCOMPARE(cell(0), QStringLiteral("5"));
    rows.sync(nullptr);
    QCOMPARE(rows.rowCount(), 0);
    QVERIFY(!rows.ringIndex(0));
  }
};

QTEST_MAIN(LineMonitorViewTest)
#include "test_line_monitor_view.moc"
