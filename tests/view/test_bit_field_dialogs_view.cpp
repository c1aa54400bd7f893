// The views of the five bit-field dialogs: each opens from its menu entry, shows the register
// image in its boxes, sends a tick from the mouse or an assistive technology to its model, and
// OK hands the write to the write sequencer while the dialog stays open.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <chrono>

#include "register_editors/bit_field_dialogs.h"
#include "view_rig.h"

using namespace std::chrono_literals;
using rtceval::BitFieldDialog;
using rtceval::testing::ViewRig;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct BitFieldRig : ViewRig {
  // Picks `chip`, sets the image through `prepare`, then opens the dialog from menu entry `entry`.
  template <class Prepare>
  BitFieldRig(const char* chip, const char* entry, const char* form, Prepare prepare)
      : formName(form) {
    action(chip)->trigger();
    prepare(model.registers());
    action(entry)->trigger();
  }
  QDialog* dialog() const { return find<QDialog>(formName); }
  // A control of the dialog; the main window has a Check1 and a Command1 of its own.
  template <class W>
  W* inDialog(const QString& name) const {
    return dialog()->findChild<W*>(name);
  }
  QCheckBox* box(int n) const { return inDialog<QCheckBox>(QStringLiteral("Check%1").arg(n)); }
  const BitFieldDialog* open() { return model.dialogHost().current<BitFieldDialog>(); }
  // The boxes as 'x' ticked, '-' clear, '.' disabled, Check1 first.
  QString boxes(int count) const {
    QString s;
    for (int n = 1; n <= count; ++n)
      s += !box(n)->isEnabled() ? '.' : (box(n)->isChecked() ? 'x' : '-');
    return s;
  }
  // Request frames that write, after the write sequencer has run its steps.
  std::vector<Bytes> writesAfterOk() {
    answerPromptly();
    QTest::mouseClick(inDialog<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton);
    clock.advance(150ms);
    std::vector<Bytes> found;
    for (const Bytes& frame : port.writes)
      if (frame.size() > 3 && frame[3] == 0x01) found.push_back(frame);
    return found;
  }
  QString label(const char* name) const {
    return inDialog<QLabel>(QString::fromUtf8(name))->text();
  }

  const char* formName;
};

void checkCommonControls(QDialog* dialog, const char* caption, QStringList captions) {
  QVERIFY(dialog);
  QVERIFY(dialog->isVisible());
  QVERIFY(!dialog->isModal());
  QCOMPARE(dialog->windowTitle(), QString::fromUtf8(caption));
  auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("Command1"));
  QCOMPARE(ok->text(), QStringLiteral("确  定"));
  QCOMPARE(ok->accessibleName(), ok->text());
  for (int n = 1; n <= captions.size(); ++n) {
    auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("Check%1").arg(n));
    QVERIFY(box);
    QCOMPARE(box->text(), captions[n - 1]);
    QCOMPARE(box->accessibleName(), captions[n - 1]);
  }
}

}  // namespace

class BitFieldDialogsViewTest : public QObject {
  Q_OBJECT

 private slots:
  void interruptOnAnX1228() {
    BitFieldRig rig("X1228", "mINT", "frmINT", [](rtceval::RegisterImage& r) { r.RegINT = 0x18; });
    checkCommonControls(rig.dialog(), "中断", {"IM", "ALME", "LPMODE", "FOBATB", "AL1E", "AL0E"});
    QCOMPARE(rig.boxes(6), QStringLiteral("-...--"));
    // The layout-B label puts one sentence on each line.
    QCOMPARE(rig.label("Label2").count('\n'), 2);

    QTest::mouseClick(rig.box(1), Qt::LeftButton);
    QVERIFY(rig.open()->boxes[0].ticked);
    QTest::mouseClick(rig.box(2), Qt::LeftButton);  // disabled
    QVERIFY(!rig.open()->boxes[1].ticked);
    const auto writes = rig.writesAfterOk();
    QCOMPARE(writes.size(), std::size_t{3});
    QCOMPARE(writes[2], (Bytes{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x11, 0x01, 0x98, 0x75}));
    QVERIFY(rig.dialog()->isVisible());
    QCOMPARE(rig.boxes(6), QStringLiteral("x...--"));
  }

  void frequencyOutputOnAnX1209() {
    BitFieldRig rig("X1209", "FOUT", "frmFO", [](rtceval::RegisterImage& r) { r.RegINT = 0xF5; });
    checkCommonControls(rig.dialog(), "频率输出", {"FO3", "FO2", "FO1", "FO0"});
    QCOMPARE(rig.boxes(4), QStringLiteral("-x-x"));
    // What a screen reader does: AT-SPI's Toggle calls toggle().
    rig.box(1)->toggle();
    rig.box(4)->toggle();
    QCOMPARE(rig.open()->boxes[0].ticked, true);
    QCOMPARE(rig.open()->boxes[3].ticked, false);
  }

  void eventShowsTheActiveLowEnablesTicked() {
    BitFieldRig rig("X1209", "mEVENT", "frmEV", [](rtceval::RegisterImage& r) { r.RegEV = 0x00; });
    checkCommonControls(rig.dialog(), "事件",
                        {"EVIENB", "EVBATB", "RTCHLT", "EVEN", "EHYS1", "EHYS0", "ESMP1", "ESMP0"});
    QCOMPARE(rig.boxes(8), QStringLiteral("xx------"));
    QCOMPARE(rig.label("Label5"),
             QStringLiteral(
                 "EVIN输入引脚去抖滤波时间选择：0(00),3.9ms(01), 15.625ms(10),  31.25ms(11)"));
    QTest::mouseClick(rig.box(1), Qt::LeftButton);
    QTest::mouseClick(rig.box(8), Qt::LeftButton);
    QVERIFY(!rig.open()->boxes[0].ticked);
    QVERIFY(rig.open()->boxes[7].ticked);
  }

  void watchdogOnAnX1227() {
    BitFieldRig rig("X1227", "WDT", "frmWDT", [](rtceval::RegisterImage& r) { r.RegBL = 0xE8; });
    checkCommonControls(rig.dialog(), "看门狗", {"WDT1", "WDT0"});
    QCOMPARE(rig.boxes(2), QStringLiteral("-x"));
    QTest::mouseClick(rig.box(1), Qt::LeftButton);
    QVERIFY(rig.open()->boxes[0].ticked);
  }

  void blockProtectShowsItsTable() {
    BitFieldRig rig("X1226", "BP", "frmBP", [](rtceval::RegisterImage& r) { r.RegBL = 0x1F; });
    checkCommonControls(rig.dialog(), "页保护", {"BP2", "BP1", "BP0"});
    QCOMPARE(rig.boxes(3), QStringLiteral("---"));
    QCOMPARE(rig.label("LabTable_0_1"), QStringLiteral("范围(位)"));
    QCOMPARE(rig.label("LabTable_2_2"), QStringLiteral("不保护"));
    QCOMPARE(rig.label("LabTable_9_1"), QStringLiteral("0000~03FF"));
    QCOMPARE(rig.label("LabTable_9_2"), QStringLiteral("前8页"));
    QCOMPARE(
        rig.dialog()->findChildren<QFrame*>().size() - rig.dialog()->findChildren<QLabel*>().size(),
        qsizetype{3});

    QTest::mouseClick(rig.box(2), Qt::LeftButton);
    QVERIFY(rig.open()->boxes[1].ticked);
  }
};

QTEST_MAIN(BitFieldDialogsViewTest)
#include "test_bit_field_dialogs_view.moc"
