#pragma once

#include "dialogs/qt/dialog_view.h"
#include "docs_help/text_viewer.h"

class QPlainTextEdit;

namespace rtceval::qt {

// Draws a help text viewer: one read-only text box, RichTextBox1, filling the window. The text
// is plain and is shown as plain text; it can be selected and copied.
class TextViewerView : public DialogViewOf<TextViewer> {
 public:
  TextViewerView(DialogHost& host, QWidget* owner, const char* formName);

  void redraw() override;

 private:
  QPlainTextEdit* textBox_ = nullptr;
  bool shown_ = false;
};

// The views of frmUM, frmIICS and frmAN.
class UserManualView : public TextViewerView {
 public:
  using ModelType = UserManualViewer;
  UserManualView(DialogHost& host, QWidget* owner) : TextViewerView(host, owner, "frmUM") {}
};
class IicSourceView : public TextViewerView {
 public:
  using ModelType = IicSourceViewer;
  IicSourceView(DialogHost& host, QWidget* owner) : TextViewerView(host, owner, "frmIICS") {}
};
class NotesListView : public TextViewerView {
 public:
  using ModelType = NotesListViewer;
  NotesListView(DialogHost& host, QWidget* owner) : TextViewerView(host, owner, "frmAN") {}
};

}  // namespace rtceval::qt
