#include "register_editors/register_editor_dialogs.h"

namespace rtceval {

// None of this folder's dialogs is built yet; their menu items open nothing.
std::span<const DialogRow> registerEditorDialogs() {
  return {};
}

}  // namespace rtceval
