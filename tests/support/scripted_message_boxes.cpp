#include "scripted_message_boxes.h"

namespace rtceval::testing {

void ScriptedMessageBoxes::message(const std::string& text, const std::string& title) {
  shown.push_back({text, title, false});
  if (whileOpen) whileOpen();
}

bool ScriptedMessageBoxes::askYesNo(const std::string& text, const std::string& title) {
  shown.push_back({text, title, true});
  if (whileOpen) whileOpen();
  if (answers.empty()) return false;
  const bool yes = answers.front();
  answers.pop_front();
  return yes;
}

}  // namespace rtceval::testing
