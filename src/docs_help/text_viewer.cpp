#include "docs_help/text_viewer.h"

#include <optional>

#include "dialogs/dialog_context.h"
#include "platform/desktop.h"

namespace rtceval {

TextViewer::TextViewer(DialogContext& context, const char* file, const char* caption)
    : launcher_(context.desktop, context.messageBoxes), file_(file), caption_(caption) {}

void TextViewer::Form_Load() {
  // The main window opened the viewer because the file was there; should it have gone since,
  // the window stays empty rather than asking again.
  text_.clear();
  if (const std::optional<std::string> path = launcher_.find(file_)) {
    if (FileRead read = launcher_.desktop().readFile(*path, kMaxTextBytes); read.text)
      text_ = std::move(*read.text);
  }
}

UserManualViewer::UserManualViewer(DialogContext& context) : TextViewer(context, kFile, kCaption) {}

IicSourceViewer::IicSourceViewer(DialogContext& context) : TextViewer(context, kFile, kCaption) {}

NotesListViewer::NotesListViewer(DialogContext& context) : TextViewer(context, kFile, kCaption) {}

}  // namespace rtceval
