// The set-time dialog's view: opened from the command menu, it shows the dialog's model, sends
// what the user types and clicks there, stays open on a rejected field and goes away once the
// time is handed to the write sequencer.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <chrono>

#include "time_alarms/set_time_dialog.h"
#include "view_rig.h"

using namespace std::chrono_literals;
using rtceval::testing::ViewRig;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The rig with an X1226 chosen and the set-time dialog opened from its menu.
struct TimeRig : ViewRig {
  TimeRig() {
    action("X1226")->trigger();
    action("SETTIME")->trigger();
  }
  QDialog* dialog() const { return find<QDialog>("frmTime"); }
  template <class W>
  W* inDialog(const char* name) const {
    return dialog()->findChild<W*>(QString::fromUtf8(name));
  }
  QLineEdit* box(int n) const {
    return inDialog<QLineEdit>(qPrintable(QStringLiteral("Text%1").arg(n)));
  }
  // Replaces a box's text as the user would: select all, then type.
  void type(int n, const char* text) const {
    QLineEdit* edit = box(n);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, QString::fromUtf8(text));
  }
  void click(const char* name) const {
    QTest::mouseClick(inDialog<QAbstractButton>(name), Qt::LeftButton);
  }
  // The write requests sent so far; the board search's probes go out meanwhile.
  std::vector<Bytes> writeRequests() const {
    std::vector<Bytes> found;
    for (const Bytes& frame : port.writes)
      if (frame.size() > 3 && frame[3] == WRITE) found.push_back(frame);
    return found;
  }
  static constexpr std::uint8_t WRITE = 0x01;
};

}  // namespace

class SetTimeDialogViewTest : public QObject {
  Q_OBJECT

 private slots:
  void opensWithTheDefaults() {
    TimeRig rig;
    QDialog* dialog = rig.dialog();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->parentWidget(), &rig.view);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("设置时间"));

    const QStringList defaults{"2004", "5", "25", "11", "59", "59", "2"};
    const QStringList units{"年", "月", "日", "时", "分", "秒", "星期"};
    for (int n = 1; n <= 7; ++n) {
      QCOMPARE(rig.box(n)->text(), defaults[n - 1]);
      QCOMPARE(rig.box(n)->accessibleName(), units[n - 1]);
    }
    QVERIFY(rig.box(1)->width() > rig.box(2)->width());
    QCOMPARE(rig.inDialog<QLabel>("LabWeekday")->text(), QStringLiteral("星期"));
    QCOMPARE(rig.inDialog<QPushButton>("Command1")->text(), QStringLiteral("确     定"));
    QCOMPARE(rig.inDialog<QCheckBox>("MIL12")->accessibleName(), QStringLiteral("12小时制"));

    QVERIFY(!rig.inDialog<QCheckBox>("MIL12")->isChecked());
    QVERIFY(!rig.inDialog<QRadioButton>("OpAM")->isEnabled());
    QVERIFY(!rig.inDialog<QRadioButton>("OpPM")->isEnabled());
    QVERIFY(rig.inDialog<QRadioButton>("OpAM")->isChecked());
  }

  void twelveHourTickEnablesTheHalfOfDay() {
    TimeRig rig;
    rig.click("OpPM");  // disabled: no effect
    QVERIFY(!rig.model.dialogHost().current<rtceval::SetTimeDialog>()->pm);

    rig.click("MIL12");
    QVERIFY(rig.model.dialogHost().current<rtceval::SetTimeDialog>()->twelveHour);
    QVERIFY(rig.inDialog<QRadioButton>("OpAM")->isEnabled());
    QVERIFY(rig.inDialog<QRadioButton>("OpPM")->isEnabled());
    rig.click("OpPM");
    QVERIFY(rig.model.dialogHost().current<rtceval::SetTimeDialog>()->pm);
    QVERIFY(rig.inDialog<QRadioButton>("OpPM")->isChecked());
    QVERIFY(!rig.inDialog<QRadioButton>("OpAM")->isChecked());

    // Unticking greys the options again but keeps PM selected.
    rig.click("MIL12");
    QVERIFY(!rig.inDialog<QRadioButton>("OpPM")->isEnabled());
    QVERIFY(rig.inDialog<QRadioButton>("OpPM")->isChecked());
  }

  // What a screen reader does: AT-SPI's Toggle calls toggle(), a text change setText(). Each
  // must reach the model as a click or typing would.
  void assistiveTechnologyReachesTheModel() {
    TimeRig rig;
    rig.answerPromptly();
    rig.box(1)->setText(QStringLiteral("2026"));
    rig.inDialog<QCheckBox>("MIL12")->toggle();
    rig.inDialog<QRadioButton>("OpPM")->toggle();
    const rtceval::SetTimeDialog* d = rig.model.dialogHost().current<rtceval::SetTimeDialog>();
    QCOMPARE(d->yearText, std::string("2026"));
    QVERIFY(d->twelveHour);
    QVERIFY(d->pm);
    rig.inDialog<QPushButton>("Command1")->click();
    rig.clock.advance(150ms);
    const auto writes = rig.writeRequests();
    QCOMPARE(writes.size(), std::size_t{3});
    QCOMPARE(int(writes[2][10]), 0x20 | 0x11);  // 11 PM in the 12-hour format
    QCOMPARE(int(writes[2][13]), 0x26);
  }

  void typingReachesTheModel() {
    TimeRig rig;
    rig.type(7, "6");
    QCOMPARE(rig.model.dialogHost().current<rtceval::SetTimeDialog>()->weekdayText,
             std::string("6"));
    QCOMPARE(rig.model.dialogHost().current<rtceval::SetTimeDialog>()->hourText, std::string("11"));

    // A digit typed between the two of the hour: the redraw after each key leaves the text and
    // the cursor where the user put them.
    QLineEdit* hour = rig.box(4);
    hour->setFocus();
    hour->setCursorPosition(1);
    QTest::keyClick(hour, Qt::Key_2);
    QCOMPARE(rig.model.dialogHost().current<rtceval::SetTimeDialog>()->hourText,
             std::string("121"));
    QCOMPARE(hour->cursorPosition(), 2);
    QTest::keyClick(hour, Qt::Key_Backspace);
    QCOMPARE(rig.model.dialogHost().current<rtceval::SetTimeDialog>()->hourText, std::string("11"));
    QCOMPARE(hour->cursorPosition(), 1);
  }

  void rejectedFieldKeepsTheDialogOpen() {
    TimeRig rig;
    rig.type(2, "13");
    rig.type(6, "60");
    rig.click("Command1");
    // Only the first failing field is reported.
    QCOMPARE(rig.messageBoxes.shown.size(), std::size_t{1});
    QCOMPARE(rig.messageBoxes.shown.front().text, std::string("无效的月份"));
    QVERIFY(rig.model.dialogHost().current<rtceval::SetTimeDialog>());
    QVERIFY(rig.dialog()->isVisible());
    QCOMPARE(rig.box(2)->text(), QStringLiteral("13"));
    rig.clock.advance(500ms);
    QVERIFY(rig.writeRequests().empty());
  }

  void okHandsTheTimeToTheChip() {
    TimeRig rig;
    rig.answerPromptly();
    rig.click("MIL12");
    rig.click("OpPM");
    rig.type(4, "11");
    QTest::keyClick(rig.box(4), Qt::Key_Return);  // the OK button is the default
    QVERIFY(rig.messageBoxes.shown.empty());
    QVERIFY(!rig.model.dialogHost().current<rtceval::SetTimeDialog>());
    QVERIFY(!rig.dialog()->isVisible());
    ViewRig::flushDeletes();
    QVERIFY(!rig.dialog());

    QVERIFY(rig.writeRequests().empty());  // the dialog itself sends nothing
    rig.clock.advance(150ms);
    const std::vector<Bytes> writes = rig.writeRequests();
    QCOMPARE(writes.size(), std::size_t{3});
    // The write-enable latches are unlocked first: WEL, then RWEL.
    QCOMPARE(writes[0], (Bytes{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x3F, 0x01, 0x02, 0x0D}));
    QCOMPARE(writes[1], (Bytes{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x3F, 0x01, 0x06, 0x11}));
    const Bytes& time = rig.port.writes.back();
    QCOMPARE(Bytes(time.begin() + 3, time.begin() + 8), (Bytes{0x01, 0x6F, 0x00, 0x30, 0x08}));
    // Second, minute, then the hour 11 in 12-hour format with the PM flag.
    QCOMPARE(Bytes(time.begin() + 8, time.begin() + 11), (Bytes{0x59, 0x59, 0x31}));
    QCOMPARE(rig.panel(2), QStringLiteral("设置时间..."));
  }

  void closingByTheUserSendsNothing_data() {
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("title bar") << false;
    QTest::newRow("escape key") << true;
  }

  void closingByTheUserSendsNothing() {
    QFETCH(bool, byEscape);
    TimeRig rig;
    if (byEscape)
      QTest::keyClick(rig.dialog(), Qt::Key_Escape);
    else
      rig.dialog()->close();
    QVERIFY(!rig.model.dialogHost().current<rtceval::SetTimeDialog>());
    ViewRig::flushDeletes();
    QVERIFY(!rig.dialog());
    rig.clock.advance(500ms);
    QVERIFY(rig.writeRequests().empty());
  }

  void reopeningStartsFromTheDefaults() {
    TimeRig rig;
    rig.type(1, "2015");
    rig.action("CONNECT")->trigger();
    ViewRig::flushDeletes();
    QVERIFY(!rig.dialog());
    QVERIFY(rig.find<QDialog>("frmComm"));
    rig.action("SETTIME")->trigger();
    ViewRig::flushDeletes();
    QCOMPARE(rig.view.findChildren<QDialog*>().size(), 1);
    QCOMPARE(rig.box(1)->text(), QStringLiteral("2004"));
  }
};

QTEST_MAIN(SetTimeDialogViewTest)
#include "test_set_time_dialog_view.moc"
