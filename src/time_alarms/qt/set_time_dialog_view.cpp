#include "time_alarms/qt/set_time_dialog_view.h"

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

#include "platform/qt/user_input.h"
#include "platform/qt/utf8_text.h"

namespace rtceval::qt {
namespace {

using Texts = SetTimeDialog::Texts;

// Widths in digits: the four-digit year and the two-digit fields, each with room to spare for the
// box's frame and margins.
constexpr int kYearBoxDigits = 7;
constexpr int kShortBoxDigits = 5;

QLabel* unitLabel(const char* name, const char* caption, QLineEdit* box, QWidget* parent) {
  auto* label = new QLabel(utf8(caption), parent);
  label->setObjectName(utf8(name));
  label->setAccessibleName(label->text());
  label->setBuddy(box);
  box->setAccessibleName(label->text());
  return label;
}

}  // namespace

SetTimeDialogView::SetTimeDialogView(DialogHost& host, QWidget* owner) : DialogViewOf(host, owner) {
  setObjectName(QStringLiteral("frmTime"));
  setWindowTitle(utf8(Texts::kCaption));

  addField(1, &SetTimeDialog::yearText);
  addField(2, &SetTimeDialog::monthText);
  addField(3, &SetTimeDialog::dateText);
  addField(4, &SetTimeDialog::hourText);
  addField(5, &SetTimeDialog::minuteText);
  addField(6, &SetTimeDialog::secondText);
  addField(7, &SetTimeDialog::weekdayText);
  const auto box = [this](int number) { return fields_[static_cast<std::size_t>(number - 1)].box; };
  const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  box(1)->setFixedWidth(digit * kYearBoxDigits);
  for (int n = 2; n <= 7; ++n) box(n)->setFixedWidth(digit * kShortBoxDigits);

  // Each box is followed by its unit, except the weekday, which follows its word 星期 as it is
  // read.
  auto* fields = new QGridLayout;
  fields->addWidget(box(1), 0, 0);
  fields->addWidget(unitLabel("LabYear", Texts::kYear, box(1), this), 0, 1);
  fields->addWidget(box(2), 0, 2);
  fields->addWidget(unitLabel("LabMonth", Texts::kMonth, box(2), this), 0, 3);
  fields->addWidget(box(3), 0, 4);
  fields->addWidget(unitLabel("LabDate", Texts::kDate, box(3), this), 0, 5);
  fields->addWidget(unitLabel("LabWeekday", Texts::kWeekday, box(7), this), 0, 6);
  fields->addWidget(box(7), 0, 7);
  fields->addWidget(box(4), 1, 0, Qt::AlignRight);
  fields->addWidget(unitLabel("LabHour", Texts::kHour, box(4), this), 1, 1);
  fields->addWidget(box(5), 1, 2);
  fields->addWidget(unitLabel("LabMinute", Texts::kMinute, box(5), this), 1, 3);
  fields->addWidget(box(6), 1, 4);
  fields->addWidget(unitLabel("LabSecond", Texts::kSecond, box(6), this), 1, 5);
  fields->setColumnStretch(8, 1);

  twelveHour_ = new QCheckBox(utf8(Texts::kTwelveHour), this);
  twelveHour_->setObjectName(QStringLiteral("MIL12"));
  am_ = new QRadioButton(utf8(Texts::kAm), this);
  am_->setObjectName(QStringLiteral("OpAM"));
  pm_ = new QRadioButton(utf8(Texts::kPm), this);
  pm_->setObjectName(QStringLiteral("OpPM"));
  auto* options = new QButtonGroup(this);
  options->addButton(am_);
  options->addButton(pm_);
  okButton_ = new QPushButton(utf8(Texts::kOk), this);
  okButton_->setObjectName(QStringLiteral("Command1"));
  okButton_->setDefault(true);
  const std::initializer_list<QAbstractButton*> buttons{twelveHour_, am_, pm_, okButton_};
  for (QAbstractButton* button : buttons) button->setAccessibleName(button->text());

  onUserToggle(twelveHour_, this,
               [this](bool on) { send([on](SetTimeDialog& d) { d.twelveHourClicked(on); }); });
  onUserSelect(am_, this, [this] { send([](SetTimeDialog& d) { d.amClicked(); }); });
  onUserSelect(pm_, this, [this] { send([](SetTimeDialog& d) { d.pmClicked(); }); });
  connect(okButton_, &QPushButton::clicked, this,
          [this] { send([](SetTimeDialog& d) { d.okClicked(); }); });

  // The 12-hour tick above the two options on the left, the OK button to their right.
  auto* format = new QVBoxLayout;
  format->addWidget(twelveHour_);
  format->addWidget(am_);
  format->addWidget(pm_);
  auto* lower = new QHBoxLayout;
  lower->addLayout(format);
  lower->addStretch();
  lower->addWidget(okButton_, 0, Qt::AlignBottom);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addSpacing(fontMetrics().height() / 2);
  layout->addLayout(lower);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SetTimeDialogView::addField(int number, std::string SetTimeDialog::*text) {
  auto* box = new QLineEdit(this);
  box->setObjectName(QStringLiteral("Text%1").arg(number));
  onUserText(box, this, [this, text](const QString& typed) {
    send([text, &typed](SetTimeDialog& d) { d.*text = typed.toStdString(); });
  });
  fields_[static_cast<std::size_t>(number - 1)] = {box, text};
}

void SetTimeDialogView::redraw() {
  const SetTimeDialog* dialog = model();
  if (!dialog) return;
  for (const Field& field : fields_) {
    showText(field.box, QString::fromStdString(dialog->*field.text));
  }
  showChecked(twelveHour_, dialog->twelveHour);
  am_->setEnabled(dialog->meridiemEnabled);
  pm_->setEnabled(dialog->meridiemEnabled);
  showChecked(dialog->pm ? pm_ : am_, true);
}

}  // namespace rtceval::qt
