#include "line_monitor/qt/line_monitor_view.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "line_monitor/qt/line_table_model.h"
#include "platform/qt/utf8_text.h"

namespace rtceval::qt {
namespace {

// Room for a time read's reply and its meaning without scrolling sideways.
constexpr int kColumns = 150;
constexpr int kLines = 30;

QPushButton* button(const char* objectName, const char* mnemonic, const char* text,
                    QWidget* parent) {
  auto* b =
      new QPushButton(QStringLiteral("(&%1)").arg(QLatin1String(mnemonic)) + utf8(text), parent);
  b->setObjectName(QLatin1String(objectName));
  b->setAccessibleName(utf8(text));
  b->setAutoDefault(false);
  return b;
}

}  // namespace

LineMonitorView::LineMonitorView(DialogHost& host, QWidget* owner) : DialogViewOf(host, owner) {
  setObjectName(QStringLiteral("frmLineMonitor"));
  setWindowTitle(utf8(LineMonitor::kCaption));

  rows_ = new LineTableModel(this);
  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("lineTable"));
  table_->setAccessibleName(utf8(LineMonitor::kCaption));
  table_->setModel(rows_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setWordWrap(false);
  table_->setAlternatingRowColors(true);
  table_->verticalHeader()->hide();
  // Every row one line high: the table never measures 100 000 rows.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().lineSpacing() + 4);
  table_->horizontalHeader()->setStretchLastSection(true);
  const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  table_->setColumnWidth(0, digit * 10);
  table_->setColumnWidth(1, digit * 14);
  table_->setColumnWidth(2, digit * 6);
  table_->setColumnWidth(3, digit * 52);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("statusLabel"));
  pause_ = button("pauseButton", "P", LineMonitor::kTextPause, this);
  clear_ = button("clearButton", "L", LineMonitor::kTextClear, this);
  copy_ = button("copyButton", "C", LineMonitor::kTextCopy, this);
  save_ = button("saveButton", "S", LineMonitor::kTextSave, this);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(status_, 1);
  for (QPushButton* b : {pause_, clear_, copy_, save_}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);
  setTabOrder(table_, pause_);
  setTabOrder(pause_, clear_);
  setTabOrder(clear_, copy_);
  setTabOrder(copy_, save_);

  auto* copyKey = new QAction(this);
  copyKey->setShortcut(QKeySequence::Copy);
  copyKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  addAction(copyKey);
  auto* saveKey = new QAction(this);
  saveKey->setShortcut(QKeySequence::Save);
  saveKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  addAction(saveKey);

  connect(pause_, &QPushButton::clicked, this,
          [this] { send([](LineMonitor& m) { m.pauseClicked(); }); });
  connect(clear_, &QPushButton::clicked, this,
          [this] { send([](LineMonitor& m) { m.clearClicked(); }); });
  connect(copy_, &QPushButton::clicked, this, [this] { copySelection(); });
  connect(copyKey, &QAction::triggered, this, [this] { copySelection(); });
  connect(save_, &QPushButton::clicked, this, [this] { askAndSave(); });
  connect(saveKey, &QAction::triggered, this, [this] { askAndSave(); });

  resize(digit * kColumns, fontMetrics().lineSpacing() * kLines);
}

void LineMonitorView::redraw() {
  const LineMonitor* monitor = model();
  QScrollBar* scroll = table_->verticalScrollBar();
  // The newest line stays in sight unless the user has scrolled up to read an older one.
  const bool followTail = scroll->value() >= scroll->maximum();
  const int before = rows_->rowCount();
  rows_->sync(monitor ? &monitor->lines() : nullptr);
  if (followTail && rows_->rowCount() != before) table_->scrollToBottom();
  if (!monitor) return;
  const QString status = QString::fromStdString(monitor->statusText());
  if (status_->text() != status) {
    status_->setText(status);
    status_->setAccessibleName(status);
  }
  const QString pauseText = utf8(monitor->pauseCaption());
  if (pause_->accessibleName() != pauseText) {
    pause_->setText(QStringLiteral("(&P)") + pauseText);
    pause_->setAccessibleName(pauseText);
  }
}

void LineMonitorView::copySelection() {
  const LineMonitor* monitor = model();
  if (!monitor) return;
  std::vector<std::size_t> lines;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows())
    if (const auto at = rows_->ringIndex(index.row())) lines.push_back(*at);
  if (lines.empty()) return;
  // In the order of the line, whatever order the rows were picked in.
  std::sort(lines.begin(), lines.end());
  QGuiApplication::clipboard()->setText(QString::fromStdString(monitor->copyText(lines)));
}

void LineMonitorView::askAndSave() {
  QString filter;
  QString path = files_.saveFileName(
      this, utf8(LineMonitor::kCaption), utf8("通信记录.csv"),
      QStringLiteral("CSV (*.csv);;") + utf8("文本文件") + QStringLiteral(" (*.txt)"), &filter);
  if (path.isEmpty()) return;
  // A name typed without an ending takes the one of the type chosen.
  if (QFileInfo(path).suffix().isEmpty())
    path +=
        filter.startsWith(QStringLiteral("CSV")) ? QStringLiteral(".csv") : QStringLiteral(".txt");
  saveTo(path);
}

void LineMonitorView::saveTo(const QString& path) {
  const std::string file = path.toStdString();
  send([file](LineMonitor& m) { m.saveTo(file); });
}

}  // namespace rtceval::qt
