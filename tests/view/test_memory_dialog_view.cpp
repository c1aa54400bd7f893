// The EEPROM dialog's view: opened from the function menu, it shows the address and data boxes
// of the dialog's model, sends typing and clicks there, and shows a byte read.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <chrono>

#include "register_editors/memory_dialog.h"
#include "view_rig.h"

using namespace std::chrono_literals;
using rtceval::testing::ViewRig;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The rig with the board found on port 1, an X1226 chosen and the dialog opened.
struct MemoryRig : ViewRig {
  MemoryRig() {
    clock.advance(200ms);
    port.receive({0x55, 0x80, 0x00, 0xD5});
    action("X1226")->trigger();
    action("MEMORY")->trigger();
    port.writes.clear();
  }
  QDialog* dialog() const { return find<QDialog>("frmMem"); }
  template <class W>
  W* inDialog(const char* name) const {
    return dialog()->findChild<W*>(QString::fromUtf8(name));
  }
  QLineEdit* box(const char* name) const { return inDialog<QLineEdit>(name); }
  void type(const char* name, const char* text) const {
    QLineEdit* edit = box(name);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, QString::fromUtf8(text));
  }
  void click(const char* name) const {
    QTest::mouseClick(inDialog<QPushButton>(name), Qt::LeftButton);
  }
};

}  // namespace

class MemoryDialogViewTest : public QObject {
  Q_OBJECT

 private slots:
  void showsItsBoxesAndButtons() {
    MemoryRig rig;
    QVERIFY(rig.dialog());
    QVERIFY(rig.dialog()->isVisible());
    QCOMPARE(rig.dialog()->windowTitle(), QStringLiteral("EEPROM 存储器"));
    QCOMPARE(rig.box("Text1")->text(), QStringLiteral("0001"));
    QCOMPARE(rig.box("Text2")->text(), QStringLiteral("35"));
    QCOMPARE(rig.box("Text1")->accessibleName(), QStringLiteral("地址"));
    QCOMPARE(rig.box("Text2")->accessibleName(), QStringLiteral("数据"));
    QCOMPARE(rig.inDialog<QPushButton>("Command1")->text(), QStringLiteral("读"));
    QCOMPARE(rig.inDialog<QPushButton>("Command2")->text(), QStringLiteral("写"));
    QVERIFY(rig.inDialog<QLabel>("LabExplanation")->text().contains(QStringLiteral("十六进制")));
  }

  void aReadShowsTheByteInTheDataBox() {
    MemoryRig rig;
    rig.type("Text1", "1ff");
    rig.click("Command1");
    QCOMPARE(rig.port.writes.size(), std::size_t{1});
    QCOMPARE(rig.port.writes[0], (Bytes{0x55, 0x00, 0x05, 0x00, 0x57, 0x01, 0xFF, 0x01, 0xB2}));
    rig.port.receive({0x55, 0x80, 0x01, 0xA5, 0x7B});
    QCOMPARE(rig.box("Text2")->text(), QStringLiteral("A5"));
    QCOMPARE(rig.panel(2), QStringLiteral("读存储器成功"));
  }

  void aTextSetByAssistiveTechnologyIsCheckedOnWrite() {
    MemoryRig rig;
    rig.box("Text1")->setText(QStringLiteral("8000"));
    rig.click("Command2");
    QCOMPARE(rig.messageBoxes.shown.size(), std::size_t{1});
    QCOMPARE(rig.messageBoxes.shown[0].text, std::string("无效的地址"));
    QVERIFY(rig.port.writes.empty());
  }
};

QTEST_MAIN(MemoryDialogViewTest)
#include "test_memory_dialog_view.moc"
