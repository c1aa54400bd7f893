#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "board_link/board_link.h"
#include "board_link/port_search.h"
#include "board_link/reply_effects.h"
#include "board_link/value_codecs.h"
#include "main_window/commands.h"
#include "main_window/device_profile.h"
#include "main_window/main_window_controls.h"
#include "main_window/write_sequencer.h"
#include "platform/dialogs.h"
#include "platform/timer.h"
#include "register_editors/register_image.h"
#include "time_alarms/time_record.h"

namespace rtceval {

class ConnectDialog;
class SetTimeDialog;
class SubFormModel;
class PcClock;
class SerialPort;

// The main window Main: owner of the link, the timers, the module state and the dialog that is
// open. Its controls are plain data that a view draws; the view forwards the user's events to the
// handlers below and redraws whenever `changed` fires.
class MainWindow : private ReplyEffects {
 public:
  MainWindow(SerialPort& port, TimerFactory& timers, Dialogs& dialogs, const PcClock& pcClock);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Fires after every handled event, and before a message box opens, so the view can redraw.
  void setChangedHandler(std::function<void()> handler) { changed_ = std::move(handler); }

  // Events.
  void Form_Load();
  void Form_Unload();
  void MenuClick(MenuId id);
  void Check1_Click(bool checked);
  void Check2_Click(bool checked);
  // The user closed the open dialog.
  void SubForm_Closed();
  // Events of the port dialog frmComm.
  void Comm_Option_Click(int portNo);
  void Comm_Command1_Click();
  // Runs a handler of an open dialog as an event of this window (the view redraws after it).
  void RunEvent(const std::function<void()>& handler);

  // Public methods other windows use.
  void Device_Sel(const std::string& name);
  void MFUN_FR();
  void Load_Sub_Form(int n);

  const MainWindowControls& controls() const { return controls_; }
  const DeviceProfile& profile() const { return profile_; }
  RegisterImage& registers() { return registers_; }
  TimeAlarmRecords& records() { return records_; }
  const ChipTime& chipTime() const { return chipTime_; }
  bool Is24Hour() const { return is24Hour_; }
  BoardLink& link() { return link_; }
  MainCommands& commands() { return commands_; }
  WriteSequencer& sequencer() { return sequencer_; }
  int OpenSubForm() const { return openSubForm_; }
  // Grows each time a dialog opens or closes, so a view knows to rebuild it.
  int subFormGeneration() const { return subFormGeneration_; }
  // The open dialog, or nullptr; and the same for each kind of dialog.
  SubFormModel* subForm() { return subForm_.get(); }
  ConnectDialog* connectDialog();
  SetTimeDialog* setTimeDialog();

  const Timer& Timer1() const { return *timer1_; }
  const Timer& Timer2() const { return *timer2_; }
  const Timer& Timer3() const { return *timer3_; }
  const Timer& Timer4() const { return *timer4_; }

 private:
  class Scope;
  class ScopedTimerFactory;
  class FlushingDialogs;

  void notify();
  void selectDevice(const DeviceModel& model);
  void unloadSubForm();
  void setCheck1(bool checked);
  void setCheck2(bool checked);

  void Timer1_Tick();
  void Timer2_Tick();
  void Timer3_Tick();
  void Timer4_Tick();
  void announce(const char* text);

  // ReplyEffects
  void setLinkStatus(const std::string& text) override;
  void beep() override;
  void stopResponseTimeout() override;
  void showTime(std::span<const std::uint8_t> data) override;
  void showBoardPort(int portNo) override;
  void closeConnectDialog() override;
  void statusRegisterRead() override;
  void refreshPanel() override;
  void alarmRead(int alarm, std::span<const std::uint8_t> data) override;
  void memoryRead(std::uint8_t value) override;
  void userRegistersRead(std::uint8_t first, std::uint8_t second) override;

  SerialPort& port_;
  const PcClock& pcClock_;
  std::function<void()> changed_;
  int scopeDepth_ = 0;

  std::unique_ptr<ScopedTimerFactory> timers_;
  std::unique_ptr<Dialogs> dialogs_;  // message boxes that let the view catch up first
  std::unique_ptr<Timer> timer1_;
  std::unique_ptr<Timer> timer2_;
  std::unique_ptr<Timer> timer3_;
  std::unique_ptr<Timer> timer4_;

  MainWindowControls controls_;
  DeviceProfile profile_;
  RegisterImage registers_;
  TimeAlarmRecords records_;
  ChipTime chipTime_;
  bool is24Hour_ = false;

  BoardLink link_;
  PortSearch search_;
  MainCommands commands_;
  WriteSequencer sequencer_;

  int openSubForm_ = 255;
  int subFormGeneration_ = 0;
  std::unique_ptr<SubFormModel> subForm_;
  // Dialogs closed while one of their own handlers may still be running (a reply closes the port
  // dialog from inside its warning box); freed when the outermost event is done.
  std::vector<std::unique_ptr<SubFormModel>> retired_;

  bool timeoutQuestionOpen_ = false;
  bool monitorMessageOpen_ = false;
};

}  // namespace rtceval
