#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_boxes.h"
#include "platform/pc_clock.h"

namespace rtceval::testing {

// Records every message box and beep; answers questions from a script (No when it runs out).
// `whileOpen` runs while a box is "open", so a test can let time pass behind a modal box.
class ScriptedMessageBoxes : public MessageBoxes {
 public:
  struct Shown {
    std::string text;
    std::string title;
    bool question = false;
  };

  void message(const std::string& text, const std::string& title) override;
  bool askYesNo(const std::string& text, const std::string& title) override;
  void beep() override { ++beeps; }

  std::vector<Shown> shown;
  std::deque<bool> answers;
  int beeps = 0;
  std::function<void()> whileOpen;
};

class FixedPcClock : public PcClock {
 public:
  PcDate today() const override { return date; }
  std::string timeOfDayText() const override { return time; }
  PcInstant now() const override { return instant; }
  PcDate date{2004, 5, 20, 4};
  std::string time = "10:11:12";
  PcInstant instant{0, (10 * 3600 + 11 * 60 + 12) * 1000};
};

}  // namespace rtceval::testing
