#include "docs_help/docs_help_dialogs.h"

#include "docs_help/about_dialog.h"
#include "docs_help/text_viewer.h"

namespace rtceval {

std::span<const DialogRow> docsHelpDialogs() {
  // A help text's viewer opens only when its file is found.
  static constexpr DialogRow kRows[] = {
      {.number = 14,
       .form = "frmUM",
       .menu = WindowMenu::Help,
       .place = 0,
       .item = "UM",
       .caption = UserManualViewer::kCaption,
       .needsFile = UserManualViewer::kFile,
       .make = &makeDialog<UserManualViewer>},
      {.number = 15,
       .form = "frmIICS",
       .menu = WindowMenu::Help,
       .place = 1,
       .item = "IICS",
       .caption = IicSourceViewer::kCaption,
       .needsFile = IicSourceViewer::kFile,
       .make = &makeDialog<IicSourceViewer>},
      {.number = 16,
       .form = "frmAN",
       .menu = WindowMenu::Help,
       .place = 2,
       .item = "AN",
       .caption = NotesListViewer::kCaption,
       .needsFile = NotesListViewer::kFile,
       .make = &makeDialog<NotesListViewer>},
      {.number = 17,
       .form = "frmAbout",
       .menu = WindowMenu::Help,
       .place = 3,
       .item = "MABOUT",
       .caption = "关于",
       .make = &makeDialog<AboutDialog>},
  };
  return kRows;
}

}  // namespace rtceval
