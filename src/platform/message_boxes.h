#pragma once

#include <string>

namespace rtceval {

// Modal message boxes and the system beep. Each call returns when the user has closed the box;
// timers and serial events may run meanwhile, so callers guard against asking twice.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A message with an OK button; an empty title means the platform's default caption.
  virtual void message(const std::string& text, const std::string& title = {}) = 0;
  // A question with Yes and No buttons; true for Yes.
  virtual bool askYesNo(const std::string& text, const std::string& title) = 0;
  virtual void beep() = 0;
};

}  // namespace rtceval
