#pragma once

#include "platform/files.h"

namespace rtceval::qt {

// Files through QFile and QSaveFile: a write goes to a temporary file beside the target, every
// write and the final flush are checked, and only then is it renamed over the target; on any
// failure the temporary file goes and the target stays as it was.
class QtFiles : public Files {
 public:
  FileRead readFile(const std::string& path, std::size_t limit) const override;
  FileWrite writeFile(const std::string& path, const std::string& text) override;
};

}  // namespace rtceval::qt
