#include "accuracy/qt/accuracy_window_view.h"

#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "accuracy/axis_ticks.h"
#include "platform/qt/utf8_text.h"

namespace rtceval::qt {
namespace {

using Texts = AccuracyWindow::Texts;

constexpr int kChartWidth = 560;
constexpr int kChartHeight = 300;

QLabel* label(const char* name, QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setWordWrap(true);
  l->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  return l;
}

QPushButton* button(const char* name, const char* caption, QWidget* parent) {
  auto* b = new QPushButton(utf8(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAccessibleName(b->text().remove(QLatin1Char('&')));
  return b;
}

// Shows `text` and names the label after it for assistive technology.
void showText(QLabel* l, const std::string& text) {
  const QString q = QString::fromStdString(text);
  if (l->text() != q) {
    l->setText(q);
    l->setAccessibleName(q);
  }
}

void applyTicks(QValueAxis* axis, const AxisTicks& ticks) {
  axis->setRange(ticks.low, ticks.high);
  axis->setTickCount(ticks.intervals + 1);
  axis->setLabelFormat(QStringLiteral("%g"));
}

}  // namespace

AccuracyWindowView::AccuracyWindowView(DialogHost& host, QWidget* owner)
    : DialogViewOf(host, owner) {
  setObjectName(QStringLiteral("frmAccuracy"));
  setWindowTitle(utf8(Texts::kCaption));

  auto* intervalLabel = new QLabel(utf8(Texts::kInterval), this);
  intervalLabel->setObjectName(QStringLiteral("lblInterval"));
  interval_ = new QSpinBox(this);
  interval_->setObjectName(QStringLiteral("spnInterval"));
  interval_->setRange(AccuracyWindow::kMinIntervalSeconds, AccuracyWindow::kMaxIntervalSeconds);
  interval_->setValue(AccuracyWindow::kDefaultIntervalSeconds);
  interval_->setAccessibleName(intervalLabel->text());
  intervalLabel->setBuddy(interval_);
  start_ = button("cmdStart", Texts::kStart, this);
  stop_ = button("cmdStop", Texts::kStop, this);
  save_ = button("cmdSave", Texts::kSave, this);
  apply_ = button("cmdApply", Texts::kApply, this);
  start_->setDefault(true);

  status_ = label("lblStatus", this);
  result_ = label("lblResult", this);
  QFont bold = result_->font();
  bold.setBold(true);
  result_->setFont(bold);
  perDay_ = label("lblPerDay", this);
  perMonth_ = label("lblPerMonth", this);
  advice_ = label("lblAdvice", this);

  series_ = new QLineSeries;
  series_->setPointsVisible(true);
  chart_ = new QChart;
  chart_->legend()->hide();
  chart_->addSeries(series_);
  chart_->setTitle(QStringLiteral("芯片时间 − 电脑时间"));
  timeAxis_ = new QValueAxis;
  timeAxis_->setTitleText(QStringLiteral("时间 (分钟)"));
  offsetAxis_ = new QValueAxis;
  offsetAxis_->setTitleText(QStringLiteral("偏差 (毫秒)"));
  chart_->addAxis(timeAxis_, Qt::AlignBottom);
  chart_->addAxis(offsetAxis_, Qt::AlignLeft);
  series_->attachAxis(timeAxis_);
  series_->attachAxis(offsetAxis_);
  applyTicks(timeAxis_, roundTicks(0.0, 1.0));
  applyTicks(offsetAxis_, roundTicks(-1.0, 1.0));
  auto* chartView = new QChartView(chart_, this);
  chartView->setObjectName(QStringLiteral("chtOffset"));
  chartView->setAccessibleName(QStringLiteral("偏差曲线"));
  chartView->setRenderHint(QPainter::Antialiasing);
  chartView->setMinimumSize(kChartWidth, kChartHeight);

  connect(interval_, &QSpinBox::valueChanged, this, [this](int seconds) {
    send([seconds](AccuracyWindow& w) { w.intervalChanged(seconds); });
  });
  connect(start_, &QPushButton::clicked, this,
          [this] { send([](AccuracyWindow& w) { w.startClicked(); }); });
  connect(stop_, &QPushButton::clicked, this,
          [this] { send([](AccuracyWindow& w) { w.stopClicked(); }); });
  connect(apply_, &QPushButton::clicked, this,
          [this] { send([](AccuracyWindow& w) { w.applyClicked(); }); });
  connect(save_, &QPushButton::clicked, this, [this] { save(); });

  auto* controls = new QHBoxLayout;
  controls->addWidget(intervalLabel);
  controls->addWidget(interval_);
  controls->addStretch();
  controls->addWidget(start_);
  controls->addWidget(stop_);
  controls->addWidget(save_);
  auto* adviceRow = new QHBoxLayout;
  adviceRow->addWidget(advice_, 1);
  adviceRow->addWidget(apply_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(status_);
  layout->addWidget(result_);
  layout->addWidget(perDay_);
  layout->addWidget(perMonth_);
  layout->addWidget(chartView, 1);
  layout->addLayout(adviceRow);
  setTabOrder(interval_, start_);
  setTabOrder(start_, stop_);
  setTabOrder(stop_, save_);
  setTabOrder(save_, apply_);
  redraw();
}

void AccuracyWindowView::save() {
  const AccuracyWindow* window = model();
  if (!window || !window->saveEnabled()) return;
  const QString path = files_.saveFileName(
      this, utf8(Texts::kCaption), QStringLiteral("accuracy.csv"), QStringLiteral("CSV (*.csv)"));
  if (path.isEmpty()) return;
  const std::string file = path.toStdString();
  send([file](AccuracyWindow& w) { w.saveTo(file); });
}

void AccuracyWindowView::redraw() {
  const AccuracyWindow* window = model();
  if (!window) return;
  if (interval_->value() != window->intervalSeconds()) {
    const QSignalBlocker quiet(interval_);
    interval_->setValue(window->intervalSeconds());
  }
  interval_->setEnabled(!window->running());
  start_->setEnabled(window->startEnabled());
  stop_->setEnabled(window->stopEnabled());
  save_->setEnabled(window->saveEnabled());
  apply_->setEnabled(window->applyEnabled());
  showText(status_, window->statusText());
  showText(result_, window->resultText());
  showText(perDay_, window->perDayText());
  showText(perMonth_, window->perMonthText());
  showText(advice_, window->adviceText());
  redrawPlot(*window);
}

void AccuracyWindowView::redrawPlot(const AccuracyWindow& window) {
  const auto& samples = window.samples();
  const double firstMs = samples.empty() ? -1.0 : samples.front().pcMs;
  if (samples.size() == plotted_ && firstMs == plottedFirstMs_) return;
  plotted_ = samples.size();
  plottedFirstMs_ = firstMs;
  QList<QPointF> points;
  double lastMinute = 1.0;
  double low = -1.0;
  double high = 1.0;
  for (const OffsetPoint& p : window.plot()) {
    points.append(QPointF(p.minutes, p.offsetMs));
    lastMinute = std::max(lastMinute, p.minutes);
    low = std::min(low, p.offsetMs);
    high = std::max(high, p.offsetMs);
  }
  series_->replace(points);
  applyTicks(timeAxis_, roundTicks(0.0, lastMinute));
  const double margin = (high - low) * 0.1;
  applyTicks(offsetAxis_, roundTicks(low - margin, high + margin));
}

}  // namespace rtceval::qt
