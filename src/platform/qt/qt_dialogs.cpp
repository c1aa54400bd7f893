#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace rtceval::qt {
namespace {

// An empty title stands for the platform's default caption: the program's name.
QString captionOf(const std::string& title) {
  return title.empty() ? QGuiApplication::applicationDisplayName() : QString::fromStdString(title);
}

}  // namespace

void QtDialogs::message(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::NoIcon, captionOf(title), QString::fromStdString(text),
                  QMessageBox::Ok, parent_);
  box.exec();
}

bool QtDialogs::askYesNo(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::Question, captionOf(title), QString::fromStdString(text),
                  QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void QtDialogs::beep() {
  QApplication::beep();
}

}  // namespace rtceval::qt
