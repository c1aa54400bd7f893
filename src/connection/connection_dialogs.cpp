#include "connection/connection_dialogs.h"

#include "connection/connect_dialog.h"
#include "dialogs/sub_form_ids.h"

namespace rtceval {

std::span<const DialogRow> connectionDialogs() {
  static constexpr DialogRow kRows[] = {
      {sub_form::frmComm, &makeDialog<ConnectDialog>},
  };
  return kRows;
}

}  // namespace rtceval
