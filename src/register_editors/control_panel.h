#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/device_profile.h"
#include "core/register_map.h"
#include "dialogs/dialog_model.h"

namespace rtceval {

class BoardLink;
class MessageBoxes;
class WriteSequencer;
struct DialogContext;

// The control/status panel frmCON: the status and control registers as six rows of eight 0/1
// boxes, bit 7 on the left, each row with a read and a write button. Opening reads the control
// block and, 50 ms later, SR; every read reply refreshes the rows from the register image. A row's
// write goes out at once, without unlocking the chip first: the user sets the write-enable bits
// beforehand through the SR row.
class ControlPanel : public DialogModel {
 public:
  static constexpr std::size_t kBits = 8;
  static constexpr std::size_t kRows = 6;
  // The rows, top to bottom.
  enum class Row : std::size_t { SR, INT, EV, BL, ATR, DTR };

  struct Texts {
    static constexpr const char* kCaption = "控制/状态";
    static constexpr const char* kCaptionSeparator = "-----";
    static constexpr const char* kRead = "读";
    static constexpr const char* kWrite = "写";
    static constexpr const char* kInvalidBit = "无效的数值, 只能是0或1";
  };

  // One framed row: its title, the caption that names the bits over their boxes, the boxes
  // (element n holds bit n) and the two buttons.
  struct RowControls {
    RegisterId reg;
    const char* title;
    std::string bitCaption;
    std::array<std::string, kBits> boxes;
    std::array<bool, kBits> boxEnabled;
    // The name of each box's bit as the caption shows it, empty for a bit the panel leaves
    // unnamed; assistive technology reads it.
    std::array<std::string, kBits> bitNames;
    bool titleEnabled = true;
    bool captionEnabled = true;
    bool readEnabled = true;
    bool writeEnabled = true;
  };

  explicit ControlPanel(DialogContext& context);

  void Form_Load() override;
  void replyArrived(const ReplyNote& reply) override;

  // The text of box `bit` of `row` changed (typed, pasted or set through assistive technology).
  void boxChanged(Row row, std::size_t bit, std::string text);
  // The row's read button (cmdRSR … cmdRDTR) and write button (cmdWSR … cmdWDTR).
  void readClicked(Row row);
  void writeClicked(Row row);

  const RowControls& row(Row r) const { return rows[static_cast<std::size_t>(r)]; }

  std::string caption = Texts::kCaption;
  std::array<RowControls, kRows> rows;

 private:
  RowControls& at(Row r) { return rows[static_cast<std::size_t>(r)]; }
  Layout layout() const { return layoutOf(profile_.Is1208Family); }
  void applyEnabling();
  void showBits(Row row, std::uint8_t value);
  void refreshPanel();
  // The row's byte, bit n from box n; none when a box does not read exactly 0 or 1.
  std::optional<std::uint8_t> composeBits(Row row) const;
  void warnInvalidBit();

  BoardLink& link_;
  WriteSequencer& sequencer_;
  const DeviceProfile& profile_;
  RegisterImage& registers_;
  MessageBoxes& messageBoxes_;
  bool warningOpen_ = false;
};

}  // namespace rtceval
