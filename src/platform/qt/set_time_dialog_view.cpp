#include "platform/qt/set_time_dialog_view.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <initializer_list>

#include "main_window/main_window.h"

namespace rtceval::qt {
namespace {

using Texts = SetTimeDialog::Texts;

// Widths in digits: the four-digit year and the two-digit fields, each with room to spare for the
// box's frame and margins.
constexpr int YEAR_BOX_DIGITS = 7;
constexpr int SHORT_BOX_DIGITS = 5;

QString utf8(const char* s) {
  return QString::fromUtf8(s);
}

QLabel* unitLabel(const char* name, const char* caption, QLineEdit* box, QWidget* parent) {
  auto* label = new QLabel(utf8(caption), parent);
  label->setObjectName(utf8(name));
  label->setAccessibleName(label->text());
  label->setBuddy(box);
  box->setAccessibleName(label->text());
  return label;
}

}  // namespace

SetTimeDialogView::SetTimeDialogView(MainWindow& model, QWidget* owner)
    : SubFormView(model, owner) {
  setObjectName(QStringLiteral("frmTime"));
  setWindowTitle(utf8(Texts::Caption));

  addField(1, &SetTimeDialog::Text1);
  addField(2, &SetTimeDialog::Text2);
  addField(3, &SetTimeDialog::Text3);
  addField(4, &SetTimeDialog::Text4);
  addField(5, &SetTimeDialog::Text5);
  addField(6, &SetTimeDialog::Text6);
  addField(7, &SetTimeDialog::Text7);
  const auto box = [this](int number) { return fields_[static_cast<std::size_t>(number - 1)].box; };
  const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  box(1)->setFixedWidth(digit * YEAR_BOX_DIGITS);
  for (int n = 2; n <= 7; ++n) box(n)->setFixedWidth(digit * SHORT_BOX_DIGITS);

  // Each box is followed by its unit, except the weekday, which follows its word 星期 as it is
  // read.
  auto* fields = new QGridLayout;
  fields->addWidget(box(1), 0, 0);
  fields->addWidget(unitLabel("LabYear", Texts::Year, box(1), this), 0, 1);
  fields->addWidget(box(2), 0, 2);
  fields->addWidget(unitLabel("LabMonth", Texts::Month, box(2), this), 0, 3);
  fields->addWidget(box(3), 0, 4);
  fields->addWidget(unitLabel("LabDate", Texts::Date, box(3), this), 0, 5);
  fields->addWidget(unitLabel("LabWeekday", Texts::Weekday, box(7), this), 0, 6);
  fields->addWidget(box(7), 0, 7);
  fields->addWidget(box(4), 1, 0, Qt::AlignRight);
  fields->addWidget(unitLabel("LabHour", Texts::Hour, box(4), this), 1, 1);
  fields->addWidget(box(5), 1, 2);
  fields->addWidget(unitLabel("LabMinute", Texts::Minute, box(5), this), 1, 3);
  fields->addWidget(box(6), 1, 4);
  fields->addWidget(unitLabel("LabSecond", Texts::Second, box(6), this), 1, 5);
  fields->setColumnStretch(8, 1);

  mil12_ = new QCheckBox(utf8(Texts::MIL12), this);
  mil12_->setObjectName(QStringLiteral("MIL12"));
  opAM_ = new QRadioButton(utf8(Texts::OpAM), this);
  opAM_->setObjectName(QStringLiteral("OpAM"));
  opPM_ = new QRadioButton(utf8(Texts::OpPM), this);
  opPM_->setObjectName(QStringLiteral("OpPM"));
  auto* options = new QButtonGroup(this);
  options->addButton(opAM_);
  options->addButton(opPM_);
  command1_ = new QPushButton(utf8(Texts::Command1), this);
  command1_->setObjectName(QStringLiteral("Command1"));
  command1_->setDefault(true);
  const std::initializer_list<QAbstractButton*> buttons{mil12_, opAM_, opPM_, command1_};
  for (QAbstractButton* button : buttons) button->setAccessibleName(button->text());

  // clicked, not toggled: the ticks and selections the redraw sets must not come back as clicks.
  connect(mil12_, &QCheckBox::clicked, this, [this](bool on) {
    runEvent([this, on] {
      if (SetTimeDialog* dialog = model_.setTimeDialog()) dialog->MIL12_Click(on);
    });
  });
  connect(opAM_, &QRadioButton::clicked, this, [this] {
    runEvent([this] {
      if (SetTimeDialog* dialog = model_.setTimeDialog()) dialog->OpAM_Click();
    });
  });
  connect(opPM_, &QRadioButton::clicked, this, [this] {
    runEvent([this] {
      if (SetTimeDialog* dialog = model_.setTimeDialog()) dialog->OpPM_Click();
    });
  });
  connect(command1_, &QPushButton::clicked, this, [this] {
    runEvent([this] {
      if (SetTimeDialog* dialog = model_.setTimeDialog()) dialog->Command1_Click();
    });
  });

  // The 12-hour tick above the two options on the left, the OK button to their right.
  auto* format = new QVBoxLayout;
  format->addWidget(mil12_);
  format->addWidget(opAM_);
  format->addWidget(opPM_);
  auto* lower = new QHBoxLayout;
  lower->addLayout(format);
  lower->addStretch();
  lower->addWidget(command1_, 0, Qt::AlignBottom);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addSpacing(fontMetrics().height() / 2);
  layout->addLayout(lower);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SetTimeDialogView::addField(int number, std::string SetTimeDialog::*text) {
  auto* box = new QLineEdit(this);
  box->setObjectName(QStringLiteral("Text%1").arg(number));
  // textEdited, not textChanged: only what the user types goes to the model, not the redraw.
  connect(box, &QLineEdit::textEdited, this, [this, text](const QString& typed) {
    runEvent([this, text, typed] {
      if (SetTimeDialog* dialog = model_.setTimeDialog()) dialog->*text = typed.toStdString();
    });
  });
  fields_[static_cast<std::size_t>(number - 1)] = {box, text};
}

void SetTimeDialogView::redraw() {
  const SetTimeDialog* dialog = detached() ? nullptr : model_.setTimeDialog();
  if (!dialog) return;
  for (const Field& field : fields_) {
    const QString text = QString::fromStdString(dialog->*field.text);
    // Setting an equal text would move the cursor of the box being typed in.
    if (field.box->text() != text) field.box->setText(text);
  }
  mil12_->setChecked(dialog->MIL12);
  opAM_->setEnabled(dialog->OptionsEnabled);
  opPM_->setEnabled(dialog->OptionsEnabled);
  (dialog->PM ? opPM_ : opAM_)->setChecked(true);
}

}  // namespace rtceval::qt
