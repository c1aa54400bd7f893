#pragma once

#include "cli/chip_values.h"

namespace rtceval::cli {

class Session;

// Reads the chip's clock into the session's chip reads; the exit status.
int readClock(Session& session);
// The clock as a result: text and JSON fields.
void printClock(Session& session, const char* what);
// time sync: sets the chip to the PC's time so that its second starts with the PC's, then
// measures and reports the offset.
int syncClock(Session& session);

}  // namespace rtceval::cli
