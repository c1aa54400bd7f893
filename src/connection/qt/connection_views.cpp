#include "connection/qt/connection_views.h"

#include "connection/qt/connect_dialog_view.h"
#include "dialogs/sub_form_ids.h"

namespace rtceval::qt {

std::span<const DialogViewRow> connectionDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      {sub_form::frmComm, &makeView<ConnectDialogView>},
  };
  return kRows;
}

}  // namespace rtceval::qt
