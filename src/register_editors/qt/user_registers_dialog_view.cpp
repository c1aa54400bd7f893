#include "register_editors/qt/user_registers_dialog_view.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/user_input.h"
#include "platform/qt/utf8_text.h"

namespace rtceval::qt {
namespace {

using Texts = UserRegistersDialog::Texts;

constexpr int kTextWidthChars = 20;
constexpr int kBoxDigits = 6;

}  // namespace

UserRegistersDialogView::UserRegistersDialogView(DialogHost& host, QWidget* owner)
    : DialogViewOf(host, owner) {
  setObjectName(QStringLiteral("frmUR"));
  setWindowTitle(utf8(Texts::kCaption));

  // Each register's label above its box.
  auto* registers = new QGridLayout;
  const int boxWidth = fontMetrics().horizontalAdvance(QLatin1Char('0')) * kBoxDigits;
  for (std::size_t i = 0; i < registerBoxes_.size(); ++i) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QStringLiteral("Text%1").arg(i + 1));
    box->setFixedWidth(boxWidth);
    auto* label = new QLabel(utf8(Texts::kRegisters[i]), this);
    label->setObjectName(QStringLiteral("LabRegister%1").arg(i + 1));
    label->setBuddy(box);
    box->setAccessibleName(label->text());
    onUserText(box, this, [this, i](const QString& typed) {
      send([i, &typed](UserRegistersDialog& d) { d.registerTexts[i] = typed.toStdString(); });
    });
    const int column = static_cast<int>(i);
    registers->addWidget(label, 0, column);
    registers->addWidget(box, 1, column);
    registerBoxes_[i] = box;
  }

  const auto button = [this](const char* name, const char* caption) {
    auto* b = new QPushButton(utf8(caption), this);
    b->setObjectName(utf8(name));
    b->setAccessibleName(b->text());
    return b;
  };
  readButton_ = button("Command1", Texts::kRead);
  writeButton_ = button("Command2", Texts::kWrite);
  connect(readButton_, &QPushButton::clicked, this,
          [this] { send([](UserRegistersDialog& d) { d.readClicked(); }); });
  connect(writeButton_, &QPushButton::clicked, this,
          [this] { send([](UserRegistersDialog& d) { d.writeClicked(); }); });
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(readButton_);
  buttons->addWidget(writeButton_);

  auto* upper = new QHBoxLayout;
  upper->addLayout(registers);
  upper->addStretch();
  upper->addLayout(buttons);

  auto* explanation = new QLabel(utf8(Texts::kExplanation), this);
  explanation->setObjectName(QStringLiteral("LabExplanation"));
  explanation->setWordWrap(true);
  explanation->setFixedWidth(fontMetrics().horizontalAdvance(QChar(0x4E2D)) * kTextWidthChars);
  explanation->setAccessibleName(explanation->text());

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(upper);
  layout->addWidget(explanation);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void UserRegistersDialogView::redraw() {
  const UserRegistersDialog* dialog = model();
  if (!dialog) return;
  for (std::size_t i = 0; i < registerBoxes_.size(); ++i)
    showText(registerBoxes_[i], QString::fromStdString(dialog->registerTexts[i]));
}

}  // namespace rtceval::qt
