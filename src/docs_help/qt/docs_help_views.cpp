#include "docs_help/qt/docs_help_views.h"

#include "dialogs/sub_form_ids.h"
#include "docs_help/qt/about_dialog_view.h"
#include "docs_help/qt/text_viewer_view.h"

namespace rtceval::qt {

std::span<const DialogViewRow> docsHelpDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      {sub_form::frmUM, &makeView<UserManualView>},
      {sub_form::frmIICS, &makeView<IicSourceView>},
      {sub_form::frmAN, &makeView<NotesListView>},
      {sub_form::frmAbout, &makeView<AboutDialogView>},
  };
  return kRows;
}

}  // namespace rtceval::qt
