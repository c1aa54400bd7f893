// The analog trimming dialog's view: opened from the function menu, it shows the dialog's model
// (the boxes from the register image, BMATR only on the X1208 family, the capacitance), and sends
// clicks from the mouse and from assistive technology there.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <chrono>

#include "register_editors/analog_trim_dialog.h"
#include "view_rig.h"

using namespace std::chrono_literals;
using rtceval::testing::ViewRig;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The rig with the board found, a chip chosen, the image's ATR set and the dialog opened from its
// menu.
struct AtrRig : ViewRig {
  AtrRig(const char* chip, std::uint8_t atr) {
    clock.advance(200ms);  // the board search finds the board on port 1
    port.receive({0x55, 0x80, 0x00, 0xD5});
    action(chip)->trigger();
    model.registers().RegATR = atr;
    action("ATR")->trigger();
  }
  QDialog* dialog() const { return find<QDialog>("frmATR"); }
  template <class W>
  W* inDialog(const QString& name) const {
    return dialog()->findChild<W*>(name);
  }
  QCheckBox* atrBox(int element) const {
    return inDialog<QCheckBox>(QStringLiteral("Check1_%1").arg(element));
  }
  QCheckBox* box(const char* name) const { return inDialog<QCheckBox>(QString::fromUtf8(name)); }
  QString value() const { return inDialog<QLineEdit>(QStringLiteral("Text1"))->text(); }
  const rtceval::AnalogTrimDialog* current() {
    return model.dialogHost().current<rtceval::AnalogTrimDialog>();
  }
};

}  // namespace

class AnalogTrimDialogViewTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheImageOnAnX1209() {
    AtrRig rig("X1209", 0xC5);
    QDialog* dialog = rig.dialog();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("模拟微调"));

    const QStringList captions{"ATR5", "ATR4", "ATR3", "ATR2", "ATR1", "ATR0"};
    for (int i = 0; i < 6; ++i) {
      QCOMPARE(rig.atrBox(i)->text(), captions[i]);
      QCOMPARE(rig.atrBox(i)->accessibleName(), captions[i]);
      QCOMPARE(rig.atrBox(i)->isChecked(), i == 3 || i == 5);  // ATR2 and ATR0
    }
    QCOMPARE(rig.box("Check8")->text(), QStringLiteral("BMATR1"));
    QCOMPARE(rig.box("Check7")->text(), QStringLiteral("BMATR0"));
    QVERIFY(rig.box("Check8")->isEnabled() && rig.box("Check8")->isChecked());
    QVERIFY(rig.box("Check7")->isEnabled() && rig.box("Check7")->isChecked());

    auto* value = rig.inDialog<QLineEdit>(QStringLiteral("Text1"));
    QVERIFY(!value->isEnabled());
    QCOMPARE(value->text(), QStringLiteral("12.25"));
    QCOMPARE(value->accessibleName(), QStringLiteral("ATR值(pF)"));
    QCOMPARE(rig.inDialog<QPushButton>(QStringLiteral("Command1"))->text(),
             QStringLiteral("确  定"));
    // The range, the heading, the formula and the note each on a line of their own.
    const QStringList lines =
        rig.inDialog<QLabel>(QStringLiteral("LabExplanation"))->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[2], QStringLiteral("C`=ATR*0.25pF+11.0pF"));
    QCOMPARE(lines[3], QStringLiteral("注意:公式中的ATR值是补码"));
  }

  void clicksReachTheModelAndOkWrites() {
    AtrRig rig("X1209", 0xC5);
    QTest::mouseClick(rig.atrBox(0), Qt::LeftButton);
    QVERIFY(rig.current()->atrTicked[0]);
    QCOMPARE(rig.value(), QStringLiteral("4.25"));  // ATR 5 - 32 = -27

    // AT-SPI's Toggle calls toggle(): it counts as the user's click.
    rig.box("Check7")->toggle();
    QVERIFY(!rig.current()->bmatr0Ticked);

    rig.answerPromptly();
    rig.port.writes.clear();
    QTest::mouseClick(rig.inDialog<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(int(rig.model.registers().RegATR), 0xA5);
    QVERIFY(rig.dialog()->isVisible());
    rig.clock.advance(100ms);
    QVERIFY(!rig.port.writes.empty());
    const Bytes& write = rig.port.writes.back();
    QCOMPARE(Bytes(write.begin() + 3, write.end() - 1),
             (Bytes{0x01, 0x6F, 0xFF, 0x0A, 0x01, 0xA5}));
  }
};

QTEST_MAIN(AnalogTrimDialogViewTest)
#include "test_analog_trim_dialog_view.moc"
