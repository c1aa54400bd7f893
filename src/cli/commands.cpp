#include "cli/commands.h"

#include <array>

namespace rtceval::cli {

std::span<const CommandEntry> commandTable() {
  static const std::array<CommandEntry, 9> kTable{{
      {"probe", "Find the board; print the port and the device behind it", &makeProbeCommand},
      {"time", "Read the chip's clock; set it (set), or set it to the PC's time (sync)",
       &makeTimeCommand},
      {"reg", "Read the status and control registers; write one register or bit (set)",
       &makeRegCommand},
      {"alarm", "Read alarm N; set it with only the given fields enabled (set)", &makeAlarmCommand},
      {"eeprom", "Read EEPROM bytes as a hex dump; write and verify them", &makeEepromCommand},
      {"user", "Read or set the two user registers (X1208, X1209)", &makeUserCommand},
      {"snapshot",
       "Save the chip into a snapshot file; compare it with one; restore one (4: differs)",
       &makeSnapshotCommand},
      {"accuracy", "Measure the rate error and advise the trimming; apply it (--apply)",
       &makeAccuracyCommand},
      {"watch", "Print the clock and the alarm/event/battery flags as they change",
       &makeWatchCommand},
  }};
  return kTable;
}

}  // namespace rtceval::cli
