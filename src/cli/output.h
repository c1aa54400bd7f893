#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

namespace rtceval::cli {

// Where results and errors go: results on standard output, as short text or, with --json, as one
// JSON object per line with plain ASCII field names; errors on standard error.
class Output {
 public:
  Output(std::ostream& out, std::ostream& err, bool json) : out_(out), err_(err), json_(json) {}

  bool json() const { return json_; }
  // One result: `fields` with --json, else `text` (which may hold several lines).
  void result(const nlohmann::json& fields, const std::string& text);
  // One line on standard error, prefixed with the program's name.
  void error(const std::string& text);

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool json_;
};

}  // namespace rtceval::cli
