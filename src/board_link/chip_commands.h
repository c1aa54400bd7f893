#pragma once

#include <optional>

#include "board_link/requests.h"
#include "core/device_profile.h"
#include "core/register_image.h"
#include "core/time_record.h"

namespace rtceval {

class BoardLink;
struct DeviceProfile;

// The request commands of the main window. Each fills the request, sends it, arms the response
// time-out, records the request kind and shows a progress text; one that does not exist for the
// selected model returns before the first step and changes nothing.
class ChipCommands {
 public:
  ChipCommands(BoardLink& link, const DeviceProfile& profile, RegisterImage& registers,
               TimeAlarmRecords& records);

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
  // The values write jobs send, as the image and the records hold them now.
  struct Values {
    RegisterImage registers;
    TimeAlarmRecords records;
  };
  Values values() const { return {registers_, records_}; }
  // A write that waited goes out with the values it was handed over with: the job's register or
  // record takes them again (another sequence of writes may have changed it meanwhile), then its
  // request is sent.
  void run(WriteJob job, const Values& values);

 private:
  void send(const std::optional<Request>& request);
  Layout layout() const;

  BoardLink& link_;
  const DeviceProfile& profile_;
  RegisterImage& registers_;
  TimeAlarmRecords& records_;
};

}  // namespace rtceval
