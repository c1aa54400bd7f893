#include "connection/connection_dialogs.h"

#include "connection/connect_dialog.h"
#include "dialogs/sub_form_ids.h"

namespace rtceval {

std::span<const DialogRow> ConnectionDialogs() {
  static constexpr DialogRow kRows[] = {
      {SubForm::frmComm, &makeDialog<ConnectDialog>},
  };
  return kRows;
}

}  // namespace rtceval
