#pragma once

#include <array>
#include <string>

#include "dialogs/dialog_model.h"

namespace rtceval {

class BoardLink;
class MessageBoxes;
struct ChipReads;
struct DeviceProfile;
struct DialogContext;

// The user-register dialog frmUR: the two volatile user registers of the X1208 and X1209, typed
// and shown in hexadecimal. "读" and "写" send one request for both at once, without the
// write-enable steps; a read that is answered while the dialog is open shows the two bytes.
class UserRegistersDialog : public DialogModel {
 public:
  struct Texts {
    static constexpr const char* kCaption = "用户寄存器";
    static constexpr std::array<const char*, 2> kRegisters = {"寄存器 1", "寄存器 2"};
    static constexpr const char* kRead = "读";
    static constexpr const char* kWrite = "写";
    static constexpr const char* kExplanation =
        "X1208/1209的CCR时钟控制寄存器中的两个用户可使用易失性的寄存器。";
    static constexpr const char* kInvalidData = "无效的数据";
  };

  explicit UserRegistersDialog(DialogContext& context);

  void Form_Load() override;
  void replyArrived(const ReplyNote& reply) override;
  // Command1 "读" and Command2 "写".
  void readClicked();
  void writeClicked();

  // Text1 and Text2: user register 1 (address 0x12) and 2 (0x13).
  std::array<std::string, 2> registerTexts{"01", "2A"};

 private:
  BoardLink& link_;
  MessageBoxes& messageBoxes_;
  const DeviceProfile& profile_;
  const ChipReads& reads_;
};

}  // namespace rtceval
