#include "register_editors/qt/register_editor_views.h"

namespace rtceval::qt {

std::span<const DialogViewRow> registerEditorDialogViews() {
  // None of this folder's dialogs is built yet.
  return {};
}

}  // namespace rtceval::qt
