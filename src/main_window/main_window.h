#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "board_link/board_link.h"
#include "board_link/chip_commands.h"
#include "board_link/port_search.h"
#include "board_link/reconnect.h"
#include "board_link/write_sequencer.h"
#include "core/chip_reads.h"
#include "core/device_profile.h"
#include "core/register_image.h"
#include "core/time_record.h"
#include "dialogs/dialog_host.h"
#include "dialogs/window_events.h"
#include "docs_help/document_launcher.h"
#include "main_window/flag_announcements.h"
#include "main_window/main_window_controls.h"
#include "platform/timer.h"

namespace rtceval {

class Desktop;
class MessageBoxes;
class PcClock;
class SerialPort;

// The main window Main: owner of the link, the timers, the module state and the dialog that is
// open. Its controls are plain data that a view draws; the view forwards the user's events to the
// handlers below and redraws whenever an event has ended.
class MainWindow {
 public:
  // `clock` is the time base of `timers`.
  MainWindow(SerialPort& port, TimerFactory& timers, const MonotonicClock& clock,
             MessageBoxes& messageBoxes, const PcClock& pcClock, Desktop& desktop);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Runs after every handled event, and before a message box opens, so the view can redraw.
  void setChangedHandler(std::function<void()> handler) { events_.setRedraw(std::move(handler)); }

  // Events.
  void Form_Load();
  void Form_Unload();
  // A click on the menu item named `name` (its objectName), or on one of the main window's own.
  void menuClick(std::string_view name);
  void menuClick(MenuId id);
  // The two automation check boxes, Check1 and Check2.
  void autoReadTimeClicked(bool checked);
  void autoMonitorClicked(bool checked);
  // The document links Labmht, Labds and LabAN(index), and the picture Picture1.
  void introLinkClicked();
  void datasheetLinkClicked();
  void noteLinkClicked(int index);
  void pictureClicked();

  // Public methods other windows use. Device_Sel applies everything that depends only on the
  // model's name and sets no flag; a click on a device item (`DeviceClick::Yes`) then applies the
  // model's profile too: the alarm 1 and event labels, the flags, and MFUN_FR; when the model is
  // another than before, the open dialog then loads afresh for it, or closes when the new chip
  // does not offer it. Load_Sub_Form is the dialog host's.
  enum class DeviceClick { No, Yes };
  void Device_Sel(std::string_view name, DeviceClick click = DeviceClick::No);
  void MFUN_FR();

  const MainWindowControls& controls() const { return controls_; }
  const DeviceProfile& profile() const { return profile_; }
  RegisterImage& registers() { return registers_; }
  TimeAlarmRecords& records() { return records_; }
  const ChipReads& reads() const { return reads_; }
  BoardLink& link() { return link_; }
  const BoardLink& link() const { return link_; }
  ChipCommands& commands() { return commands_; }
  WriteSequencer& sequencer() { return sequencer_; }
  DialogHost& dialogHost() { return host_; }
  // The host of tool window `number` (see tool_window), nullptr for another number.
  DialogHost* toolHost(int number);
  // The hosts of the tool windows, in the order of their rows.
  std::vector<DialogHost*> toolHosts();
  void openToolWindow(int number);
  // Runs a handler as an event of the windows (the views redraw after it).
  WindowEvents& events() { return events_; }
  int OpenSubForm() const { return host_.OpenSubForm(); }
  // `Detecting`: the board search runs.
  bool isDetecting() const { return search_.isDetecting(); }
  // The board's device went away and is being looked for again.
  bool isReconnecting() const { return reconnect_.isWaiting(); }

  // Timer1 (time read and search), Timer3 (alarm/event monitor), Timer4 (write sequencer); the
  // response time-out Timer2 belongs to the link.
  const Timer& mainTimer() const { return *mainTimer_; }
  const Timer& monitorTimer() const { return *monitorTimer_; }
  const Timer& writeTimer() const { return *writeTimer_; }

 private:
  DialogContext dialogContext();
  // After the user picked another chip model: the open dialog follows it (see Device_Sel).
  void followModel();
  void setAutoReadTime(bool checked);
  void setAutoMonitor(bool checked);

  void mainTick();
  void monitorTick();
  void announce(const char* text);

  // Reactions to the link.
  void onLinkEvent(const LinkEvent& event);
  void onReply(CmdStateCode request, RequestTicket ticket, std::span<const std::uint8_t> frame);
  void onResponseTimeout();
  // Shows "接收缓冲区溢出" once the receive handler that found it has returned.
  void showOverflow();
  void onDeviceLost();
  void setLinkStatus(std::string_view text);

  SerialPort& port_;
  const MonotonicClock& clock_;
  const PcClock& pcClock_;
  Desktop& desktop_;
  WindowEvents events_;

  MainWindowControls controls_;
  DeviceProfile profile_;
  RegisterImage registers_;
  TimeAlarmRecords records_;
  ChipReads reads_;

  std::unique_ptr<Timer> mainTimer_;
  std::unique_ptr<Timer> monitorTimer_;
  std::unique_ptr<Timer> writeTimer_;
  // Posts the overflow box: a box opened inside the receive handler would keep the port from
  // handing on what keeps arriving, which it then holds without bound.
  std::unique_ptr<Timer> overflowNotice_;

  BoardLink link_;
  PortSearch search_;
  Reconnect reconnect_;
  ChipCommands commands_;
  WriteSequencer sequencer_;
  DocumentLauncher launcher_;
  DialogHost host_;
  // One host per tool window, with the window's number, in the order of their rows.
  std::vector<std::pair<int, std::unique_ptr<DialogHost>>> toolHosts_;

  bool timeoutQuestionOpen_ = false;
  bool timeoutQuestionDeclined_ = false;
  bool monitorMessageOpen_ = false;
  bool overflowBoxOpen_ = false;
  FlagAnnouncements announcements_;
  // The port panel was cleared because the board stopped answering; its next reply restores it.
  bool portPanelWithdrawn_ = false;
  // No reply since the last response time-out.
  bool boardSilent_ = false;
};

}  // namespace rtceval
