// The digital trimming dialog's view: opened from the function menu, it shows the boxes and the
// ppm figure of the dialog's model and sends clicks and typing there.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <chrono>

#include "register_editors/digital_trim_dialog.h"
#include "view_rig.h"

using namespace std::chrono_literals;
using rtceval::testing::ViewRig;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct DtrRig : ViewRig {
  DtrRig(const char* chip, std::uint8_t dtr) {
    clock.advance(200ms);  // the board search finds the board on port 1
    port.receive({0x55, 0x80, 0x00, 0xD5});
    action(chip)->trigger();
    model.registers().RegDTR = dtr;
    action("DTR")->trigger();
  }
  QDialog* dialog() const { return find<QDialog>("frmDTR"); }
  template <class W>
  W* inDialog(const char* name) const {
    return dialog()->findChild<W*>(QString::fromUtf8(name));
  }
  QCheckBox* box(const char* name) const { return inDialog<QCheckBox>(name); }
  QLineEdit* value() const { return inDialog<QLineEdit>("Text1"); }
  const rtceval::DigitalTrimDialog* current() {
    return model.dialogHost().current<rtceval::DigitalTrimDialog>();
  }
};

}  // namespace

class DigitalTrimDialogViewTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheBoxesAndTheFigure() {
    DtrRig rig("X1226", 0x05);
    QVERIFY(rig.dialog());
    QVERIFY(rig.dialog()->isVisible());
    QCOMPARE(rig.dialog()->windowTitle(), QStringLiteral("数字微调"));
    QCOMPARE(rig.box("Check1")->text(), QStringLiteral("DTR2"));
    QCOMPARE(rig.box("Check2")->text(), QStringLiteral("DTR1"));
    QCOMPARE(rig.box("Check3")->text(), QStringLiteral("DTR0"));
    QVERIFY(rig.box("Check1")->isChecked());
    QVERIFY(!rig.box("Check2")->isChecked());
    QVERIFY(rig.box("Check3")->isChecked());
    QCOMPARE(rig.value()->text(), QStringLiteral("-20"));
    QVERIFY(rig.value()->isEnabled());
    QCOMPARE(rig.value()->accessibleName(), QStringLiteral("DTR"));
    QCOMPARE(rig.inDialog<QLabel>("LabUnit")->text(), QStringLiteral("PPM"));
    QCOMPARE(rig.inDialog<QPushButton>("Command1")->text(), QStringLiteral("确  定"));
  }

  void clicksAndTypingReachTheModel() {
    DtrRig rig("X1226", 0x05);
    QTest::mouseClick(rig.box("Check2"), Qt::LeftButton);
    QCOMPARE(rig.value()->text(), QStringLiteral("-30"));
    rig.box("Check1")->toggle();  // as AT-SPI's Toggle does
    QCOMPARE(rig.value()->text(), QStringLiteral("30"));

    rig.value()->setFocus();
    QTest::keyClick(rig.value(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(rig.value(), QStringLiteral("12"));
    QCOMPARE(rig.current()->valueText, std::string("12"));

    rig.answerPromptly();
    rig.port.writes.clear();
    QTest::keyClick(rig.value(), Qt::Key_Return);  // OK is the default button
    QCOMPARE(int(rig.model.registers().RegDTR), 0x03);
    rig.clock.advance(150ms);
    QVERIFY(!rig.port.writes.empty());
    const Bytes& write = rig.port.writes.back();
    QCOMPARE(Bytes(write.begin() + 3, write.end() - 1),
             (Bytes{0x01, 0x6F, 0x00, 0x13, 0x01, 0x03}));
  }
};

QTEST_MAIN(DigitalTrimDialogViewTest)
#include "test_digital_trim_dialog_view.moc"
