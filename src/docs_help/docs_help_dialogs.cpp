#include "docs_help/docs_help_dialogs.h"

#include "dialogs/sub_form_ids.h"
#include "docs_help/about_dialog.h"
#include "docs_help/text_viewer.h"

namespace rtceval {

std::span<const DialogRow> docsHelpDialogs() {
  static constexpr DialogRow kRows[] = {
      {sub_form::frmUM, &makeDialog<UserManualViewer>},
      {sub_form::frmIICS, &makeDialog<IicSourceViewer>},
      {sub_form::frmAN, &makeDialog<NotesListViewer>},
      {sub_form::frmAbout, &makeDialog<AboutDialog>},
  };
  return kRows;
}

}  // namespace rtceval
