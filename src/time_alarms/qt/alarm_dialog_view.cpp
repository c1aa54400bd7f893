#include "time_alarms/qt/alarm_dialog_view.h"

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

using Texts = AlarmDialog::Texts;
using Field = AlarmDialog::Field;

// Width of the text boxes in digits: four for the year, with room for the frame and margins.
constexpr int kBoxDigits = 7;

// The units of the six match fields, top to bottom.
constexpr const char* kUnits[AlarmDialog::FieldCount] = {
    Texts::kMonth, Texts::kDate, Texts::kWeekday, Texts::kHour, Texts::kMinute, Texts::kSecond};
constexpr const char* kUnitNames[AlarmDialog::FieldCount] = {"LabMonth", "LabDate",   "LabWeekday",
                                                             "LabHour",  "LabMinute", "LabSecond"};

QLabel* unitLabel(const char* name, const char* caption, QLineEdit* box, QWidget* parent) {
  auto* label = new QLabel(utf8(caption), parent);
  label->setObjectName(utf8(name));
  label->setAccessibleName(label->text());
  label->setBuddy(box);
  box->setAccessibleName(label->text());
  return label;
}

}  // namespace

AlarmDialogView::AlarmDialogView(DialogHost& host, QWidget* owner, const AlarmDialog::Alarm& alarm)
    : DialogViewOf(host, owner) {
  setObjectName(utf8(alarm.formName));
  setWindowTitle(utf8(alarm.caption));
  const int boxWidth = fontMetrics().horizontalAdvance(QLatin1Char('0')) * kBoxDigits;

  auto* fieldGrid = new QGridLayout;
  yearBox_ = new QLineEdit(this);
  yearBox_->setObjectName(QStringLiteral("Text1"));
  yearBox_->setFixedWidth(boxWidth);
  onUserText(yearBox_, this, [this](const QString& typed) {
    send([&typed](AlarmDialog& d) { d.yearText = typed.toStdString(); });
  });
  fieldGrid->addWidget(yearBox_, 0, 1);
  fieldGrid->addWidget(unitLabel("LabYear", Texts::kYear, yearBox_, this), 0, 2);

  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const auto field = static_cast<Field>(i);
    const int number = static_cast<int>(i) + 2;  // Check2/Text2 is the month
    Row& row = rows_[i];
    row.enable = new QCheckBox(utf8(Texts::kEnabled), this);
    row.enable->setObjectName(QStringLiteral("Check%1").arg(number));
    row.enable->setAccessibleName(row.enable->text());
    row.enable->setAccessibleDescription(utf8(kUnits[i]));
    row.box = new QLineEdit(this);
    row.box->setObjectName(QStringLiteral("Text%1").arg(number));
    row.box->setFixedWidth(boxWidth);
    onUserToggle(row.enable, this, [this, field](bool on) {
      send([field, on](AlarmDialog& d) { d.enableClicked(field, on); });
    });
    onUserText(row.box, this, [this, i](const QString& typed) {
      send([i, &typed](AlarmDialog& d) { d.fields[i].text = typed.toStdString(); });
    });
    fieldGrid->addWidget(row.enable, number - 1, 0);
    fieldGrid->addWidget(row.box, number - 1, 1);
    fieldGrid->addWidget(unitLabel(kUnitNames[i], kUnits[i], row.box, this), number - 1, 2);
  }

  twelveHour_ = new QCheckBox(utf8(Texts::kTwelveHour), this);
  twelveHour_->setObjectName(QStringLiteral("MIL12"));
  am_ = new QRadioButton(utf8(Texts::kAm), this);
  am_->setObjectName(QStringLiteral("OpAM"));
  pm_ = new QRadioButton(utf8(Texts::kPm), this);
  pm_->setObjectName(QStringLiteral("OpPM"));
  auto* options = new QButtonGroup(this);
  options->addButton(am_);
  options->addButton(pm_);
  readButton_ = new QPushButton(utf8(alarm.readCaption), this);
  readButton_->setObjectName(QStringLiteral("Command1"));
  setButton_ = new QPushButton(utf8(alarm.setCaption), this);
  setButton_->setObjectName(QStringLiteral("Command2"));
  // Return in a box neither reads nor sets: both act only when clicked.
  readButton_->setAutoDefault(false);
  setButton_->setAutoDefault(false);
  const std::initializer_list<QAbstractButton*> buttons{twelveHour_, am_, pm_, readButton_,
                                                        setButton_};
  for (QAbstractButton* button : buttons) button->setAccessibleName(button->text());

  onUserToggle(twelveHour_, this,
               [this](bool on) { send([on](AlarmDialog& d) { d.twelveHourClicked(on); }); });
  onUserSelect(am_, this, [this] { send([](AlarmDialog& d) { d.amClicked(); }); });
  onUserSelect(pm_, this, [this] { send([](AlarmDialog& d) { d.pmClicked(); }); });
  connect(readButton_, &QPushButton::clicked, this,
          [this] { send([](AlarmDialog& d) { d.readClicked(); }); });
  connect(setButton_, &QPushButton::clicked, this,
          [this] { send([](AlarmDialog& d) { d.setClicked(); }); });

  auto* side = new QVBoxLayout;
  side->addWidget(twelveHour_);
  side->addWidget(am_);
  side->addWidget(pm_);
  side->addStretch();
  side->addWidget(readButton_);
  side->addWidget(setButton_);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(fieldGrid);
  layout->addSpacing(fontMetrics().height());
  layout->addLayout(side);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AlarmDialogView::redraw() {
  const AlarmDialog* dialog = model();
  if (!dialog) return;
  showText(yearBox_, QString::fromStdString(dialog->yearText));
  yearBox_->setEnabled(dialog->yearEnabled);
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const AlarmDialog::MatchField& field = dialog->fields[i];
    showChecked(rows_[i].enable, field.enabled);
    showText(rows_[i].box, QString::fromStdString(field.text));
    rows_[i].box->setEnabled(field.enabled);
  }
  showChecked(twelveHour_, dialog->twelveHour);
  twelveHour_->setEnabled(dialog->twelveHourEnabled);
  am_->setEnabled(dialog->meridiemEnabled);
  pm_->setEnabled(dialog->meridiemEnabled);
  showChecked(dialog->pm ? pm_ : am_, true);
}

}  // namespace rtceval::qt
