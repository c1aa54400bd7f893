#pragma once

namespace rtceval {

// A dialog that the main window opens through Load_Sub_Form and owns while it is open.
class SubFormModel {
 public:
  virtual ~SubFormModel() = default;
  // Its number among the main window's sub-forms.
  virtual int number() const = 0;
  // The dialog is closing: stop its timers; it sends nothing more.
  virtual void Unload() {}
};

}  // namespace rtceval
