#include "snapshot/qt/snapshot_window_view.h"

#include <algorithm>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/shown_text.h"
#include "platform/qt/user_input.h"
#include "platform/qt/utf8_text.h"

namespace rtceval::qt {
namespace {

using Texts = SnapshotWindow::Texts;
constexpr int kColumns = 4;
constexpr int kTableRowsShown = 14;
constexpr int kComparisonLines = 8;
constexpr int kRowPadding = 6;
constexpr const char* kFilter = "寄存器快照 (*.json);;所有文件 (*)";

QString fromStd(const std::string& s) {
  return QString::fromStdString(s);
}

// The caption without its "(&X)" access key, for the accessible name.
QString withoutAccessKey(const char* caption) {
  QString text = utf8(caption);
  text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
  return text.remove(QChar(0x2026));
}

}  // namespace

SnapshotWindowView::SnapshotWindowView(DialogHost& host, QWidget* owner)
    : DialogViewOf(host, owner) {
  setObjectName(QStringLiteral("frmSnapshot"));
  setWindowTitle(utf8(Texts::kCaption));
  choosePath_ = [this](bool save, const QString& suggested) {
    const QString title = utf8(Texts::kCaption);
    return save ? files_.saveFileName(this, title, suggested, utf8(kFilter))
                : files_.openFileName(this, title, utf8(kFilter));
  };

  const auto button = [this](const char* name, const char* caption) {
    auto* b = new QPushButton(utf8(caption), this);
    b->setObjectName(utf8(name));
    b->setAccessibleName(withoutAccessKey(caption));
    b->setAutoDefault(false);
    return b;
  };
  readButton_ = button("cmdReadChip", Texts::kRead);
  openButton_ = button("cmdOpen", Texts::kOpen);
  saveButton_ = button("cmdSave", Texts::kSave);
  compareChipButton_ = button("cmdCompareChip", Texts::kCompareChip);
  compareFileButton_ = button("cmdCompareFile", Texts::kCompareFile);
  restoreButton_ = button("cmdRestore", Texts::kRestore);
  cancelButton_ = button("cmdCancel", Texts::kCancel);
  clockBox_ = new QCheckBox(utf8(Texts::kRestoreClock), this);
  clockBox_->setObjectName(QStringLiteral("chkRestoreClock"));
  clockBox_->setAccessibleName(withoutAccessKey(Texts::kRestoreClock));

  connect(readButton_, &QPushButton::clicked, this,
          [this] { send([](SnapshotWindow& w) { w.readClicked(); }); });
  connect(openButton_, &QPushButton::clicked, this, [this] {
    const QString path = choosePath_(false, {});
    if (path.isEmpty()) return;
    send([&path](SnapshotWindow& w) { w.openFile(path.toStdString()); });
  });
  connect(saveButton_, &QPushButton::clicked, this, [this] {
    const SnapshotWindow* w = model();
    if (!w) return;
    const QString path = choosePath_(true, fromStd(w->suggestedFileName()));
    if (path.isEmpty()) return;
    send([&path](SnapshotWindow& m) { m.saveFile(path.toStdString()); });
  });
  connect(compareChipButton_, &QPushButton::clicked, this,
          [this] { send([](SnapshotWindow& w) { w.compareWithChipClicked(); }); });
  connect(compareFileButton_, &QPushButton::clicked, this, [this] {
    const QString path = choosePath_(false, {});
    if (path.isEmpty()) return;
    send([&path](SnapshotWindow& w) { w.compareWithFile(path.toStdString()); });
  });
  connect(restoreButton_, &QPushButton::clicked, this,
          [this] { send([](SnapshotWindow& w) { w.restoreClicked(); }); });
  connect(cancelButton_, &QPushButton::clicked, this,
          [this] { send([](SnapshotWindow& w) { w.cancelClicked(); }); });
  onUserToggle(clockBox_, this,
               [this](bool on) { send([on](SnapshotWindow& w) { w.restoreClockTicked(on); }); });

  sourceLabel_ = new QLabel(this);
  sourceLabel_->setObjectName(QStringLiteral("lblSource"));
  sourceLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // What a file brings never sets the window's width.
  sourceLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

  table_ = new QTableWidget(0, kColumns, this);
  table_->setObjectName(QStringLiteral("tblRegisters"));
  table_->setAccessibleName(utf8(Texts::kTable));
  table_->setHorizontalHeaderLabels(
      {utf8(Texts::kAddress), utf8(Texts::kRegister), utf8(Texts::kValue), utf8(Texts::kBits)});
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + kRowPadding);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setMinimumHeight(table_->verticalHeader()->defaultSectionSize() * kTableRowsShown);
  table_->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 90);

  auto* comparisonLabel = new QLabel(utf8(Texts::kComparison), this);
  comparison_ = new QPlainTextEdit(this);
  comparison_->setObjectName(QStringLiteral("txtComparison"));
  comparison_->setAccessibleName(utf8(Texts::kComparison));
  comparison_->setReadOnly(true);
  comparison_->setMinimumHeight(fontMetrics().lineSpacing() * (kComparisonLines + 1));
  comparison_->setLineWrapMode(QPlainTextEdit::NoWrap);
  comparisonLabel->setBuddy(comparison_);

  statusLabel_ = new QLabel(this);
  statusLabel_->setObjectName(QStringLiteral("lblStatus"));
  statusLabel_->setWordWrap(true);
  statusLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  progressBar_ = new QProgressBar(this);
  progressBar_->setObjectName(QStringLiteral("prgSteps"));
  progressBar_->setAccessibleName(utf8(Texts::kProgress));
  progressBar_->setTextVisible(true);

  auto* buttons = new QHBoxLayout;
  for (QWidget* w : {static_cast<QWidget*>(readButton_), static_cast<QWidget*>(openButton_),
                     static_cast<QWidget*>(saveButton_), static_cast<QWidget*>(compareChipButton_),
                     static_cast<QWidget*>(compareFileButton_)})
    buttons->addWidget(w);
  buttons->addStretch(1);
  auto* restore = new QHBoxLayout;
  restore->addWidget(restoreButton_);
  restore->addWidget(clockBox_);
  restore->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(sourceLabel_);
  layout->addWidget(table_, 1);
  layout->addWidget(comparisonLabel);
  layout->addWidget(comparison_);
  layout->addLayout(restore);
  auto* progress = new QHBoxLayout;
  progress->addWidget(progressBar_, 1);
  progress->addWidget(cancelButton_);
  layout->addLayout(progress);
  layout->addWidget(statusLabel_);
  setSizeGripEnabled(true);
}

void SnapshotWindowView::redraw() {
  const SnapshotWindow* w = model();
  if (!w) return;
  readButton_->setEnabled(!w->busy());
  openButton_->setEnabled(!w->busy());
  saveButton_->setEnabled(w->canSave());
  compareChipButton_->setEnabled(w->canCompare());
  compareFileButton_->setEnabled(w->canCompare());
  restoreButton_->setEnabled(w->canRestore());
  showChecked(clockBox_, w->restoreClock);
  cancelButton_->setEnabled(w->canCancel());
  const SnapshotWindow::Progress progress = w->progress();
  // With nothing to do the bar stands empty: a range of 0 to 0 would make it a busy indicator,
  // animated (and drawn) for as long as the window stays open.
  progressBar_->setMaximum(std::max(1, static_cast<int>(progress.total)));
  progressBar_->setValue(static_cast<int>(progress.done));
  // A snapshot file's time and version are whatever the file says: one line, cut if long.
  sourceLabel_->setText(fromStd(shownText(w->sourceText())));
  statusLabel_->setText(fromStd(shownText(w->statusText())));

  // The table changes only when another snapshot is shown, not with every progress step.
  const std::vector<SnapshotWindow::Row> rows = w->rows();
  bool same = table_->rowCount() == static_cast<int>(rows.size());
  for (int r = 0; same && r < table_->rowCount(); ++r) {
    const auto& row = rows[static_cast<std::size_t>(r)];
    same = table_->item(r, 0)->text() == fromStd(row.address) &&
           table_->item(r, 2)->text() == fromStd(row.value);
  }
  if (!same) {
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
      const auto& row = rows[static_cast<std::size_t>(r)];
      const QString cells[kColumns] = {fromStd(row.address), fromStd(row.name), fromStd(row.value),
                                       fromStd(row.bits)};
      for (int c = 0; c < kColumns; ++c) table_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    table_->resizeColumnsToContents();
  }

  QStringList lines;
  for (const std::string& line : w->comparisonLines) lines << fromStd(shownText(line));
  const QString text = lines.join(QLatin1Char('\n'));
  if (comparison_->toPlainText() != text) comparison_->setPlainText(text);
}

}  // namespace rtceval::qt
