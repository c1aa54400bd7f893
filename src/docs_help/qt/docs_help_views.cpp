#include "docs_help/qt/docs_help_views.h"

#include "docs_help/qt/about_dialog_view.h"
#include "docs_help/qt/text_viewer_view.h"

namespace rtceval::qt {

std::span<const DialogViewRow> docsHelpDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      viewRow<UserManualView>(),
      viewRow<IicSourceView>(),
      viewRow<NotesListView>(),
      viewRow<AboutDialogView>(),
  };
  return kRows;
}

}  // namespace rtceval::qt
