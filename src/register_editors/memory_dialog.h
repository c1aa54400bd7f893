#pragma once

#include <cstdint>
#include <string>

#include "dialogs/dialog_model.h"

namespace rtceval {

class BoardLink;
class MessageBoxes;
struct ChipReads;
struct DialogContext;

// The EEPROM dialog frmMem: one byte of the EEPROM array of the X1226, X1227 and X1228, its
// address and data typed in hexadecimal. "读" and "写" send their request at once, without the
// write-enable steps; a read that is answered while the dialog is open shows the byte.
class MemoryDialog : public DialogModel {
 public:
  struct Texts {
    static constexpr const char* kCaption = "EEPROM 存储器";
    static constexpr const char* kAddress = "地址";
    static constexpr const char* kData = "数据";
    static constexpr const char* kRead = "读";
    static constexpr const char* kWrite = "写";
    static constexpr const char* kArray =
        "在X1226/7/8器件中包括4096位（512字节）的EEPROM存储器，支持最长64字节的页写。";
    static constexpr const char* kSingleBytes =
        "此演示程序仅提供单字节的读/"
        "写，在地址和数据文本框中以十六进制方式输入要读或写的地址和数据。";
    static constexpr const char* kInvalidAddress = "无效的地址";
    static constexpr const char* kInvalidData = "无效的数据";
    // The two sentences as one label, 15 blanks apart.
    static std::string explanation();
  };

  // The addresses a request can carry: the array itself has 512 bytes, and the board answers
  // for the others.
  static constexpr std::uint32_t kLastAddress = 0x7FFF;

  explicit MemoryDialog(DialogContext& context);

  void Form_Load() override;
  void replyArrived(const ReplyNote& reply) override;
  // Command1 "读" and Command2 "写".
  void readClicked();
  void writeClicked();

  std::string addressText = "0001";  // Text1
  std::string dataText = "35";       // Text2

 private:
  // The address box as a valid address, or false after saying it is not.
  bool readAddress(std::uint32_t& address);

  BoardLink& link_;
  MessageBoxes& messageBoxes_;
  const ChipReads& reads_;
};

}  // namespace rtceval
