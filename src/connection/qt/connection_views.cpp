#include "connection/qt/connection_views.h"

#include "connection/qt/connect_dialog_view.h"
#include "dialogs/sub_form_ids.h"

namespace rtceval::qt {

std::span<const DialogViewRow> ConnectionDialogViews() {
  static constexpr DialogViewRow kRows[] = {
      {SubForm::frmComm, &makeView<ConnectDialogView>},
  };
  return kRows;
}

}  // namespace rtceval::qt
