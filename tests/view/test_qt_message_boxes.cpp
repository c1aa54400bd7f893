// The program's real message boxes and Qt's own texts, with the system's language unset (LANG=C):
// the boxes' buttons and the file dialogs read Chinese once Qt's catalogue is installed, a missing
// catalogue leaves Qt's texts as they are, and a box stands over the window that raised it.
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <chrono>
#include <functional>

#include "platform/qt/qt_message_boxes.h"
#include "qt_texts.h"
#include "view_rig.h"

using namespace std::chrono_literals;

namespace {

// What the box that `raise` opens showed: its buttons' texts and the window it stood over.
struct SeenBox {
  QStringList buttons;
  QString owner;
};

SeenBox seeBox(const std::function<void()>& raise) {
  SeenBox seen{{}, QStringLiteral("(no box)")};
  QTimer::singleShot(0, [&seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
    seen.owner = box->parentWidget() ? box->parentWidget()->objectName() : QStringLiteral("(none)");
    box->done(0);
  });
  raise();
  return seen;
}

using rtceval::testing::ProgramRig;

}  // namespace

class QtMessageBoxesTest : public QObject {
  Q_OBJECT

 private slots:
  void qtTextsFollowTheCatalogue_data() {
    QTest::addColumn<bool>("catalogueThere");
    QTest::addColumn<QStringList>("questionButtons");
    QTest::addColumn<QString>("messageButton");
    QTest::addColumn<QStringList>("fileDialogTexts");
    QTest::newRow("Qt's Chinese catalogue")
        << true << QStringList{"是(&Y)", "否(&N)"} << "确定"
        << QStringList{"查找范围：", "文件名称(&N)：", "文件类型：", "保存(&S)", "取消"};
    QTest::newRow("no catalogue: the program runs with Qt's English")
        << false << QStringList{"&Yes", "&No"} << "OK"
        << QStringList{"Look in:", "File &name:", "Files of type:", "&Save", "Cancel"};
  }

  void qtTextsFollowTheCatalogue() {
    QFETCH(bool, catalogueThere);
    QFETCH(QStringList, questionButtons);
    QFETCH(QString, messageButton);
    QFETCH(QStringList, fileDialogTexts);
    const QTemporaryDir empty;
    QTranslator translator;
    const bool installed = catalogueThere
                               ? rtceval::app::installQtChineseTexts(translator)
                               : rtceval::app::installQtChineseTexts(translator, empty.path());
    QCOMPARE(installed, catalogueThere);

    rtceval::qt::QtMessageBoxes boxes;
    QCOMPARE(seeBox([&] { boxes.askYesNo("是否恢复?", "快照"); }).buttons, questionButtons);
    QCOMPARE(seeBox([&] { boxes.message("无效的地址", ""); }).buttons, QStringList{messageButton});

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptSave);
    QStringList texts;
    for (auto label : {QFileDialog::LookIn, QFileDialog::FileName, QFileDialog::FileType,
                       QFileDialog::Accept, QFileDialog::Reject})
      texts << files.labelText(label);
    QCOMPARE(texts, fileDialogTexts);
  }

  void aBoxStandsOverTheWindowThatRaisedIt() {
    ProgramRig rig;
    // The EEPROM dialog refuses an address beyond the array.
    QDialog* memory = rig.open("X1226", "MEMORY", "frmMem");
    QVERIFY(memory);
    rig.activate(memory);
    memory->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("8000"));
    auto* write = memory->findChild<QPushButton*>(QStringLiteral("Command2"));
    QCOMPARE(seeBox([write] { write->click(); }).owner, QStringLiteral("frmMem"));

    // The control panel refuses a bit other than 0 or 1 as it is typed.
    QDialog* panel = rig.open("X1228", "STATUS", "frmCON");
    QVERIFY(panel);
    rig.activate(panel);
    auto* bit = panel->findChild<QLineEdit*>(QStringLiteral("tINT_3"));
    QCOMPARE(seeBox([bit] { QTest::keyClick(bit, Qt::Key_2); }).owner, QStringLiteral("frmCON"));

    // A time-out found by a tick, with the main window the active one, stands over it. The
    // panel's unanswered reads hold the line first, each until its own time-out.
    panel->close();
    rig.activate(&rig.view);
    rig.model.autoReadTimeClicked(true);
    QCOMPARE(seeBox([&rig] { rig.clock.advance(6s); }).owner, QStringLiteral("Main"));
  }

  void aBoxGoesWithTheWindowItStandsOver() {
    rtceval::qt::QtMessageBoxes boxes;
    auto* window = new QDialog;
    window->show();
    window->activateWindow();
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), window);
    bool boxOutlivedItsWindow = false;
    QTimer::singleShot(0, [window, &boxOutlivedItsWindow] {
      delete window;
      if (QWidget* box = QApplication::activeModalWidget()) {
        boxOutlivedItsWindow = true;
        box->close();
      }
    });
    QVERIFY2(!boxes.askYesNo("是否恢复?", "快照"), "a question gone with its window is No");
    QVERIFY(!boxOutlivedItsWindow);
    QCOMPARE(boxes.openBoxes(), 0);
  }
};

// Qt's texts are chosen by the catalogue installed, never by the system's language.
int main(int argc, char** argv) {
  qputenv("LANG", "C");
  qputenv("LC_ALL", "C");
  qputenv("LANGUAGE", "");
  QApplication app(argc, argv);
  QtMessageBoxesTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_qt_message_boxes.moc"
