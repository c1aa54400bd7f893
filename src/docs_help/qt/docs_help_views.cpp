#include "docs_help/qt/docs_help_views.h"

namespace rtceval::qt {

std::span<const DialogViewRow> DocsHelpDialogViews() {
  // None of this folder's dialogs is built yet.
  return {};
}

}  // namespace rtceval::qt
