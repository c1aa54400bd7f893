#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/chip_reads.h"
#include "core/cmd_state.h"
#include "core/register_image.h"
#include "core/time_record.h"

namespace rtceval {

struct DeviceProfile;

// What replies write into: the register image, the alarm records and the other values read.
struct ReplyModels {
  RegisterImage& registers;
  TimeAlarmRecords& records;
  ChipReads& reads;
};

// What a reply did besides writing into the models.
struct ReplyOutcome {
  // Texts for the link panel in the order they are written; the last one stays.
  std::vector<std::string> texts;
  bool beep = false;
  // The reply passed the frame checks and the request kind has a rule (a probe, a read, ...).
  bool interpreted = false;
  // The reply was the kind the request waits for, and its data went into the models.
  bool accepted = false;
};

// Interprets a complete, checksummed reply frame under the request code of this moment: checks
// lead and flag bytes, reports a board status code, then applies the rule for the request kind.
// `portNo` is the port the board answered on, for the connected text.
ReplyOutcome ParseReply(std::span<const std::uint8_t> frame, CmdStateCode request,
                        const DeviceProfile& profile, int portNo, ReplyModels& models);

}  // namespace rtceval
