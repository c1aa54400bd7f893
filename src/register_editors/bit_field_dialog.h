#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "board_link/requests.h"
#include "core/device_profile.h"
#include "core/register_image.h"
#include "dialogs/dialog_model.h"

namespace rtceval {

class WriteSequencer;
struct DialogContext;

// One check box of a bit-field dialog: its control name, its caption, and the bit it stands for
// on each register layout. A box without a bit on the selected layout does not apply there: it
// stays clear and disabled. An inverted box shows an active-low enable: it is ticked when its bit
// is 0 and writes its bit as 0 when ticked.
struct BitBox {
  const char* name;
  const char* caption;
  std::optional<int> bitA;
  std::optional<int> bitB;
  bool inverted = false;
};

// An explanatory text and the boxes it stands beside, top to bottom.
struct BitNote {
  const char* text;
  int firstBox;
  int boxCount;
};

// What one bit-field dialog edits: the register image byte, the write job handed to the write
// sequencer, the bits of the register kept from the image on each layout, the profile flag of
// the chips that have the field, and the controls with their texts.
struct BitFieldForm {
  const char* formName;  // frmINT, frmFO, ...
  const char* caption;   // the menu entry's text
  std::uint8_t RegisterImage::*image;
  WriteJob job;
  std::uint8_t keepA;  // image bits the dialog keeps on layout A
  std::uint8_t keepB;  // and on layout B
  bool DeviceProfile::*feature;
  std::span<const BitBox> boxes;
  std::span<const BitNote> notes;
};

// The common pattern of frmINT, frmFO, frmEV, frmWDT and frmBP: opening shows the register's
// bits from the register image; OK composes a new value from the image's kept bits and the
// boxes, stores it into the image and hands the write to the write sequencer, which unlocks the
// chip first. The dialog stays open and never reads the chip itself.
class BitFieldDialog : public DialogModel {
 public:
  struct Box {
    bool enabled = false;
    bool ticked = false;
  };

  static constexpr const char* kOk = "确  定";

  void Form_Load() override;
  // The user ticks or unticks box `index` (Check1 is 0); a disabled box takes no tick.
  void boxClicked(std::size_t index, bool ticked);
  // The OK button Command1.
  void okClicked();

  const BitFieldForm& form() const { return form_; }
  // One per box of the form, in its order.
  std::vector<Box> boxes;

 protected:
  BitFieldDialog(DialogContext& context, const BitFieldForm& form);

 private:
  // The register value the boxes stand for on `layout`, with the kept bits of the image.
  std::uint8_t compose(Layout layout) const;

  const BitFieldForm& form_;
  const DeviceProfile& profile_;
  RegisterImage& registers_;
  WriteSequencer& sequencer_;
  // The layout the boxes were loaded for.
  Layout shownLayout_ = Layout::A;
};

}  // namespace rtceval
