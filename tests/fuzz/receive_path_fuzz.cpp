// Feeds arbitrary bytes, in arbitrary splits, to the main window's receive path under every kind
// of pending request and both register layouts, with time passing in between: reassembly, the
// checksum test, the dispatch table and the clock decoding must never read or write out of bounds.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fake_serial_port.h"
#include "main_window/main_window.h"
#include "scripted_dialogs.h"
#include "virtual_clock.h"

using namespace rtceval;
using namespace rtceval::testing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  FakeSerialPort port;
  VirtualClock clock;
  ScriptedDialogs dialogs;
  FixedPcClock pcClock;
  MainWindow window(port, clock, dialogs, pcClock);
  window.Form_Load();
  static constexpr MenuId kModels[] = {MenuId::X1226, MenuId::X1227, MenuId::X1228,
                                       MenuId::X1205, MenuId::X1208, MenuId::X1209};
  window.menuClick(kModels[data[0] % 6]);
  window.autoReadTimeClicked((data[0] & 0x40) != 0);
  window.autoMonitorClicked((data[0] & 0x80) != 0);
  // A request of any kind, as a dialog would send it, so that its reply is read under that kind.
  window.link().request({0x00, 0x6F, 0x00, 0x00, 0x01}, static_cast<CmdStateCode>(data[1]), "");

  // The rest is a sequence of chunks: a length byte, then that many received bytes; a length
  // with the top bit set lets time pass instead.
  std::size_t i = 2;
  while (i < size) {
    const std::uint8_t head = data[i++];
    if (head & 0x80) {
      clock.advance(Millis((head & 0x7F) * 20));
      continue;
    }
    const std::size_t n = std::min<std::size_t>(head, size - i);
    port.receive(std::vector<std::uint8_t>(data + i, data + i + n));
    i += n;
  }
  return 0;
}
