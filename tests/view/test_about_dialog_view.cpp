// The About box's view: opened from the help menu it shows the fixed texts and buttons; OK
// closes it and "系统信息" opens a window of text with 复制 and 关闭.
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "view_rig.h"

using rtceval::testing::ViewRig;

class AboutDialogViewTest : public QObject {
  Q_OBJECT
 private slots:
  void showsTheTextsAndClosesOnOk() {
    ViewRig rig;
    rig.action("MABOUT")->trigger();
    auto* about = rig.find<QDialog>("frmAbout");
    QVERIFY(about && about->isVisible());
    QCOMPARE(about->windowTitle(), QStringLiteral("关于"));
    QCOMPARE(about->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
             QStringLiteral("版本：1.05"));
    QVERIFY(about->findChild<QLabel*>(QStringLiteral("lblTitle"))->font().bold());
    QVERIFY(!about->findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap().isNull());
    auto* ok = about->findChild<QPushButton*>(QStringLiteral("cmdOK"));
    QCOMPARE(ok->text(), QStringLiteral("确    定"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!about->isVisible());
  }

  void systemInformationOpensAWindowOfText() {
    ViewRig rig;
    rtceval::SystemFacts facts;
    facts.operatingSystem = "Debian GNU/Linux 12";
    rig.desktop.facts = facts;
    rig.action("MABOUT")->trigger();
    auto* about = rig.find<QDialog>("frmAbout");
    QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    auto* window = about->findChild<QDialog*>(QStringLiteral("frmSysInfo"));
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("系统信息"));
    auto* text = window->findChild<QPlainTextEdit*>(QStringLiteral("txtSysInfo"));
    QVERIFY(text->isReadOnly());
    QVERIFY(text->toPlainText().contains(QStringLiteral("Debian GNU/Linux 12")));

    // 复制 puts the whole text on the clipboard; 关闭, and the title bar's button after the
    // window was opened again, close it.
    auto* copy = window->findChild<QPushButton*>(QStringLiteral("cmdCopy"));
    auto* close = window->findChild<QPushButton*>(QStringLiteral("cmdClose"));
    QCOMPARE(copy->text(), QStringLiteral("复制"));
    QCOMPARE(close->text(), QStringLiteral("关闭"));
    QTest::mouseClick(copy, Qt::LeftButton);
    QCOMPARE(QString::fromStdString(rig.desktop.clipboard), text->toPlainText());
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!window->isVisible());
    QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    QVERIFY(window->isVisible());
    window->close();
    QVERIFY(!window->isVisible());
    QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    QVERIFY2(window->isVisible(), "closed by the title bar, it opens again when asked");
  }
};

QTEST_MAIN(AboutDialogViewTest)
#include "test_about_dialog_view.moc"
