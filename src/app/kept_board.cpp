#include "kept_board.h"

#include <filesystem>
#include <system_error>

#include "sim/saved_board.h"

namespace rtceval::app {
namespace {
// A kept board's file is about 2 kB; anything much longer is not one.
constexpr std::size_t kKeptBoardLimit = 64 * 1024;
}  // namespace

KeptBoard::KeptBoard(Files& files, const std::string& folder, sim::ChipModel model)
    : files_(files),
      path_(folder + "/virtual-" + std::string(sim::profileOf(model).name) + ".board"),
      model_(model) {}

std::string KeptBoard::resume(sim::VirtualBoard& board, std::int64_t pcNowMs,
                              std::int64_t boardNowMs) const {
  const FileRead read = files_.readFile(path_, kKeptBoardLimit);
  if (!read.text) {
    std::error_code ignored;
    if (!std::filesystem::exists(path_, ignored)) return {};  // the first run: a fresh chip
    return "rtceval-cli: the virtual board kept in " + path_ + " cannot be read (" + read.reason +
           "); the chip starts fresh";
  }
  const auto saved = sim::readSavedBoard(*read.text);
  if (!saved || saved->model != model_)
    return "rtceval-cli: " + path_ + " holds no virtual " +
           std::string(sim::profileOf(model_).name) + " board; the chip starts fresh";
  board.chip().advanceTo(boardNowMs);
  board.chip().resume(saved->chip, pcNowMs - saved->savedAtMs);
  return {};
}

std::string KeptBoard::keep(sim::VirtualBoard& board, std::int64_t pcNowMs,
                            std::int64_t boardNowMs) {
  board.chip().advanceTo(boardNowMs);
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), error);
  const FileWrite written =
      files_.writeFile(path_, sim::savedBoardText({model_, board.chip().saved(), pcNowMs}));
  if (written.ok()) return {};
  return "rtceval-cli: the virtual board could not be kept in " + path_ + ": " + written.failure;
}

std::string keptBoardFolder(const char* xdgStateHome, const char* home) {
  // A relative XDG_STATE_HOME is ignored, as the freedesktop base directories say.
  if (xdgStateHome && xdgStateHome[0] == '/') return std::string(xdgStateHome) + "/rtceval";
  return std::string(home ? home : ".") + "/.local/state/rtceval";
}

}  // namespace rtceval::app
