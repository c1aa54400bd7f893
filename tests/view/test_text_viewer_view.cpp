// The help texts' viewer windows and the main window's document links: a help item shows its
// file read-only as plain text; a link reacts to the mouse and the keyboard and looks like one.
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

#include "view_rig.h"

using rtceval::testing::ViewRig;

class TextViewerViewTest : public QObject {
  Q_OBJECT
 private slots:
  void helpItemShowsItsFileAsPlainText() {
    ViewRig rig;
    rig.desktop.files["/home/user/AN.txt"] = "<b>AN154</b>\n{\\rtf1 not rich}\n";
    rig.action("AN")->trigger();
    auto* window = rig.find<QDialog>("frmAN");
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("应用笔记"));
    auto* text = window->findChild<QPlainTextEdit*>(QStringLiteral("RichTextBox1"));
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->toPlainText(), QStringLiteral("<b>AN154</b>\n{\\rtf1 not rich}\n"));
  }

  void linksOpenTheirDocumentByMouseAndKeyboard() {
    ViewRig rig;
    rig.desktop.files["/home/user/docs/X1205.pdf"] = "";
    rig.desktop.files["/home/user/docs/AN154.pdf"] = "";
    rig.action("X1205")->trigger();
    auto* datasheet = rig.find<QLabel>("Labds");
    auto* note = rig.find<QLabel>("LabAN(0)");
    QVERIFY(datasheet && note);
    QCOMPARE(datasheet->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(note->focusPolicy(), Qt::StrongFocus);
    QTest::mouseClick(datasheet, Qt::LeftButton);
    note->setFocus();
    QTest::keyClick(note, Qt::Key_Return);
    QCOMPARE(rig.desktop.opened,
             (std::vector<std::string>{"/home/user/docs/X1205.pdf", "/home/user/docs/AN154.pdf"}));
  }
};

QTEST_MAIN(TextViewerViewTest)
#include "test_text_viewer_view.moc"
