// The port dialog's view: opened from the manual-connect menu, it shows the dialog's model,
// sends its clicks there and goes away when the model or the user closes it.
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <chrono>

#include "connection/connect_dialog.h"
#include "view_rig.h"

using namespace std::chrono_literals;
using rtceval::testing::ViewRig;
using Bytes = std::vector<std::uint8_t>;

namespace {
const Bytes kProbe{0x55, 0x00, 0x00, 0x55};
const Bytes kProbeAnswer{0x55, 0x80, 0x00, 0xD5};

// The rig with the port dialog opened from its menu.
struct DialogRig : ViewRig {
  DialogRig() { action("CONNECT")->trigger(); }
  QDialog* dialog() const { return find<QDialog>("frmComm"); }
  template <class W>
  W* inDialog(const char* name) const {
    return dialog()->findChild<W*>(QString::fromUtf8(name));
  }
  QProgressBar* progress() const { return inDialog<QProgressBar>("ProgressBar1"); }
  void clickConnect() const {
    QTest::mouseClick(inDialog<QPushButton>("Command1"), Qt::LeftButton);
  }
  void clickOption(int n) const {
    QTest::mouseClick(inDialog<QRadioButton>(qPrintable(QStringLiteral("Option%1").arg(n))),
                      Qt::LeftButton);
  }
  int dialogCount() const {
    return static_cast<int>(view.findChildren<QDialog*>("frmComm").size());
  }
};
}  // namespace

class ConnectDialogViewTest : public QObject {
  Q_OBJECT

 private slots:
  void opensModelessAboveTheMainWindow() {
    DialogRig rig;
    QDialog* dialog = rig.dialog();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->parentWidget(), &rig.view);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("连接评估板"));
    QCOMPARE(rig.inDialog<QGroupBox>("Frame1")->title(), QStringLiteral("选择串口"));
    QCOMPARE(rig.inDialog<QPushButton>("Command1")->text(), QStringLiteral("连     接"));
    QCOMPARE(rig.inDialog<QPushButton>("Command1")->accessibleName(), QStringLiteral("连     接"));
    QCOMPARE(rig.progress()->maximum(), 50);
    QCOMPARE(rig.progress()->value(), 0);
  }

  void namesEachPortAndItsDevice() {
    DialogRig rig;
    for (int n = 1; n <= 4; ++n) {
      const auto* option =
          rig.inDialog<QRadioButton>(qPrintable(QStringLiteral("Option%1").arg(n)));
      QVERIFY(option);
      QCOMPARE(option->text(), QStringLiteral("串口%1").arg(n));
      QCOMPARE(option->toolTip(), QStringLiteral("/dev/fake%1").arg(n));
      // The device is also written out beside the option.
      const auto* device = rig.inDialog<QLabel>(qPrintable(QStringLiteral("PortDevice%1").arg(n)));
      QVERIFY(device);
      QCOMPARE(device->text(), QStringLiteral("/dev/fake%1").arg(n));
    }
    // The search has port 1 open: the dialog preselects it.
    QVERIFY(rig.inDialog<QRadioButton>("Option1")->isChecked());
  }

  void connectsOnTheChosenPortAndShowsProgress() {
    DialogRig rig;
    rig.clickOption(3);
    QCOMPARE(rig.model.dialogHost().current<rtceval::ConnectDialog>()->selectedPort(), 3);
    QVERIFY(rig.inDialog<QRadioButton>("Option3")->isChecked());
    QVERIFY(!rig.inDialog<QRadioButton>("Option1")->isChecked());

    rig.clickConnect();
    QCOMPARE(rig.port.openPort(), 3);
    QCOMPARE(rig.port.writes.back(), kProbe);
    rig.clock.advance(1000ms);
    QCOMPARE(rig.progress()->value(), 10);
    rig.clock.advance(4000ms);
    QCOMPARE(rig.progress()->value(), 50);
  }

  void closesWhenTheBoardAnswers() {
    DialogRig rig;
    rig.clickOption(2);
    rig.clickConnect();
    rig.port.receive(kProbeAnswer);
    QVERIFY(!rig.model.dialogHost().current<rtceval::ConnectDialog>());
    QVERIFY(!rig.dialog()->isVisible());
    ViewRig::flushDeletes();
    QVERIFY(!rig.dialog());
    QCOMPARE(rig.panel(2), QStringLiteral("成功连接评估板于串口2"));
    QCOMPARE(rig.panel(6), QStringLiteral("2"));
  }

  void givesUpOnceAndStaysOpen() {
    DialogRig rig;
    rig.clickConnect();
    rig.clock.advance(5100ms);
    rig.clock.advance(2000ms);
    QCOMPARE(rig.messageBoxes.shown.size(), std::size_t{1});
    QCOMPARE(rig.messageBoxes.shown.front().title, std::string("警告"));
    QVERIFY(rig.dialog()->isVisible());
    QVERIFY(rig.model.dialogHost().current<rtceval::ConnectDialog>());
  }

  void failedOpenLeavesTheDialogOpen() {
    DialogRig rig;
    rig.port.openable = {1};
    rig.clickOption(4);
    rig.clickConnect();
    QCOMPARE(rig.panel(2), QStringLiteral("无效的串口."));
    QCOMPARE(rig.inDialog<QLabel>("LabelStatus")->text(), QStringLiteral("无效的串口."));
    QVERIFY(rig.dialog()->isVisible());
    rig.clock.advance(1000ms);
    QCOMPARE(rig.progress()->value(), 0);
  }

  void closingByTheUserEndsTheAttempt_data() {
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("title bar") << false;
    QTest::newRow("escape key") << true;
  }

  void closingByTheUserEndsTheAttempt() {
    QFETCH(bool, byEscape);
    DialogRig rig;
    rig.clickConnect();
    if (byEscape)
      QTest::keyClick(rig.dialog(), Qt::Key_Escape);
    else
      rig.dialog()->close();
    QVERIFY(!rig.model.dialogHost().current<rtceval::ConnectDialog>());
    ViewRig::flushDeletes();
    QCOMPARE(rig.dialogCount(), 0);
    // The dialog's timer is gone with it: no give-up message later.
    rig.clock.advance(6000ms);
    QVERIFY(rig.messageBoxes.shown.empty());
  }

  void reopeningReplacesTheDialog() {
    DialogRig rig;
    rig.clickOption(4);
    rig.action("CONNECT")->trigger();
    ViewRig::flushDeletes();
    QCOMPARE(rig.dialogCount(), 1);
    QVERIFY(rig.dialog()->isVisible());
    // The new dialog starts from the port in use, not from the old dialog's choice.
    QVERIFY(rig.inDialog<QRadioButton>("Option1")->isChecked());
  }

  void closingTheMainWindowClosesTheDialog() {
    DialogRig rig;
    rig.view.close();
    ViewRig::flushDeletes();
    QCOMPARE(rig.dialogCount(), 0);
    QVERIFY(!rig.model.dialogHost().current<rtceval::ConnectDialog>());
  }
};

QTEST_MAIN(ConnectDialogViewTest)
#include "test_connect_dialog_view.moc"
