#pragma once

#include <array>
#include <memory>
#include <string>

#include "main_window/sub_form_model.h"

namespace rtceval {

class BoardLink;
class Dialogs;
class StatusBar;
class Timer;
class TimerFactory;

// The port dialog frmComm: the user picks one of ports 1 to 4 and connects; a progress bar fills
// for five seconds while the board's answer is awaited, then the dialog gives up with a warning.
class ConnectDialog : public SubFormModel {
 public:
  static constexpr int PORT_COUNT = 4;
  static constexpr int PROGRESS_MAX = 50;

  struct Texts {
    static constexpr const char* Caption = "连接评估板";
    static constexpr const char* Frame = "选择串口";
    static constexpr std::array<const char*, PORT_COUNT> Options = {"串口1", "串口2", "串口3",
                                                                    "串口4"};
    static constexpr const char* Command1 = "连     接";
  };

  ConnectDialog(BoardLink& link, StatusBar& statusBar, Dialogs& dialogs, TimerFactory& timers);
  ~ConnectDialog() override;

  int number() const override;

  void Form_Load();
  // The user picks port n (1..4) among the option buttons.
  void Option_Click(int portNo);
  void Command1_Click();
  void Timer1_Tick();
  // Stops the dialog's timer for good (the dialog is being closed).
  void Unload() override;

  // 0 when no option button is selected.
  int selectedPort() const { return selected_; }
  int ProgressBar1Max() const { return progressMax_; }
  int ProgressBar1Value() const { return progress_; }
  int AckCount() const { return ackCount_; }
  const Timer& Timer1() const { return *timer_; }

 private:
  BoardLink& link_;
  StatusBar& statusBar_;
  Dialogs& dialogs_;
  std::unique_ptr<Timer> timer_;
  int selected_ = 0;
  int progressMax_ = 0;
  int progress_ = 0;
  int ackCount_ = 0;
};

}  // namespace rtceval
