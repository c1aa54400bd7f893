#include "connection/connection_dialogs.h"

#include "connection/connect_dialog.h"

namespace rtceval {

std::span<const DialogRow> connectionDialogs() {
  static constexpr DialogRow kRows[] = {
      {.number = sub_form::frmComm,
       .form = "frmComm",
       .menu = WindowMenu::Command,
       .place = 0,
       .item = "CONNECT",
       .caption = "手动连接",
       .make = &makeDialog<ConnectDialog>},
  };
  return kRows;
}

}  // namespace rtceval
