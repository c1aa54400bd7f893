#include "docs_help/text_viewer.h"

#include <optional>

#include "dialogs/dialog_context.h"
#include "dialogs/sub_form_ids.h"
#include "platform/desktop.h"

namespace rtceval {

TextViewer::TextViewer(DialogContext& context, int number, const char* caption)
    : launcher_(context.desktop, context.messageBoxes), number_(number), caption_(caption) {}

const char* TextViewer::fileOf(int subForm) {
  switch (subForm) {
    case sub_form::frmUM:
      return DocumentLauncher::kUserManual;
    case sub_form::frmIICS:
      return DocumentLauncher::kIicSource;
    case sub_form::frmAN:
      return DocumentLauncher::kNotesList;
    default:
      return nullptr;
  }
}

void TextViewer::Form_Load() {
  // The main window opened the viewer because the file was there; should it have gone since,
  // the window stays empty rather than asking again.
  text_.clear();
  if (const std::optional<std::string> path = launcher_.find(fileOf(number_))) {
    if (std::optional<std::string> contents = launcher_.desktop().readText(*path))
      text_ = std::move(*contents);
  }
}

UserManualViewer::UserManualViewer(DialogContext& context)
    : TextViewer(context, sub_form::frmUM, kCaption) {}

IicSourceViewer::IicSourceViewer(DialogContext& context)
    : TextViewer(context, sub_form::frmIICS, kCaption) {}

NotesListViewer::NotesListViewer(DialogContext& context)
    : TextViewer(context, sub_form::frmAN, kCaption) {}

}  // namespace rtceval
