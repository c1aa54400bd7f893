#pragma once

#include <string>

#include "dialogs/dialog_model.h"
#include "docs_help/document_launcher.h"

namespace rtceval {

struct DialogContext;

// A read-only window showing one help text (RichTextBox1), read once when the window loads.
// The files are plain text and are shown as plain text.
class TextViewer : public DialogModel {
 public:
  int number() const override { return number_; }
  void Form_Load() override;

  const char* caption() const { return caption_; }
  const std::string& text() const { return text_; }

  // The help file a viewer sub-form shows, or nullptr for any other sub-form.
  static const char* fileOf(int subForm);

 protected:
  TextViewer(DialogContext& context, int number, const char* caption);

 private:
  DocumentLauncher launcher_;
  int number_;
  const char* caption_;
  std::string text_;
};

// frmUM: the user manual, UM.txt.
class UserManualViewer : public TextViewer {
 public:
  static constexpr const char* kCaption = "使用说明";
  explicit UserManualViewer(DialogContext& context);
};

// frmIICS: the listing of the I2C routine, IIC.txt.
class IicSourceViewer : public TextViewer {
 public:
  static constexpr const char* kCaption = "IIC源程序";
  explicit IicSourceViewer(DialogContext& context);
};

// frmAN: the list of application notes, AN.txt.
class NotesListViewer : public TextViewer {
 public:
  static constexpr const char* kCaption = "应用笔记";
  explicit NotesListViewer(DialogContext& context);
};

}  // namespace rtceval
