#include "register_editors/analog_trim_dialog.h"

#include "board_link/write_sequencer.h"
#include "core/cmd_state.h"
#include "core/device_profile.h"
#include "core/register_image.h"
#include "dialogs/dialog_context.h"

namespace rtceval {
namespace {

constexpr std::uint8_t kBmatr1 = 0x80;
constexpr std::uint8_t kBmatr0 = 0x40;
constexpr std::uint8_t kAtrSign = 0x20;  // ATR5: the ATR value is a six-bit two's complement
constexpr int kAtrModulus = 64;
// 11.0 pF, the capacitance of ATR 0, in the formula's steps of 0.25 pF.
constexpr int kQuartersAtZero = 44;
// The runs of blanks between the parts of the explanation.
constexpr std::size_t kBlanksAfterRange = 34;
constexpr std::size_t kBlanksAfterHeading = 8;
constexpr std::size_t kBlanksAfterFormula = 11;

// The bit of ATR that element `element` of Check1 stands for.
std::uint8_t atrBit(std::size_t element) {
  return static_cast<std::uint8_t>(1U << (AnalogTrimDialog::kAtrBoxes - 1 - element));
}

}  // namespace

std::string AnalogTrimDialog::Texts::explanation() {
  return std::string(kRange) + std::string(kBlanksAfterRange, ' ') + kFormulaHeading +
         std::string(kBlanksAfterHeading, ' ') + kFormula + std::string(kBlanksAfterFormula, ' ') +
         kComplementNote;
}

std::string loadCapacitanceText(int atr) {
  // In quarters of a picofarad the value is a whole number (12 to 75 for ATR -32 to +31), so the
  // two decimals are exact.
  const int quarters = atr + kQuartersAtZero;
  const int hundredths = quarters % 4 * 25;
  return std::to_string(quarters / 4) + (hundredths < 10 ? ".0" : ".") + std::to_string(hundredths);
}

AnalogTrimDialog::AnalogTrimDialog(DialogContext& context)
    : profile_(context.profile), registers_(context.registers), sequencer_(context.sequencer) {}

void AnalogTrimDialog::Form_Load() {
  // BMATR1 and BMATR0 exist on the X1208 family only; elsewhere they stay disabled and clear,
  // even when the image still holds them from an X1208 selected before.
  bmatrEnabled = profile_.Is1208Family;
  if (bmatrEnabled) {
    bmatr1Ticked = (registers_.RegATR & kBmatr1) != 0;
    bmatr0Ticked = (registers_.RegATR & kBmatr0) != 0;
  }
  for (std::size_t i = 0; i < kAtrBoxes; ++i) atrTicked[i] = (registers_.RegATR & atrBit(i)) != 0;
  // The value box shows the boxes as loaded, also when every box is clear (11.00 pF).
  showValue();
}

void AnalogTrimDialog::atrClicked(std::size_t element, bool checked) {
  if (element >= kAtrBoxes) return;
  atrTicked[element] = checked;
  showValue();
}

void AnalogTrimDialog::bmatr1Clicked(bool checked) {
  if (bmatrEnabled) bmatr1Ticked = checked;
}

void AnalogTrimDialog::bmatr0Clicked(bool checked) {
  if (bmatrEnabled) bmatr0Ticked = checked;
}

void AnalogTrimDialog::showValue() {
  int bits = 0;
  for (std::size_t i = 0; i < kAtrBoxes; ++i)
    if (atrTicked[i]) bits |= atrBit(i);
  atrShown_ = (bits & kAtrSign) != 0 ? bits - kAtrModulus : bits;
  valueText = loadCapacitanceText(atrShown_);
}

void AnalogTrimDialog::okClicked() {
  std::uint8_t value = 0;
  // The chip selected now decides: bits 7 and 6 are written as 0 where they do not exist.
  if (profile_.Is1208Family) {
    if (bmatr1Ticked) value |= kBmatr1;
    if (bmatr0Ticked) value |= kBmatr0;
  }
  for (std::size_t i = 0; i < kAtrBoxes; ++i)
    if (atrTicked[i]) value |= atrBit(i);
  registers_.RegATR = value;
  sequencer_.start(WriteJob::Kind::ATR);
}

}  // namespace rtceval
