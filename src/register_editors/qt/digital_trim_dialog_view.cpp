#include "register_editors/qt/digital_trim_dialog_view.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/user_input.h"
#include "platform/qt/utf8_text.h"

namespace rtceval::qt {
namespace {

using Texts = DigitalTrimDialog::Texts;

constexpr int kTextWidthChars = 18;
constexpr int kValueBoxDigits = 6;

}  // namespace

DigitalTrimDialogView::DigitalTrimDialogView(DialogHost& host, QWidget* owner)
    : DialogViewOf(host, owner) {
  setObjectName(QStringLiteral("frmDTR"));
  setWindowTitle(utf8(Texts::kCaption));

  const auto checkBox = [this](const char* name, const char* caption) {
    auto* box = new QCheckBox(utf8(caption), this);
    box->setObjectName(utf8(name));
    box->setAccessibleName(box->text());
    return box;
  };
  dtr2Box_ = checkBox("Check1", Texts::kDtr2);
  dtr1Box_ = checkBox("Check2", Texts::kDtr1);
  dtr0Box_ = checkBox("Check3", Texts::kDtr0);
  onUserToggle(dtr2Box_, this,
               [this](bool on) { send([on](DigitalTrimDialog& d) { d.dtr2Clicked(on); }); });
  onUserToggle(dtr1Box_, this,
               [this](bool on) { send([on](DigitalTrimDialog& d) { d.dtr1Clicked(on); }); });
  onUserToggle(dtr0Box_, this,
               [this](bool on) { send([on](DigitalTrimDialog& d) { d.dtr0Clicked(on); }); });
  auto* boxes = new QVBoxLayout;
  boxes->addWidget(dtr2Box_);
  boxes->addWidget(dtr1Box_);
  boxes->addWidget(dtr0Box_);
  boxes->addStretch();

  valueBox_ = new QLineEdit(this);
  valueBox_->setObjectName(QStringLiteral("Text1"));
  valueBox_->setFixedWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * kValueBoxDigits);
  onUserText(valueBox_, this, [this](const QString& typed) {
    send([&typed](DigitalTrimDialog& d) { d.valueText = typed.toStdString(); });
  });
  auto* valueLabel = new QLabel(utf8(Texts::kValue), this);
  valueLabel->setObjectName(QStringLiteral("LabValue"));
  valueLabel->setBuddy(valueBox_);
  valueBox_->setAccessibleName(valueLabel->text());
  auto* unitLabel = new QLabel(utf8(Texts::kUnit), this);
  unitLabel->setObjectName(QStringLiteral("LabUnit"));
  auto* value = new QHBoxLayout;
  value->addWidget(valueLabel);
  value->addWidget(valueBox_);
  value->addWidget(unitLabel);
  value->addStretch();

  auto* explanation = new QLabel(utf8(Texts::kExplanation), this);
  explanation->setObjectName(QStringLiteral("LabExplanation"));
  explanation->setWordWrap(true);
  explanation->setFixedWidth(fontMetrics().horizontalAdvance(QChar(0x4E2D)) * kTextWidthChars);
  explanation->setAccessibleName(explanation->text());

  okButton_ = new QPushButton(utf8(Texts::kOk), this);
  okButton_->setObjectName(QStringLiteral("Command1"));
  okButton_->setAccessibleName(okButton_->text());
  okButton_->setDefault(true);
  connect(okButton_, &QPushButton::clicked, this,
          [this] { send([](DigitalTrimDialog& d) { d.okClicked(); }); });

  auto* right = new QVBoxLayout;
  right->addLayout(value);
  right->addWidget(explanation);
  right->addStretch();
  right->addWidget(okButton_, 0, Qt::AlignRight);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(boxes);
  layout->addSpacing(fontMetrics().height());
  layout->addLayout(right);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void DigitalTrimDialogView::redraw() {
  const DigitalTrimDialog* dialog = model();
  if (!dialog) return;
  showChecked(dtr2Box_, dialog->dtr2Ticked);
  showChecked(dtr1Box_, dialog->dtr1Ticked);
  showChecked(dtr0Box_, dialog->dtr0Ticked);
  showText(valueBox_, QString::fromStdString(dialog->valueText));
}

}  // namespace rtceval::qt
