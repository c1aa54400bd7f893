// The view table matches the dialog table: every dialog the main window can open has a view, each
// view opens for its own number only, shows above the main window and goes when its model closes.
#include <QDialog>
#include <QtTest>

#include <string>

#include "main_window/dialog_table.h"
#include "main_window/qt/dialog_view_table.h"
#include "view_rig.h"

using rtceval::testing::ViewRig;

class DialogViewTableTest : public QObject {
  Q_OBJECT

 private slots:
  void everyDialogHasExactlyOneViewAndNoViewLacksADialog() {
    const auto dialogs = rtceval::allDialogs();
    const auto views = rtceval::qt::allDialogViews();
    QCOMPARE(views.size(), dialogs.size());
    for (const rtceval::DialogRow& row : dialogs)
      QVERIFY2(rtceval::qt::findDialogViewRow(views, row.number),
               qPrintable(QStringLiteral("no view for sub-form %1").arg(row.number)));
  }

  void eachViewOpensWithItsDialogAndGoesWithIt() {
    ViewRig rig;
    for (const rtceval::DialogRow& row : rtceval::allDialogs()) {
      rig.model.events().run([&] { rig.model.Load_Sub_Form(row.number); });
      const auto shown = rig.view.findChildren<QDialog*>();
      int visible = 0;
      for (QDialog* d : shown) visible += d->isVisible();
      QCOMPARE(visible, 1);
      rig.model.events().run([&] { rig.model.dialogHost().close(); });
      ViewRig::flushDeletes();
      QVERIFY(rig.view.findChildren<QDialog*>().isEmpty());
    }
  }
};

QTEST_MAIN(DialogViewTableTest)
#include "test_dialog_view_table.moc"
