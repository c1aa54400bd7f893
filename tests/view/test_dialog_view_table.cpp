// The view table matches the dialog table: every window the main window can open has exactly one
// view, found from its model, which shows above the main window and goes when its model closes.
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
    const auto views = rtceval::qt::allDialogViews();
    QCOMPARE(views.size(), rtceval::allDialogs().size());
    ViewRig rig;
    for (const rtceval::DialogRow& row : rtceval::allDialogs()) {
      rtceval::DialogHost* tool = rig.model.toolHost(row.number);
      rtceval::DialogHost& host = tool ? *tool : rig.model.dialogHost();
      rig.model.events().run([&] { host.Load_Sub_Form(row.number); });
      QVERIFY(host.current());
      int shows = 0;
      for (const rtceval::qt::DialogViewRow& view : views) shows += view.shows(*host.current());
      QVERIFY2(shows == 1, row.form);
      rig.model.events().run([&] { host.close(); });
      ViewRig::flushDeletes();
    }
  }

  void eachViewOpensWithItsDialogAndGoesWithIt() {
    ViewRig rig;
    for (const rtceval::DialogRow& row : rtceval::allDialogs()) {
      rig.model.events().run([&] { rig.model.dialogHost().Load_Sub_Form(row.number); });
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
