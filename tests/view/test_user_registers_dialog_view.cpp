// The user-register dialog's view: opened from the function menu on an X1209, it shows the two
// register boxes of the dialog's model, sends typing and clicks there, and shows the bytes read.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <chrono>

#include "register_editors/user_registers_dialog.h"
#include "view_rig.h"

using namespace std::chrono_literals;
using rtceval::testing::ViewRig;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct UserRegistersRig : ViewRig {
  UserRegistersRig() {
    clock.advance(200ms);
    port.receive({0x55, 0x80, 0x00, 0xD5});
    action("X1209")->trigger();
    action("USERREG")->trigger();
    port.writes.clear();
  }
  QDialog* dialog() const { return find<QDialog>("frmUR"); }
  template <class W>
  W* inDialog(const char* name) const {
    return dialog()->findChild<W*>(QString::fromUtf8(name));
  }
  QLineEdit* box(const char* name) const { return inDialog<QLineEdit>(name); }
  void click(const char* name) const {
    QTest::mouseClick(inDialog<QPushButton>(name), Qt::LeftButton);
  }
};

}  // namespace

class UserRegistersDialogViewTest : public QObject {
  Q_OBJECT

 private slots:
  void showsBothRegisters() {
    UserRegistersRig rig;
    QVERIFY(rig.dialog());
    QVERIFY(rig.dialog()->isVisible());
    QCOMPARE(rig.dialog()->windowTitle(), QStringLiteral("用户寄存器"));
    QCOMPARE(rig.box("Text1")->text(), QStringLiteral("01"));
    QCOMPARE(rig.box("Text2")->text(), QStringLiteral("2A"));
    QCOMPARE(rig.box("Text1")->accessibleName(), QStringLiteral("寄存器 1"));
    QCOMPARE(rig.inDialog<QLabel>("LabRegister2")->text(), QStringLiteral("寄存器 2"));
    QCOMPARE(rig.inDialog<QPushButton>("Command1")->text(), QStringLiteral("读"));
    QCOMPARE(rig.inDialog<QPushButton>("Command2")->text(), QStringLiteral("写"));
  }

  void aReadFillsTheBoxes() {
    UserRegistersRig rig;
    rig.click("Command1");
    QCOMPARE(rig.port.writes.size(), std::size_t{1});
    QCOMPARE(rig.port.writes[0], (Bytes{0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x12, 0x02, 0xDC}));
    rig.port.receive({0x55, 0x80, 0x02, 0x5C, 0x07, 0x3A});
    QCOMPARE(rig.box("Text1")->text(), QStringLiteral("5C"));
    QCOMPARE(rig.box("Text2")->text(), QStringLiteral("07"));
  }

  void typedRegistersAreWrittenOrRefused() {
    UserRegistersRig rig;
    rig.box("Text2")->setText(QStringLiteral("1FF"));  // as AT-SPI sets a text
    rig.click("Command2");
    QCOMPARE(rig.messageBoxes.shown.size(), std::size_t{1});
    QCOMPARE(rig.messageBoxes.shown[0].text, std::string("无效的数据"));
    QVERIFY(rig.port.writes.empty());

    QLineEdit* second = rig.box("Text2");
    second->setFocus();
    QTest::keyClick(second, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(second, QStringLiteral("ff"));
    rig.click("Command2");
    QCOMPARE(rig.port.writes.size(), std::size_t{1});
    QCOMPARE(rig.port.writes[0],
             (Bytes{0x55, 0x00, 0x07, 0x01, 0x6F, 0xFF, 0x12, 0x02, 0x01, 0xFF, 0xDF}));
  }
};

QTEST_MAIN(UserRegistersDialogViewTest)
#include "test_user_registers_dialog_view.moc"
