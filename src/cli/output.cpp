#include "cli/output.h"

namespace rtceval::cli {

void Output::result(const nlohmann::json& fields, const std::string& text) {
  // Scripts read the lines as they come (watch), so each result is flushed.
  if (json_)
    out_ << fields.dump(-1, ' ', true) << std::endl;
  else
    out_ << text << std::endl;
}

void Output::error(const std::string& text) {
  err_ << "rtceval-cli: " << text << std::endl;
}

}  // namespace rtceval::cli
