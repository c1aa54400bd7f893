#include "docs_help/docs_help_dialogs.h"

namespace rtceval {

// None of this folder's dialogs is built yet; their menu items open nothing.
std::span<const DialogRow> docsHelpDialogs() {
  return {};
}

}  // namespace rtceval
