// The status panel's view: opened from the command menu, it draws the panel's rows, shows what a
// reply brings and sends typed bits and the row buttons to the panel.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "register_editors/control_panel.h"
#include "view_rig.h"
#include "window_bench.h"

using rtceval::ControlPanel;
using rtceval::testing::dataReply;
using rtceval::testing::ViewRig;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The rig with an X1228 chosen and the panel opened from the command menu.
struct PanelRig : ViewRig {
  PanelRig() {
    action("X1228")->trigger();
    action("STATUS")->trigger();
  }
  QDialog* dialog() const { return find<QDialog>("frmCON"); }
  template <class W>
  W* in(const char* name) const {
    return dialog()->findChild<W*>(QString::fromUtf8(name));
  }
  const ControlPanel* panel() { return model.dialogHost().current<ControlPanel>(); }
};

}  // namespace

class ControlPanelViewTest : public QObject {
  Q_OBJECT

 private slots:
  void drawsThePanelOfTheModel() {
    PanelRig rig;
    QDialog* dialog = rig.dialog();
    QVERIFY(dialog && dialog->isVisible() && !dialog->isModal());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("控制/状态-----X1228"));
    QCOMPARE(rig.in<QLabel>("lblSR2")->text(), QStringLiteral("SR  (状态)"));
    QCOMPARE(rig.in<QLabel>("lblSR")->text(),
             QString::fromStdString(rig.panel()->rows[0].bitCaption));
    QVERIFY(rig.in<QLineEdit>("SR_1")->isEnabled());
    QVERIFY(!rig.in<QLineEdit>("SR_7")->isEnabled());
    QVERIFY(!rig.in<QPushButton>("cmdWEV")->isEnabled());
    QVERIFY(!rig.in<QLabel>("lblEV2")->isEnabled());
    QCOMPARE(rig.in<QLineEdit>("SR_1")->accessibleName(), QStringLiteral("SR WEL"));
    QCOMPARE(rig.in<QPushButton>("cmdRINT")->text(), QStringLiteral("读"));
    // Bit 7 stands left of bit 0.
    QVERIFY(rig.in<QLineEdit>("tINT_7")->x() < rig.in<QLineEdit>("tINT_0")->x());

    rig.port.receive(dataReply({0xE0, 0x98, 0x00, 0x00}));
    QCOMPARE(rig.in<QLineEdit>("tINT_7")->text(), QStringLiteral("1"));
    QCOMPARE(rig.in<QLineEdit>("tINT_6")->text(), QStringLiteral("0"));
    QCOMPARE(rig.in<QLineEdit>("BL_7")->text(), QStringLiteral("1"));
  }

  void typedBitsAndButtonsReachThePanel() {
    PanelRig rig;
    QLineEdit* wel = rig.in<QLineEdit>("SR_1");
    wel->setFocus();
    QTest::keyClick(wel, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(wel, Qt::Key_1);
    rig.in<QLineEdit>("SR_2")->setText(QStringLiteral("1"));  // as assistive technology does
    QCOMPARE(rig.panel()->rows[0].boxes[1], std::string("1"));
    QCOMPARE(rig.panel()->rows[0].boxes[2], std::string("1"));

    rig.port.receive(dataReply({0x00, 0x00, 0x00, 0x00}));  // the line is free again
    rig.port.writes.clear();
    QTest::mouseClick(rig.in<QPushButton>("cmdWSR"), Qt::LeftButton);
    QCOMPARE(rig.port.writes.size(), std::size_t{1});
    QCOMPARE(rig.port.writes[0],
             (Bytes{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x3F, 0x01, 0x06, 0x11}));

    QTest::keyClick(rig.in<QLineEdit>("tINT_3"), Qt::Key_2);
    QCOMPARE(rig.messageBoxes.shown.size(), std::size_t{1});
    QCOMPARE(rig.messageBoxes.shown[0].text, std::string("无效的数值, 只能是0或1"));
    QCOMPARE(rig.in<QLineEdit>("tINT_3")->text(), QStringLiteral("02"));
  }
};

QTEST_MAIN(ControlPanelViewTest)
#include "test_control_panel_view.moc"
