#include "register_editors/bit_field_dialog.h"

#include "board_link/write_sequencer.h"
#include "dialogs/dialog_context.h"

namespace rtceval {
namespace {

std::optional<int> bitOn(const BitBox& box, Layout layout) {
  return layout == Layout::A ? box.bitA : box.bitB;
}

std::uint8_t mask(int bit) {
  return static_cast<std::uint8_t>(1u << bit);
}

}  // namespace

BitFieldDialog::BitFieldDialog(DialogContext& context, const BitFieldForm& form)
    : boxes(form.boxes.size()),
      form_(form),
      profile_(context.profile),
      registers_(context.registers),
      sequencer_(context.sequencer) {}

void BitFieldDialog::Form_Load() {
  shownLayout_ = layoutOf(profile_.Is1208Family);
  const std::uint8_t value = registers_.*form_.image;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const std::optional<int> bit = bitOn(form_.boxes[i], shownLayout_);
    Box& box = boxes[i];
    box.enabled = bit.has_value();
    box.ticked = false;  // a box that does not apply keeps its design state
    if (bit) box.ticked = ((value & mask(*bit)) != 0) != form_.boxes[i].inverted;
  }
}

void BitFieldDialog::boxClicked(std::size_t index, bool ticked) {
  if (index < boxes.size() && boxes[index].enabled) boxes[index].ticked = ticked;
}

std::uint8_t BitFieldDialog::compose(Layout layout) const {
  unsigned value = registers_.*form_.image & (layout == Layout::A ? form_.keepA : form_.keepB);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const std::optional<int> bit = bitOn(form_.boxes[i], layout);
    if (bit && boxes[i].ticked != form_.boxes[i].inverted) value |= mask(*bit);
  }
  return static_cast<std::uint8_t>(value);
}

void BitFieldDialog::okClicked() {
  // The boxes were loaded for the chip chosen when the dialog opened. If the user has since
  // picked a chip without this register, there is nothing to write; if the new chip lays the
  // register out differently, the boxes would put their bits in the wrong places, so they are
  // shown again for the new chip first and nothing is written until OK is pressed again.
  if (!(profile_.*form_.feature)) return;
  const Layout layout = layoutOf(profile_.Is1208Family);
  if (layout != shownLayout_) {
    Form_Load();
    return;
  }
  registers_.*form_.image = compose(layout);
  sequencer_.start(form_.job);
}

}  // namespace rtceval
