#include "register_editors/qt/bit_field_dialog_view.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/user_input.h"
#include "platform/qt/utf8_text.h"

namespace rtceval::qt {
namespace {

// The explanatory texts wrap at about this many Chinese characters.
constexpr int kNoteWidthInCharacters = 24;

QLabel* textLabel(const char* text, const QString& name, QWidget* parent) {
  auto* label = new QLabel(utf8(text), parent);
  label->setObjectName(name);
  label->setAccessibleName(label->text());
  return label;
}

QFrame* rule(QFrame::Shape shape, QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(shape);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

BitFieldDialogView::BitFieldDialogView(DialogHost& host, QWidget* owner, const BitFieldForm& form)
    : DialogViewOf(host, owner) {
  setObjectName(utf8(form.formName));
  setWindowTitle(utf8(form.caption));

  auto* grid = new QGridLayout;
  for (std::size_t i = 0; i < form.boxes.size(); ++i) {
    auto* box = new QCheckBox(utf8(form.boxes[i].caption), this);
    box->setObjectName(utf8(form.boxes[i].name));
    box->setAccessibleName(box->text());
    onUserToggle(box, this,
                 [this, i](bool on) { send([i, on](BitFieldDialog& d) { d.boxClicked(i, on); }); });
    grid->addWidget(box, static_cast<int>(i), 0, Qt::AlignLeft | Qt::AlignTop);
    boxes_.push_back(box);
  }
  const int noteWidth = fontMetrics().horizontalAdvance(QChar(0x4E2D)) * kNoteWidthInCharacters;
  for (std::size_t n = 0; n < form.notes.size(); ++n) {
    const BitNote& note = form.notes[n];
    QLabel* label = textLabel(note.text, QStringLiteral("Label%1").arg(n + 1), this);
    label->setWordWrap(true);
    label->setFixedWidth(noteWidth);
    grid->addWidget(label, note.firstBox, 1, note.boxCount, 1, Qt::AlignTop);
  }
  grid->setColumnStretch(1, 1);

  auto* okButton = new QPushButton(utf8(BitFieldDialog::kOk), this);
  okButton->setObjectName(QStringLiteral("Command1"));
  okButton->setAccessibleName(okButton->text());
  okButton->setDefault(true);
  connect(okButton, &QPushButton::clicked, this,
          [this] { send([](BitFieldDialog& d) { d.okClicked(); }); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton);

  body_ = new QVBoxLayout;
  body_->addLayout(grid);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void BitFieldDialogView::redraw() {
  const BitFieldDialog* dialog = model();
  if (!dialog) return;
  for (std::size_t i = 0; i < boxes_.size() && i < dialog->boxes.size(); ++i) {
    boxes_[i]->setEnabled(dialog->boxes[i].enabled);
    showChecked(boxes_[i], dialog->boxes[i].ticked);
  }
}

BlockProtectDialogView::BlockProtectDialogView(DialogHost& host, QWidget* owner)
    : BitFieldDialogView(host, owner, BlockProtectDialog::kForm) {
  using Dialog = BlockProtectDialog;
  // Columns 0, 2 and 4 hold the cells; a line stands in columns 1 and 3 and under the header.
  auto* table = new QGridLayout;
  const auto cell = [this, table](const char* text, int row, int column) {
    QLabel* label =
        textLabel(text, QStringLiteral("LabTable_%1_%2").arg(row).arg(column / 2), this);
    table->addWidget(label, row, column, Qt::AlignCenter);
  };
  for (std::size_t c = 0; c < Dialog::kTableHeader.size(); ++c)
    cell(Dialog::kTableHeader[c], 0, 2 * static_cast<int>(c));
  table->addWidget(rule(QFrame::HLine, this), 1, 0, 1, 5);
  const int rows = static_cast<int>(Dialog::kTable.size());
  for (int r = 0; r < rows; ++r) {
    const Dialog::ProtectRow& row = Dialog::kTable[static_cast<std::size_t>(r)];
    cell(row.bits, r + 2, 0);
    cell(row.range, r + 2, 2);
    cell(row.extent, r + 2, 4);
  }
  table->addWidget(rule(QFrame::VLine, this), 0, 1, rows + 2, 1);
  table->addWidget(rule(QFrame::VLine, this), 0, 3, rows + 2, 1);
  body()->addLayout(table);
}

}  // namespace rtceval::qt
