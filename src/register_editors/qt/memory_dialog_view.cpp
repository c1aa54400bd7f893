#include "register_editors/qt/memory_dialog_view.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/user_input.h"
#include "platform/qt/utf8_text.h"
#include "register_editors/qt/label_lines.h"

namespace rtceval::qt {
namespace {

using Texts = MemoryDialog::Texts;

// Widths in characters: the explanation, and the boxes (four hexadecimal digits with room for
// the frame).
constexpr int kTextWidthChars = 24;
constexpr int kBoxDigits = 7;

}  // namespace

MemoryDialogView::MemoryDialogView(DialogHost& host, QWidget* owner) : DialogViewOf(host, owner) {
  setObjectName(QStringLiteral("frmMem"));
  setWindowTitle(utf8(Texts::kCaption));

  const int boxWidth = fontMetrics().horizontalAdvance(QLatin1Char('0')) * kBoxDigits;
  const auto hexBox = [this, boxWidth](const char* name, const char* caption,
                                       std::string MemoryDialog::*text) {
    auto* box = new QLineEdit(this);
    box->setObjectName(utf8(name));
    box->setFixedWidth(boxWidth);
    box->setAccessibleName(utf8(caption));
    onUserText(box, this, [this, text](const QString& typed) {
      send([text, &typed](MemoryDialog& d) { d.*text = typed.toStdString(); });
    });
    return box;
  };
  addressBox_ = hexBox("Text1", Texts::kAddress, &MemoryDialog::addressText);
  dataBox_ = hexBox("Text2", Texts::kData, &MemoryDialog::dataText);
  const auto label = [this](const char* name, const char* caption, QLineEdit* box) {
    auto* l = new QLabel(utf8(caption), this);
    l->setObjectName(utf8(name));
    l->setBuddy(box);
    return l;
  };

  const auto button = [this](const char* name, const char* caption) {
    auto* b = new QPushButton(utf8(caption), this);
    b->setObjectName(utf8(name));
    b->setAccessibleName(b->text());
    return b;
  };
  readButton_ = button("Command1", Texts::kRead);
  writeButton_ = button("Command2", Texts::kWrite);
  connect(readButton_, &QPushButton::clicked, this,
          [this] { send([](MemoryDialog& d) { d.readClicked(); }); });
  connect(writeButton_, &QPushButton::clicked, this,
          [this] { send([](MemoryDialog& d) { d.writeClicked(); }); });

  auto* fields = new QGridLayout;
  fields->addWidget(label("LabAddress", Texts::kAddress, addressBox_), 0, 0);
  fields->addWidget(addressBox_, 0, 1);
  fields->addWidget(readButton_, 0, 3);
  fields->addWidget(label("LabData", Texts::kData, dataBox_), 1, 0);
  fields->addWidget(dataBox_, 1, 1);
  fields->addWidget(writeButton_, 1, 3);
  fields->setColumnStretch(2, 1);

  auto* explanation = new QLabel(blankRunsAsLines(Texts::explanation()), this);
  explanation->setObjectName(QStringLiteral("LabExplanation"));
  explanation->setWordWrap(true);
  explanation->setFixedWidth(fontMetrics().horizontalAdvance(QChar(0x4E2D)) * kTextWidthChars);
  explanation->setAccessibleName(explanation->text());

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(explanation);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void MemoryDialogView::redraw() {
  const MemoryDialog* dialog = model();
  if (!dialog) return;
  showText(addressBox_, QString::fromStdString(dialog->addressText));
  showText(dataBox_, QString::fromStdString(dialog->dataText));
}

}  // namespace rtceval::qt
