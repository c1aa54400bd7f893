#include "register_editors/digital_trim_dialog.h"

#include <cstdlib>

#include "board_link/write_sequencer.h"
#include "core/cmd_state.h"
#include "core/device_profile.h"
#include "core/register_image.h"
#include "dialogs/dialog_context.h"

namespace rtceval {
namespace {
constexpr std::uint8_t kDtr2 = 0x04;
constexpr std::uint8_t kDtr1 = 0x02;
constexpr std::uint8_t kDtr0 = 0x01;
}  // namespace

DigitalTrimDialog::DigitalTrimDialog(DialogContext& context)
    : profile_(context.profile), registers_(context.registers), sequencer_(context.sequencer) {}

void DigitalTrimDialog::Form_Load() {
  ppmStep_ = profile_.Is1208Family ? kStep1208 : kStepA;
  // Loading a box that changes acts like a click on it, in the order DTR2, DTR1, DTR0, so the
  // figure ends up showing the loaded bits (or stays "0").
  const std::uint8_t dtr = registers_.RegDTR;
  if (((dtr & kDtr2) != 0) != dtr2Ticked) dtr2Clicked(!dtr2Ticked);
  if (((dtr & kDtr1) != 0) != dtr1Ticked) dtr1Clicked(!dtr1Ticked);
  if (((dtr & kDtr0) != 0) != dtr0Ticked) dtr0Clicked(!dtr0Ticked);
}

void DigitalTrimDialog::dtr2Clicked(bool checked) {
  dtr2Ticked = checked;
  // The magnitude is not recomputed: the figure only takes the sign of the box.
  const int magnitude = std::abs(int{ppmShown_});
  show(checked ? -magnitude : magnitude);
}

void DigitalTrimDialog::dtr1Clicked(bool checked) {
  dtr1Ticked = checked;
  magnitudeChanged();
}

void DigitalTrimDialog::dtr0Clicked(bool checked) {
  dtr0Ticked = checked;
  magnitudeChanged();
}

void DigitalTrimDialog::magnitudeChanged() {
  // DTR0 counts two steps and DTR1 one.
  const int steps = 2 * int{dtr0Ticked} + int{dtr1Ticked};
  const int figure = steps * ppmStep_;
  show(dtr2Ticked ? -figure : figure);
}

void DigitalTrimDialog::show(int figure) {
  ppmShown_ = static_cast<std::int16_t>(figure);
  valueText = std::to_string(figure);
}

void DigitalTrimDialog::okClicked() {
  // Bits 7 to 3 are written as 0; the value box is not read.
  std::uint8_t value = 0;
  if (dtr2Ticked) value |= kDtr2;
  if (dtr1Ticked) value |= kDtr1;
  if (dtr0Ticked) value |= kDtr0;
  registers_.RegDTR = value;
  sequencer_.start(WriteJob::Kind::DTR);
}

}  // namespace rtceval
