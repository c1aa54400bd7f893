#pragma once

#include <functional>

namespace rtceval {

class BoardLink;
class Desktop;
class MessageBoxes;
class PcClock;
class ChipCommands;
class MonotonicClock;
class TimerFactory;
class WriteSequencer;
struct ChipReads;
struct DeviceProfile;
struct RegisterImage;
struct TimeAlarmRecords;

// Everything of the main window a dialog may use. The main window owns all of it for as long as
// the program runs; a dialog keeps references to what it needs.
struct DialogContext {
  BoardLink& link;            // requests that go out at once, the port
  ChipCommands& commands;     // the main window's request commands
  WriteSequencer& sequencer;  // writes that unlock the chip first
  const DeviceProfile& profile;
  RegisterImage& registers;
  TimeAlarmRecords& records;
  const ChipReads& reads;
  MessageBoxes& messageBoxes;   // message boxes; each lets the windows redraw first
  Desktop& desktop;             // files, the desktop's viewers, facts of the system
  TimerFactory& timers;         // timers whose ticks are events of the main window
  const PcClock& pcClock;       // the PC's date and time, and a steady count for intervals
  const MonotonicClock& clock;  // the timers' time base, for when things happened
  std::function<void()> close;  // closes the open dialog, as closing its window would
};

}  // namespace rtceval
