#include "platform/qt/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>

namespace rtceval::qt {
namespace {

// An empty title stands for the platform's default caption: the program's name.
QString captionOf(const std::string& title) {
  return title.empty() ? QGuiApplication::applicationDisplayName() : QString::fromStdString(title);
}

}  // namespace

QWidget* QtMessageBoxes::owner() const {
  if (QWidget* active = QApplication::activeWindow()) return active;
  return parent_;
}

int QtMessageBoxes::run(QMessageBox* box, int escapeCode) {
  // The box lives on the heap: the window it stands over may close while it is open (a dialog
  // the chip model no longer offers), and takes the box with it.
  const QPointer<QMessageBox> guard(box);
  open_.push_back({guard, escapeCode});
  const int answer = box->exec();
  open_.pop_back();
  if (!guard) return escapeCode;
  delete box;
  return answer;
}

void QtMessageBoxes::message(const std::string& text, const std::string& title) {
  if (ending_) return;
  run(new QMessageBox(QMessageBox::NoIcon, captionOf(title), QString::fromStdString(text),
                      QMessageBox::Ok, owner()),
      QMessageBox::Ok);
}

bool QtMessageBoxes::askYesNo(const std::string& text, const std::string& title) {
  if (ending_) return false;
  auto* box = new QMessageBox(QMessageBox::Question, captionOf(title), QString::fromStdString(text),
                              QMessageBox::Yes | QMessageBox::No, owner());
  box->setDefaultButton(QMessageBox::Yes);
  return run(box, QMessageBox::No) == QMessageBox::Yes;
}

void QtMessageBoxes::beep() {
  QApplication::beep();
}

void QtMessageBoxes::dismissAll() {
  ending_ = true;
  // Each box's exec() returns once the boxes opened inside it have returned.
  for (auto it = open_.rbegin(); it != open_.rend(); ++it)
    if (it->box) it->box->done(it->escapeCode);
}

}  // namespace rtceval::qt
