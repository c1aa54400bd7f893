#pragma once

#include <array>
#include <memory>
#include <string>

#include "dialogs/dialog_model.h"
#include "platform/serial_port.h"

namespace rtceval {

class BoardLink;
class MessageBoxes;
class SerialDeviceLister;
class Timer;
struct DialogContext;

// The port dialog frmComm: the user picks one of ports 1 to 4 and connects; a progress bar fills
// for five seconds while the board's answer is awaited, then the dialog gives up with a warning.
// Any reply to its probe closes it.
class ConnectDialog : public DialogModel {
 public:
  static constexpr int kProgressMax = 50;

  struct Texts {
    static constexpr const char* kCaption = "连接评估板";
    static constexpr const char* kFrame = "选择串口";
    static constexpr std::array<const char*, kPortCount> kOptions = {"串口1", "串口2", "串口3",
                                                                     "串口4"};
    static constexpr const char* kConnect = "连     接";
  };

  explicit ConnectDialog(DialogContext& context);
  ~ConnectDialog() override;

  void Form_Load() override;
  void unload() override;
  void replyArrived(const ReplyNote& reply) override;

  // The user picks port n (1..4) among the option buttons (Option1..Option4).
  void portClicked(int portNo);
  // The connect button (Command1).
  void connectClicked();

  // 0 when no option button is selected.
  int selectedPort() const { return selected_; }
  // The device behind a port number.
  std::string deviceName(int portNo) const;
  // What the system says of the device behind each port as the dialog loaded: its path, where a
  // link points, description, maker, USB ids and serial number ("" for a number without one).
  std::string portFacts(int portNo) const;
  // Why the last attempt did not start ("" when it did, or before the first).
  const std::string& status() const { return status_; }
  int progressMax() const { return progressMax_; }
  int progress() const { return progress_; }
  int ackCount() const { return ackCount_; }
  // The dialog's timer (Timer1): progress and give-up of an attempt.
  const Timer& progressTimer() const { return *timer_; }

 private:
  void progressTick();

  BoardLink& link_;
  MessageBoxes& messageBoxes_;
  const SerialDeviceLister& devices_;
  std::array<std::string, kPortCount> portFacts_;
  std::string status_;
  std::function<void()> close_;
  std::unique_ptr<Timer> timer_;
  int selected_ = 0;
  int progressMax_ = 0;
  int progress_ = 0;
  int ackCount_ = 0;
};

}  // namespace rtceval
