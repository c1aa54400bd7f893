#pragma once

#include <optional>

#include "board_link/requests.h"
#include "core/device_profile.h"

namespace rtceval {

class BoardLink;
struct DeviceProfile;
struct RegisterImage;
struct TimeAlarmRecords;

// The request commands of the main window. Each fills the request, sends it, arms the response
// time-out, records the request kind and shows a progress text; one that does not exist for the
// selected model returns before the first step and changes nothing.
class ChipCommands {
 public:
  ChipCommands(BoardLink& link, const DeviceProfile& profile, const RegisterImage& registers,
               const TimeAlarmRecords& records);

  void CmdReadTime();
  void CmdGetSR();
  void CmdSetWEL();
  void CmdSetRWEL();
  void CmdWriteTime();
  void CmdWriteAL0();
  void CmdWriteAL1();
  void CmdWriteINT();
  void CmdWriteBL();
  void CmdWriteATR();
  void CmdWriteDTR();
  void CmdWriteEV();

  // Sends the request of a write job (the write sequencer's last step).
  void run(WriteJob job);
  // The request of a write job with the values of this moment, and sending one so built.
  std::optional<Request> build(WriteJob job) const;
  void send(const std::optional<Request>& request);

 private:
  Layout layout() const;

  BoardLink& link_;
  const DeviceProfile& profile_;
  const RegisterImage& registers_;
  const TimeAlarmRecords& records_;
};

}  // namespace rtceval
