#include "register_editors/qt/control_panel_view.h"

#include <QFontMetricsF>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/qt/user_input.h"
#include "platform/qt/utf8_text.h"

namespace rtceval::qt {
namespace {

using Row = ControlPanel::Row;
using Texts = ControlPanel::Texts;

// The names of each row's controls: the title and caption labels, the buttons and the box array.
struct RowNames {
  const char* key;    // lbl<key>2, lbl<key>, cmdR<key>, cmdW<key>
  const char* boxes;  // <boxes>_0 … <boxes>_7
};
constexpr std::array<RowNames, ControlPanel::kRows> kNames{{
    {"SR", "SR"},
    {"INT", "tINT"},
    {"EV", "EV"},
    {"BL", "BL"},
    {"ATR", "ATR"},
    {"DTR", "DTR"},
}};

// Room between two boxes, in pixels.
constexpr int kBoxGap = 4;

}  // namespace

ControlPanelView::ControlPanelView(DialogHost& host, QWidget* owner) : DialogViewOf(host, owner) {
  setObjectName(QStringLiteral("frmCON"));
  setWindowTitle(utf8(Texts::kCaption));

  // The captions put each bit's name over its box with blanks, measured for another font. The
  // boxes stand at the pitch the captions ask for on average, and each caption is then spaced out
  // or drawn closer until its last name stands over its box.
  const QFontMetricsF metrics(font());
  const ControlPanel* panel = model();
  std::array<double, ControlPanel::kRows> lastCentres{};
  std::array<std::size_t, ControlPanel::kRows> lastBits{};
  double pitchSum = 0;
  int pitchCount = 0;
  for (std::size_t i = 0; panel && i < ControlPanel::kRows; ++i) {
    const ControlPanel::RowControls& r = panel->rows[i];
    const QString caption = QString::fromStdString(r.bitCaption);
    lastCentres[i] = metrics.horizontalAdvance(caption) -
                     metrics.horizontalAdvance(caption.section(QLatin1Char(' '), -1)) / 2;
    // The rightmost name belongs to the lowest bit that has one.
    const auto named = std::find_if(r.bitNames.begin(), r.bitNames.end(),
                                    [](const std::string& name) { return !name.empty(); });
    lastBits[i] =
        named == r.bitNames.end() ? 0 : static_cast<std::size_t>(named - r.bitNames.begin());
    if (lastBits[i] == 0) {
      pitchSum += lastCentres[i] / (ControlPanel::kBits - 0.5);
      ++pitchCount;
    }
  }
  const double minimumPitch = metrics.horizontalAdvance(QStringLiteral("000")) + kBoxGap;
  const int boxPitch =
      static_cast<int>(std::max(minimumPitch, pitchCount ? pitchSum / pitchCount : 0.0) + 0.5);

  auto* layout = new QVBoxLayout(this);
  for (std::size_t i = 0; i < ControlPanel::kRows; ++i)
    layout->addWidget(buildRow(static_cast<Row>(i), boxPitch));
  layout->setSizeConstraint(QLayout::SetFixedSize);

  for (std::size_t i = 0; panel && i < ControlPanel::kRows; ++i) {
    const QString caption = QString::fromStdString(panel->rows[i].bitCaption);
    if (caption.isEmpty()) continue;
    const double boxCentre =
        (static_cast<double>(ControlPanel::kBits - lastBits[i]) - 0.5) * boxPitch - kBoxGap / 2.0;
    const auto length = static_cast<double>(caption.size());
    const auto lastLength = static_cast<double>(caption.section(QLatin1Char(' '), -1).size());
    const double lastIndex = length - lastLength / 2;
    QFont spaced = font();
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, (boxCentre - lastCentres[i]) / lastIndex);
    rows_[i].caption->setFont(spaced);
  }

  // The titles share one width, so the boxes of all rows stand in the same columns.
  int titleWidth = 0;
  for (const RowWidgets& r : rows_) titleWidth = std::max(titleWidth, r.title->sizeHint().width());
  for (RowWidgets& r : rows_) r.title->setFixedWidth(titleWidth);
}

QWidget* ControlPanelView::buildRow(Row row, int boxPitch) {
  const auto index = static_cast<std::size_t>(row);
  const RowNames& names = kNames[index];
  const QString key = utf8(names.key);
  RowWidgets& w = rows_[index];
  const ControlPanel* panel = model();

  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setObjectName(QStringLiteral("frame") + key);

  w.title = new QLabel(panel ? utf8(panel->row(row).title) : QString(), frame);
  w.title->setObjectName(QStringLiteral("lbl") + key + QLatin1Char('2'));
  w.title->setAccessibleName(w.title->text());
  frame->setAccessibleName(w.title->text());

  w.caption = new QLabel(frame);
  w.caption->setObjectName(QStringLiteral("lbl") + key);

  auto* boxRow = new QHBoxLayout;
  boxRow->setSpacing(kBoxGap);
  // Bit 7 on the left, bit 0 on the right.
  for (std::size_t n = ControlPanel::kBits; n-- > 0;) {
    auto* box = new QLineEdit(frame);
    box->setObjectName(QStringLiteral("%1_%2").arg(utf8(names.boxes)).arg(n));
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(boxPitch - kBoxGap);
    QString bitName = panel ? QString::fromStdString(panel->row(row).bitNames[n]) : QString();
    if (bitName.isEmpty()) bitName = QStringLiteral("位%1").arg(n);
    box->setAccessibleName(key + QLatin1Char(' ') + bitName);
    onUserText(box, this, [this, row, n](const QString& typed) {
      send([row, n, &typed](ControlPanel& p) { p.boxChanged(row, n, typed.toStdString()); });
    });
    boxRow->addWidget(box);
    w.boxes[n] = box;
  }
  boxRow->addStretch();

  auto* bits = new QVBoxLayout;
  bits->addWidget(w.caption);
  bits->addLayout(boxRow);

  w.read = new QPushButton(utf8(Texts::kRead), frame);
  w.read->setObjectName(QStringLiteral("cmdR") + key);
  w.write = new QPushButton(utf8(Texts::kWrite), frame);
  w.write->setObjectName(QStringLiteral("cmdW") + key);
  for (QPushButton* button : {w.read, w.write}) {
    button->setAccessibleName(button->text());
    button->setAccessibleDescription(w.title->text());
    button->setAutoDefault(false);
  }
  connect(w.read, &QPushButton::clicked, this,
          [this, row] { send([row](ControlPanel& p) { p.readClicked(row); }); });
  connect(w.write, &QPushButton::clicked, this,
          [this, row] { send([row](ControlPanel& p) { p.writeClicked(row); }); });
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(w.read);
  buttons->addWidget(w.write);

  auto* line = new QHBoxLayout(frame);
  line->addWidget(w.title);
  line->addLayout(bits);
  line->addLayout(buttons);
  return frame;
}

void ControlPanelView::redraw() {
  const ControlPanel* panel = model();
  if (!panel) return;
  setWindowTitle(QString::fromStdString(panel->caption));
  for (std::size_t i = 0; i < ControlPanel::kRows; ++i) {
    const ControlPanel::RowControls& r = panel->rows[i];
    RowWidgets& w = rows_[i];
    w.title->setEnabled(r.titleEnabled);
    w.caption->setText(QString::fromStdString(r.bitCaption));
    w.caption->setAccessibleName(w.caption->text().simplified());
    w.caption->setEnabled(r.captionEnabled);
    for (std::size_t n = 0; n < ControlPanel::kBits; ++n) {
      showText(w.boxes[n], QString::fromStdString(r.boxes[n]));
      w.boxes[n]->setEnabled(r.boxEnabled[n]);
    }
    w.read->setEnabled(r.readEnabled);
    w.write->setEnabled(r.writeEnabled);
  }
}

}  // namespace rtceval::qt
