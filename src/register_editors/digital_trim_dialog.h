#pragma once

#include <cstdint>
#include <string>

#include "dialogs/dialog_model.h"

namespace rtceval {

class WriteSequencer;
struct DeviceProfile;
struct DialogContext;
struct RegisterImage;

// The digital trimming dialog frmDTR: the boxes DTR2 (the sign), DTR1 and DTR0 and a ppm figure
// that follows the clicks. It opens with the bits of the register image; OK composes the
// register into the image and hands the write to the write sequencer, which unlocks the chip
// first. It stays open.
class DigitalTrimDialog : public DialogModel {
 public:
  struct Texts {
    static constexpr const char* kCaption = "数字微调";
    static constexpr const char* kDtr2 = "DTR2";
    static constexpr const char* kDtr1 = "DTR1";
    static constexpr const char* kDtr0 = "DTR0";
    static constexpr const char* kValue = "DTR";
    static constexpr const char* kUnit = "PPM";
    static constexpr const char* kExplanation =
        "数字微调通过调整每秒钟的计数个数来实现对RTC的精度的校准，调节范围为-30ppm 至+30ppm。";
    static constexpr const char* kOk = "确  定";
  };

  // ppm per step of the figure.
  static constexpr std::int16_t kStepA = 10;
  static constexpr std::int16_t kStep1208 = 20;

  explicit DigitalTrimDialog(DialogContext& context);

  void Form_Load() override;
  // Check1 (DTR2): only the sign of the figure follows it.
  void dtr2Clicked(bool checked);
  // Check2 (DTR1) and Check3 (DTR0): the figure is computed anew from the three boxes.
  void dtr1Clicked(bool checked);
  void dtr0Clicked(bool checked);
  // The OK button Command1.
  void okClicked();

  // `PpmStep`: 20 on the X1208 family, else 10, as the dialog opened.
  std::int16_t ppmStep() const { return ppmStep_; }
  // `PpmShown`: the signed figure of the value box.
  std::int16_t ppmShown() const { return ppmShown_; }

  bool dtr2Ticked = false;
  bool dtr1Ticked = false;
  bool dtr0Ticked = false;
  // Text1: shows the figure; the user may type into it, but nothing reads it.
  std::string valueText = "0";

 private:
  void magnitudeChanged();
  void show(int figure);

  const DeviceProfile& profile_;
  RegisterImage& registers_;
  WriteSequencer& sequencer_;
  std::int16_t ppmStep_ = 0;
  std::int16_t ppmShown_ = 0;
};

}  // namespace rtceval
