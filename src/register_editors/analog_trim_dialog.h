#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dialogs/dialog_model.h"

namespace rtceval {

class WriteSequencer;
struct DeviceProfile;
struct DialogContext;
struct RegisterImage;

// The analog trimming dialog frmATR: six boxes ATR5..ATR0 for the crystal's load capacitance
// and, on the X1208 family, the two BMATR boxes. It opens with the bits of the register image;
// the value box shows the load capacitance of the ticked bits; OK composes the register into the
// image and hands the write to the write sequencer, which unlocks the chip first. It stays open.
class AnalogTrimDialog : public DialogModel {
 public:
  static constexpr std::size_t kAtrBoxes = 6;

  struct Texts {
    static constexpr const char* kCaption = "模拟微调";
    // The boxes of Check1, top to bottom: element i stands for bit 5 - i.
    static constexpr std::array<const char*, kAtrBoxes> kAtr = {"ATR5", "ATR4", "ATR3",
                                                                "ATR2", "ATR1", "ATR0"};
    static constexpr const char* kBmatr1 = "BMATR1";
    static constexpr const char* kBmatr0 = "BMATR0";
    static constexpr const char* kValue = "ATR值(pF)";
    static constexpr const char* kRange =
        "ATR用于模拟调整RTC时钟的片内负载电容，调节范围为3.25pF至18.75pF。"
        "对于不同厂家和型号的晶振调节的精度(ppm)不同。";
    static constexpr const char* kFormulaHeading = "计算公式为:";
    static constexpr const char* kFormula = "C`=ATR*0.25pF+11.0pF";
    static constexpr const char* kComplementNote = "注意:公式中的ATR值是补码";
    static constexpr const char* kBmatrNote =
        "BMATR0/1是X1208/09专用，用于匹配Vcc和Vbat的不同电容特性。";
    static constexpr const char* kOk = "确  定";
    // The range, the formula and the note as one label, set apart by the runs of blanks that put
    // each on a line of its own in the label's width.
    static std::string explanation();
  };

  explicit AnalogTrimDialog(DialogContext& context);

  void Form_Load() override;
  // A click on element `element` (0 = ATR5 … 5 = ATR0) of Check1.
  void atrClicked(std::size_t element, bool checked);
  // Check8 (BMATR1) and Check7 (BMATR0); only while they are enabled.
  void bmatr1Clicked(bool checked);
  void bmatr0Clicked(bool checked);
  // The OK button Command1.
  void okClicked();

  // The signed ATR value of the six boxes, ATR5 the sign: -32 to +31.
  int atrShown() const { return atrShown_; }

  std::array<bool, kAtrBoxes> atrTicked{};
  bool bmatr1Ticked = false;
  bool bmatr0Ticked = false;
  bool bmatrEnabled = false;  // the X1208 family has BMATR1 and BMATR0
  // Text1, display only: the load capacitance in pF with two decimals.
  std::string valueText = "0";

 private:
  void showValue();

  const DeviceProfile& profile_;
  RegisterImage& registers_;
  WriteSequencer& sequencer_;
  int atrShown_ = 0;
};

// The load capacitance of a signed ATR value, C = ATR × 0.25 pF + 11.0 pF, with two decimals
// ("11.00", "3.00", "18.75").
std::string loadCapacitanceText(int atr);

}  // namespace rtceval
