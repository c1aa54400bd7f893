#include "connection/qt/connect_dialog_view.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/qt/user_input.h"

namespace rtceval::qt {
namespace {
using Texts = ConnectDialog::Texts;
// Wide enough that fifty steps of progress can be told apart.
constexpr int kProgressMinWidth = 200;
}  // namespace

ConnectDialogView::ConnectDialogView(DialogHost& host, QWidget* owner) : DialogViewOf(host, owner) {
  setObjectName(QStringLiteral("frmComm"));
  setWindowTitle(QString::fromUtf8(Texts::kCaption));

  auto* frame = new QGroupBox(QString::fromUtf8(Texts::kFrame), this);
  frame->setObjectName(QStringLiteral("Frame1"));
  auto* grid = new QGridLayout(frame);
  group_ = new QButtonGroup(this);
  const ConnectDialog* dialog = model();
  for (int n = kFirstPort; n <= kLastPort; ++n) {
    auto* option = new QRadioButton(
        QString::fromUtf8(Texts::kOptions[static_cast<std::size_t>(n - 1)]), frame);
    option->setObjectName(QStringLiteral("Option%1").arg(n));
    option->setAccessibleName(option->text());
    // Beside each port the device behind it, so the right one can be picked without guessing.
    const QString facts = dialog ? QString::fromStdString(dialog->portFacts(n)) : QString();
    option->setToolTip(facts);
    auto* device = new QLabel(facts.isEmpty() ? QStringLiteral("-") : facts, frame);
    device->setObjectName(QStringLiteral("PortDevice%1").arg(n));
    device->setToolTip(facts);
    device->setTextInteractionFlags(Qt::TextSelectableByMouse);
    device->setEnabled(!facts.isEmpty());
    group_->addButton(option, n);
    grid->addWidget(option, n - 1, 0);
    grid->addWidget(device, n - 1, 1);
    onUserSelect(option, this, [this, n] { send([n](ConnectDialog& d) { d.portClicked(n); }); });
    options_[static_cast<std::size_t>(n - 1)] = option;
  }

  connectButton_ = new QPushButton(QString::fromUtf8(Texts::kConnect), this);
  connectButton_->setObjectName(QStringLiteral("Command1"));
  connectButton_->setAccessibleName(connectButton_->text());
  connectButton_->setDefault(true);
  connect(connectButton_, &QPushButton::clicked, this,
          [this] { send([](ConnectDialog& d) { d.connectClicked(); }); });

  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("ProgressBar1"));
  progress_->setTextVisible(false);
  progress_->setMinimumWidth(kProgressMinWidth);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("LabelStatus"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addWidget(connectButton_);
  layout->addWidget(progress_);
  layout->addWidget(status_);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ConnectDialogView::redraw() {
  const ConnectDialog* dialog = model();
  if (!dialog) return;
  const int selected = dialog->selectedPort();
  if (selected == 0) {
    // An exclusive group cannot clear its last tick by itself.
    group_->setExclusive(false);
    for (QRadioButton* option : options_) showChecked(option, false);
    group_->setExclusive(true);
  } else {
    showChecked(options_[static_cast<std::size_t>(selected - 1)], true);
  }
  progress_->setRange(0, dialog->progressMax());
  progress_->setValue(dialog->progress());
  status_->setText(QString::fromStdString(dialog->status()));
  status_->setVisible(!dialog->status().empty());
}

}  // namespace rtceval::qt
