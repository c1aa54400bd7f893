#include "platform/qt/connect_dialog_view.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "board_link/board_link.h"
#include "main_window/main_window.h"
#include "platform/serial_port.h"

namespace rtceval::qt {
namespace {
using Texts = ConnectDialog::Texts;
constexpr int OPTION_COLUMNS = 2;
// Wide enough that fifty steps of progress can be told apart.
constexpr int PROGRESS_MIN_WIDTH = 200;
}  // namespace

ConnectDialogView::ConnectDialogView(MainWindow& model, QWidget* owner)
    : SubFormView(model, owner) {
  setObjectName(QStringLiteral("frmComm"));
  setWindowTitle(QString::fromUtf8(Texts::Caption));

  auto* frame = new QGroupBox(QString::fromUtf8(Texts::Frame), this);
  frame->setObjectName(QStringLiteral("Frame1"));
  auto* grid = new QGridLayout(frame);
  group_ = new QButtonGroup(this);
  const SerialPort& port = model_.link().port();
  for (int n = 1; n <= ConnectDialog::PORT_COUNT; ++n) {
    auto* option = new QRadioButton(QString::fromUtf8(Texts::Options[n - 1]), frame);
    option->setObjectName(QStringLiteral("Option%1").arg(n));
    option->setAccessibleName(option->text());
    option->setToolTip(QString::fromStdString(port.deviceName(n)));
    group_->addButton(option, n);
    grid->addWidget(option, (n - 1) / OPTION_COLUMNS, (n - 1) % OPTION_COLUMNS);
    connect(option, &QRadioButton::clicked, this, [this, n] {
      if (!detached()) model_.Comm_Option_Click(n);
    });
    options_[static_cast<std::size_t>(n - 1)] = option;
  }

  command1_ = new QPushButton(QString::fromUtf8(Texts::Command1), this);
  command1_->setObjectName(QStringLiteral("Command1"));
  command1_->setAccessibleName(command1_->text());
  command1_->setDefault(true);
  connect(command1_, &QPushButton::clicked, this, [this] {
    if (!detached()) model_.Comm_Command1_Click();
  });

  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("ProgressBar1"));
  progress_->setTextVisible(false);
  progress_->setMinimumWidth(PROGRESS_MIN_WIDTH);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addWidget(command1_);
  layout->addWidget(progress_);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ConnectDialogView::redraw() {
  const ConnectDialog* dialog = detached() ? nullptr : model_.connectDialog();
  if (!dialog) return;
  const int selected = dialog->selectedPort();
  if (selected == 0) {
    // An exclusive group cannot clear its last tick by itself.
    group_->setExclusive(false);
    for (QRadioButton* option : options_) option->setChecked(false);
    group_->setExclusive(true);
  } else {
    options_[static_cast<std::size_t>(selected - 1)]->setChecked(true);
  }
  progress_->setRange(0, dialog->ProgressBar1Max());
  progress_->setValue(dialog->ProgressBar1Value());
}

}  // namespace rtceval::qt
