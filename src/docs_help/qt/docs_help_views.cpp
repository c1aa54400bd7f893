#include "docs_help/qt/docs_help_views.h"

namespace rtceval::qt {

std::span<const DialogViewRow> docsHelpDialogViews() {
  // None of this folder's dialogs is built yet.
  return {};
}

}  // namespace rtceval::qt
