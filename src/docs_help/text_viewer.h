#pragma once

#include <cstddef>
#include <string>

#include "dialogs/dialog_model.h"
#include "docs_help/document_launcher.h"

namespace rtceval {

struct DialogContext;

// A read-only window showing one help text (RichTextBox1), read once when the window loads.
// The files are plain text and are shown as plain text; a file that is not a regular file or is
// longer than `kMaxTextBytes` is not read, and the window stays empty.
class TextViewer : public DialogModel {
 public:
  static constexpr std::size_t kMaxTextBytes = 4 << 20;

  void Form_Load() override;

  const char* caption() const { return caption_; }
  const std::string& text() const { return text_; }

  // The help file the viewer shows.
  const char* file() const { return file_; }

 protected:
  TextViewer(DialogContext& context, const char* file, const char* caption);

 private:
  DocumentLauncher launcher_;
  const char* file_;
  const char* caption_;
  std::string text_;
};

// frmUM: the user manual, UM.txt.
class UserManualViewer : public TextViewer {
 public:
  static constexpr const char* kCaption = "使用说明";
  static constexpr const char* kFile = DocumentLauncher::kUserManual;
  explicit UserManualViewer(DialogContext& context);
};

// frmIICS: the listing of the I2C routine, IIC.txt.
class IicSourceViewer : public TextViewer {
 public:
  static constexpr const char* kCaption = "IIC源程序";
  static constexpr const char* kFile = DocumentLauncher::kIicSource;
  explicit IicSourceViewer(DialogContext& context);
};

// frmAN: the list of application notes, AN.txt.
class NotesListViewer : public TextViewer {
 public:
  static constexpr const char* kCaption = "应用笔记";
  static constexpr const char* kFile = DocumentLauncher::kNotesList;
  explicit NotesListViewer(DialogContext& context);
};

}  // namespace rtceval
