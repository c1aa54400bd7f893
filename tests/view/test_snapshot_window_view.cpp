// The snapshot window's view: opened from the tools menu, it shows the model's buttons, table,
// comparison and tick box, and sends clicks, ticks and chosen files to the model.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <chrono>
#include <map>
#include <string>

#include "snapshot/qt/snapshot_window_view.h"
#include "snapshot/snapshot_dialogs.h"
#include "snapshot/snapshot_file.h"
#include "view_rig.h"

using namespace std::chrono_literals;
using rtceval::Snapshot;
using rtceval::SnapshotWindow;
using rtceval::testing::ViewRig;

namespace {

struct SnapshotRig : ViewRig {
  SnapshotRig() {
    clock.advance(200ms);
    port.receive({0x55, 0x80, 0x00, 0xD5});
    action("X1205")->trigger();
    action("SNAPSHOT")->trigger();
    port.writes.clear();
    view()->setPathChooser([this](bool save, const QString& suggested) {
      suggestions << suggested;
      return save ? QStringLiteral("/saved.json") : QStringLiteral("/in.json");
    });
  }
  QDialog* dialog() const { return find<QDialog>("frmSnapshot"); }
  rtceval::qt::SnapshotWindowView* view() const {
    return dynamic_cast<rtceval::qt::SnapshotWindowView*>(dialog());
  }
  template <class W>
  W* in(const char* name) const {
    return dialog()->findChild<W*>(QString::fromUtf8(name));
  }
  QPushButton* button(const char* name) const { return in<QPushButton>(name); }
  void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
  QStringList suggestions;
};

Snapshot sample() {
  Snapshot s{"X1205", "2026-12-08 10:00:00", "1.05", {}, {}};
  // A clock the chip can hold: 24-hour 00:00:00 on 2000-01-01.
  const std::map<std::string, std::uint8_t> clock{
      {"HR", 0x80}, {"DT", 0x01}, {"MO", 0x01}, {"Y2K", 0x20}};
  for (const auto& slot : rtceval::snapshotSlots("X1205")) {
    const auto value = clock.find(slot.name);
    s.registers.push_back(
        {slot.name, slot.address, value == clock.end() ? std::uint8_t{0} : value->second});
  }
  return s;
}

}  // namespace

class SnapshotWindowViewTest : public QObject {
  Q_OBJECT

 private slots:
  void showsItsControlsNamedForTheUserAndAssistiveTechnology() {
    SnapshotRig rig;
    QVERIFY(rig.dialog());
    QVERIFY(rig.dialog()->isVisible());
    QCOMPARE(rig.dialog()->windowTitle(), QStringLiteral("寄存器快照"));
    QCOMPARE(rig.button("cmdReadChip")->text(), QStringLiteral("从芯片读取(&R)"));
    QCOMPARE(rig.button("cmdReadChip")->accessibleName(), QStringLiteral("从芯片读取"));
    QCOMPARE(rig.button("cmdCompareFile")->accessibleName(), QStringLiteral("与文件比较"));
    QCOMPARE(rig.in<QCheckBox>("chkRestoreClock")->text(), QStringLiteral("同时恢复时钟(&K)"));
    QCOMPARE(rig.in<QTableWidget>("tblRegisters")->accessibleName(),
             QStringLiteral("快照中的寄存器"));
    QCOMPARE(rig.in<QTableWidget>("tblRegisters")->rowCount(), 0);
    // Nothing to save, compare or restore before a snapshot is shown.
    QVERIFY(rig.button("cmdReadChip")->isEnabled());
    QVERIFY(!rig.button("cmdSave")->isEnabled());
    QVERIFY(!rig.button("cmdCompareChip")->isEnabled());
    QVERIFY(!rig.button("cmdRestore")->isEnabled());
    QCOMPARE(rig.in<QLabel>("lblStatus")->text(),
             QString::fromUtf8(SnapshotWindow::Texts::kNothingShown));
  }

  void opensSavesAndComparesTheFilesChosen() {
    SnapshotRig rig;
    Snapshot s = sample();
    rig.desktop.files["/in.json"] = rtceval::toJson(s);
    rig.click("cmdOpen");
    auto* table = rig.in<QTableWidget>("tblRegisters");
    QCOMPARE(table->rowCount(), static_cast<int>(s.registers.size()));
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("SC"));
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("0x30"));
    QVERIFY(rig.in<QLabel>("lblSource")->text().contains(QStringLiteral("/in.json")));
    QVERIFY(rig.button("cmdSave")->isEnabled());

    rig.click("cmdSave");
    QCOMPARE(rig.suggestions.last(), QStringLiteral("X1205_20040520.json"));
    QCOMPARE(rig.desktop.files["/saved.json"], rig.desktop.files["/in.json"]);

    // The file chosen for the comparison differs in one bit of INT.
    for (auto& r : s.registers)
      if (r.name == "INT") r.value = 0x80;
    rig.desktop.files["/in.json"] = rtceval::toJson(s);
    rig.click("cmdCompareFile");
    const QString comparison = rig.in<QPlainTextEdit>("txtComparison")->toPlainText();
    QVERIFY2(comparison.contains(QStringLiteral("INT (0x11): 0x00 → 0x80，不同的位: IM")),
             qPrintable(comparison));
  }

  // A file's time 200 000 characters long with control characters in it: shown escaped and cut, and
  // the window keeps its width.
  void aFilesOddTextKeepsTheWindowsWidth() {
    SnapshotRig rig;
    rig.desktop.files["/in.json"] = rtceval::toJson(sample());
    rig.click("cmdOpen");
    const int width = rig.dialog()->sizeHint().width();
    Snapshot s = sample();
    s.takenAt = "2026\n\x1b[2J" + std::string(200000, '9');
    rig.desktop.files["/in.json"] = rtceval::toJson(s);
    rig.click("cmdOpen");
    const QString source = rig.in<QLabel>("lblSource")->text();
    QVERIFY2(source.startsWith(QStringLiteral("X1205  2026\\n\\x1B[2J999")), qPrintable(source));
    QVERIFY(source.size() < 300);
    QVERIFY(rig.in<QLabel>("lblStatus")->text().size() < 300);
    QCOMPARE(rig.dialog()->sizeHint().width(), width);
  }

  void theClockTickAndTheRestoreReachTheModel() {
    SnapshotRig rig;
    rig.desktop.files["/in.json"] = rtceval::toJson(sample());
    rig.click("cmdOpen");
    auto* tick = rig.in<QCheckBox>("chkRestoreClock");
    tick->setFocus();
    QTest::keyClick(tick, Qt::Key_Space);
    const auto* model =
        rig.model.toolHost(rtceval::tool_window::kSnapshot)->current<SnapshotWindow>();
    QVERIFY(model->restoreClock);
    rig.messageBoxes.answers.push_back(false);
    rig.click("cmdRestore");
    QVERIFY(rig.messageBoxes.shown.back().question);
    QVERIFY(QString::fromStdString(rig.messageBoxes.shown.back().text)
                .contains(QStringLiteral("和时钟")));
  }

  void anIdleWindowsBarStandsStill() {
    // A range of 0 to 0 is Qt's busy indicator, which animates for as long as it is shown.
    SnapshotRig rig;
    auto* bar = rig.in<QProgressBar>("prgSteps");
    QVERIFY(bar->maximum() > bar->minimum());
    QCOMPARE(bar->value(), bar->minimum());
  }

  void aRunningRestoreShowsItsProgressAndCancels() {
    SnapshotRig rig;
    QVERIFY(!rig.button("cmdCancel")->isEnabled());
    rig.desktop.files["/in.json"] = rtceval::toJson(sample());
    rig.click("cmdOpen");
    rig.messageBoxes.answers.push_back(true);
    rig.click("cmdRestore");
    // SR and BL are read first, then the first register write is acknowledged after its two
    // write enables: three steps are done.
    rig.port.receive({0x55, 0x80, 0x01, 0x00, 0xD6});
    rig.port.receive({0x55, 0x80, 0x01, 0x00, 0xD6});
    rig.port.receive({0x55, 0x81, 0x01, 0x00, 0xD7});
    rig.port.receive({0x55, 0x81, 0x01, 0x00, 0xD7});
    rig.port.receive({0x55, 0x81, 0x01, 0x00, 0xD7});
    auto* bar = rig.in<QProgressBar>("prgSteps");
    QCOMPARE(bar->value(), 3);
    QVERIFY(bar->maximum() > 3);
    QVERIFY(!rig.button("cmdRestore")->isEnabled());
    QVERIFY(rig.button("cmdCancel")->isEnabled());
    rig.click("cmdCancel");
    QVERIFY(!rig.button("cmdCancel")->isEnabled());
    QVERIFY(rig.in<QLabel>("lblStatus")
                ->text()
                .startsWith(QString::fromUtf8(SnapshotWindow::Texts::kRestoreCancelled)));
  }
};

QTEST_MAIN(SnapshotWindowViewTest)
#include "test_snapshot_window_view.moc"
