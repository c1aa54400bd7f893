// The alarm editors' views: opened from the function menu, each shows its model's boxes in one
// column with the hour format and the two buttons beside them, follows a read reply, and passes
// ticks, typing and clicks on to the model.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <chrono>

#include "time_alarms/alarm_dialog.h"
#include "view_rig.h"

using namespace std::chrono_literals;
using rtceval::AlarmDialog;
using rtceval::testing::ViewRig;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The rig with the board found on port 1, a chip chosen and an alarm editor opened; its read is
// on the line.
struct AlarmRig : ViewRig {
  AlarmRig(const char* chip, const char* item) {
    clock.advance(200ms);
    port.receive({0x55, 0x80, 0x00, 0xD5});
    action(chip)->trigger();
    action(item)->trigger();
  }
  QDialog* dialog() const {
    QDialog* d = find<QDialog>("frmAlm1");
    return d ? d : find<QDialog>("frmAlm2");
  }
  template <class W>
  W* inDialog(const QString& name) const {
    return dialog()->findChild<W*>(name);
  }
  QLineEdit* box(int n) const { return inDialog<QLineEdit>(QStringLiteral("Text%1").arg(n)); }
  QCheckBox* enable(int n) const { return inDialog<QCheckBox>(QStringLiteral("Check%1").arg(n)); }
  QAbstractButton* button(const char* name) const {
    return inDialog<QAbstractButton>(QString::fromUtf8(name));
  }
  const AlarmDialog* dialogModel() { return model.dialogHost().current<AlarmDialog>(); }
  void type(int n, const char* text) const {
    QLineEdit* edit = box(n);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, QString::fromUtf8(text));
  }
};

}  // namespace

class AlarmDialogViewTest : public QObject {
  Q_OBJECT

 private slots:
  void eachEditorShowsItsCaptionsAndItsFieldsInOneColumn_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("set");
    QTest::newRow("alarm 0") << "ALARM1"
                             << "frmAlm1"
                             << "设置报警 0"
                             << "读    取"
                             << "设    置";
    QTest::newRow("alarm 1") << "ALARM2"
                             << "frmAlm2"
                             << "设置报警 1"
                             << "读      取"
                             << "设     置";
  }

  void eachEditorShowsItsCaptionsAndItsFieldsInOneColumn() {
    QFETCH(QString, item);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    AlarmRig rig("X1226", qPrintable(item));
    QDialog* dialog = rig.dialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->objectName(), name);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->windowTitle(), caption);
    QTEST(rig.button("Command1")->text(), "read");
    QTEST(rig.button("Command2")->text(), "set");

    const QStringList texts{"2004", "5", "25", "2", "11", "00", "05"};
    const QStringList units{"年", "月", "日", "星期", "时", "分", "秒"};
    QVERIFY(!rig.inDialog<QCheckBox>(QStringLiteral("Check1")));
    for (int n = 1; n <= 7; ++n) {
      QCOMPARE(rig.box(n)->text(), texts[n - 1]);
      QCOMPARE(rig.box(n)->accessibleName(), units[n - 1]);
      if (n > 1) {
        QCOMPARE(rig.enable(n)->text(), QStringLiteral("有效"));
        QVERIFY(rig.enable(n)->isChecked());
        QVERIFY(rig.box(n)->isEnabled());
        // Enable box, text box and unit in one row, each row below the one before.
        QCOMPARE(rig.enable(n)->geometry().center().y(), rig.box(n)->geometry().center().y());
        QVERIFY(rig.enable(n)->x() < rig.box(n)->x());
        QVERIFY(rig.box(n)->y() > rig.box(n - 1)->y());
      }
    }
    // The hour format and the buttons to the right, read above set.
    QVERIFY(rig.button("MIL12")->x() > rig.box(1)->x() + rig.box(1)->width());
    QVERIFY(rig.button("OpAM")->y() < rig.button("OpPM")->y());
    QVERIFY(rig.button("Command1")->y() < rig.button("Command2")->y());
    // No time read yet: the chip counts as in the 12-hour format.
    QVERIFY(rig.button("MIL12")->isChecked());
    QVERIFY(rig.button("OpAM")->isEnabled());
    QVERIFY(rig.button("OpAM")->isChecked());
  }

  void aReplyFillsTheBoxesAndGreysTheFieldsItLeavesOut() {
    AlarmRig rig("X1226", "ALARM1");
    // second 05 on, minute 30 off, hour 11 PM on, date 15 on, month 05 off, 2004, weekday 3 on.
    rig.port.receive({0x55, 0x80, 0x08, 0x85, 0x30, 0xB1, 0x95, 0x05, 0x04, 0x83, 0x20, 0x84});
    QCOMPARE(rig.panel(2), QStringLiteral("读AL0成功"));
    const QStringList texts{"2004", "05", "15", "03", "11", "30", "05"};
    const QList<bool> ticked{true, false, true, true, true, false, true};
    for (int n = 1; n <= 7; ++n) QCOMPARE(rig.box(n)->text(), texts[n - 1]);
    for (int n = 2; n <= 7; ++n) {
      QCOMPARE(rig.enable(n)->isChecked(), ticked[n - 1]);
      QCOMPARE(rig.box(n)->isEnabled(), ticked[n - 1]);
    }
    QVERIFY(rig.button("OpPM")->isChecked());
  }

  // A click, the space key and an AT-SPI Toggle all reach the model.
  void ticksAndTypingReachTheModel() {
    AlarmRig rig("X1226", "ALARM1");
    QTest::mouseClick(rig.enable(2), Qt::LeftButton);
    QVERIFY(!rig.dialogModel()->fields[AlarmDialog::Month].enabled);
    QVERIFY(!rig.box(2)->isEnabled());
    rig.enable(3)->setFocus();
    QTest::keyClick(rig.enable(3), Qt::Key_Space);
    QVERIFY(!rig.dialogModel()->fields[AlarmDialog::Date].enabled);
    rig.enable(3)->toggle();
    QVERIFY(rig.dialogModel()->fields[AlarmDialog::Date].enabled);
    QVERIFY(rig.box(3)->isEnabled());

    rig.type(7, "42");
    QCOMPARE(rig.dialogModel()->fields[AlarmDialog::Second].text, std::string("42"));
    rig.box(1)->setText(QStringLiteral("2026"));
    QCOMPARE(rig.dialogModel()->yearText, std::string("2026"));
    QTest::mouseClick(rig.button("OpPM"), Qt::LeftButton);
    QVERIFY(rig.dialogModel()->pm);
  }

  void setHandsTheAlarmToTheChipAndTheDialogStays() {
    AlarmRig rig("X1226", "ALARM2");
    rig.port.receive({0x55, 0x80, 0x08, 0x85, 0x80, 0x91, 0xA5, 0x85, 0x04, 0x82, 0x20, 0x43});
    QCOMPARE(rig.panel(2), QStringLiteral("读AL1成功"));
    rig.type(7, "42");
    rig.answerPromptly();
    rig.port.writes.clear();
    QTest::mouseClick(rig.button("Command2"), Qt::LeftButton);
    QVERIFY(rig.messageBoxes.shown.empty());
    rig.clock.advance(150ms);
    QCOMPARE(rig.port.writes.size(), std::size_t{3});
    const Bytes& w = rig.port.writes[2];
    QCOMPARE(Bytes(w.begin() + 3, w.begin() + 9), (Bytes{0x01, 0x6F, 0x00, 0x08, 0x08, 0xC2}));
    QVERIFY(rig.dialog()->isVisible());
  }
};

QTEST_MAIN(AlarmDialogViewTest)
#include "test_alarm_dialog_view.moc"
