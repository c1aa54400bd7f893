#include "connection/qt/connection_views.h"

#include "connection/qt/connect_dialog_view.h"

namespace rtceval::qt {

std::span<const DialogViewRow> connectionDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      viewRow<ConnectDialogView>(),
  };
  return kRows;
}

}  // namespace rtceval::qt
