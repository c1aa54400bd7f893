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

int QtMessageBoxes::run(QMessageBox& box, int escapeCode) {
  open_.push_back({&box, escapeCode});
  const int answer = box.exec();
  open_.pop_back();
  return answer;
}

void QtMessageBoxes::message(const std::string& text, const std::string& title) {
  if (ending_) return;
  QMessageBox box(QMessageBox::NoIcon, captionOf(title), QString::fromStdString(text),
                  QMessageBox::Ok, parent_);
  run(box, QMessageBox::Ok);
}

bool QtMessageBoxes::askYesNo(const std::string& text, const std::string& title) {
  if (ending_) return false;
  QMessageBox box(QMessageBox::Question, captionOf(title), QString::fromStdString(text),
                  QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(QMessageBox::Yes);
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
