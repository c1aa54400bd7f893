#include "register_editors/qt/analog_trim_dialog_view.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/user_input.h"
#include "platform/qt/utf8_text.h"
#include "register_editors/qt/label_lines.h"

namespace rtceval::qt {
namespace {

using Texts = AnalogTrimDialog::Texts;

// Widths in characters of the explanation and of the capacitance box.
constexpr int kTextWidthChars = 22;
constexpr int kValueBoxDigits = 8;

QCheckBox* checkBox(const QString& name, const char* caption, QWidget* parent) {
  auto* box = new QCheckBox(utf8(caption), parent);
  box->setObjectName(name);
  box->setAccessibleName(box->text());
  return box;
}

QLabel* textLabel(const char* name, const QString& text, int width, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(utf8(name));
  label->setWordWrap(true);
  label->setFixedWidth(width);
  label->setAccessibleName(text);
  return label;
}

}  // namespace

AnalogTrimDialogView::AnalogTrimDialogView(DialogHost& host, QWidget* owner)
    : DialogViewOf(host, owner) {
  setObjectName(QStringLiteral("frmATR"));
  setWindowTitle(utf8(Texts::kCaption));

  auto* boxes = new QVBoxLayout;
  for (std::size_t i = 0; i < atrBoxes_.size(); ++i) {
    QCheckBox* box = checkBox(QStringLiteral("Check1_%1").arg(i), Texts::kAtr[i], this);
    onUserToggle(box, this, [this, i](bool on) {
      send([i, on](AnalogTrimDialog& d) { d.atrClicked(i, on); });
    });
    boxes->addWidget(box);
    atrBoxes_[i] = box;
  }
  bmatr1Box_ = checkBox(QStringLiteral("Check8"), Texts::kBmatr1, this);
  bmatr0Box_ = checkBox(QStringLiteral("Check7"), Texts::kBmatr0, this);
  onUserToggle(bmatr1Box_, this,
               [this](bool on) { send([on](AnalogTrimDialog& d) { d.bmatr1Clicked(on); }); });
  onUserToggle(bmatr0Box_, this,
               [this](bool on) { send([on](AnalogTrimDialog& d) { d.bmatr0Clicked(on); }); });
  boxes->addSpacing(fontMetrics().height());
  boxes->addWidget(bmatr1Box_);
  boxes->addWidget(bmatr0Box_);
  boxes->addStretch();

  const int textWidth = fontMetrics().horizontalAdvance(QChar(0x4E2D)) * kTextWidthChars;
  QLabel* explanation =
      textLabel("LabExplanation", blankRunsAsLines(Texts::explanation()), textWidth, this);
  QLabel* bmatrNote = textLabel("LabBmatr", utf8(Texts::kBmatrNote), textWidth, this);

  valueBox_ = new QLineEdit(this);
  valueBox_->setObjectName(QStringLiteral("Text1"));
  valueBox_->setEnabled(false);  // display only
  valueBox_->setFixedWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * kValueBoxDigits);
  auto* valueLabel = new QLabel(utf8(Texts::kValue), this);
  valueLabel->setObjectName(QStringLiteral("LabValue"));
  valueLabel->setBuddy(valueBox_);
  valueBox_->setAccessibleName(valueLabel->text());
  auto* value = new QHBoxLayout;
  value->addWidget(valueLabel);
  value->addWidget(valueBox_);
  value->addStretch();

  okButton_ = new QPushButton(utf8(Texts::kOk), this);
  okButton_->setObjectName(QStringLiteral("Command1"));
  okButton_->setAccessibleName(okButton_->text());
  okButton_->setDefault(true);
  connect(okButton_, &QPushButton::clicked, this,
          [this] { send([](AnalogTrimDialog& d) { d.okClicked(); }); });

  auto* right = new QVBoxLayout;
  right->addWidget(explanation);
  right->addLayout(value);
  right->addWidget(bmatrNote);
  right->addStretch();
  right->addWidget(okButton_, 0, Qt::AlignRight);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(boxes);
  layout->addSpacing(fontMetrics().height());
  layout->addLayout(right);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AnalogTrimDialogView::redraw() {
  const AnalogTrimDialog* dialog = model();
  if (!dialog) return;
  for (std::size_t i = 0; i < atrBoxes_.size(); ++i)
    showChecked(atrBoxes_[i], dialog->atrTicked[i]);
  showChecked(bmatr1Box_, dialog->bmatr1Ticked);
  showChecked(bmatr0Box_, dialog->bmatr0Ticked);
  bmatr1Box_->setEnabled(dialog->bmatrEnabled);
  bmatr0Box_->setEnabled(dialog->bmatrEnabled);
  showText(valueBox_, QString::fromStdString(dialog->valueText));
}

}  // namespace rtceval::qt
