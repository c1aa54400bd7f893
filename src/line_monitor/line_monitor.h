#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "board_link/line_decoder.h"
#include "dialogs/dialog_model.h"
#include "line_monitor/line_export.h"
#include "line_monitor/line_ring.h"

namespace rtceval {

class BoardLink;
class Files;
class MessageBoxes;
class PcClock;
struct DialogContext;

// The tool window "通信监视": every frame sent and received while it is open, and the bytes that
// never formed a frame, each stamped (ms since the window opened and the PC's time of day) and put
// into words. Keeps the latest kCapacity lines. Paused, it records nothing new but counts what it
// let pass; the decoder still follows every request, so replies after the pause read right.
class LineMonitor : public DialogModel {
 public:
  static constexpr std::size_t kCapacity = 100000;
  static constexpr const char* kCaption = "通信监视";
  static constexpr const char* kTextPause = "暂停";
  static constexpr const char* kTextResume = "继续";
  static constexpr const char* kTextClear = "清除";
  static constexpr const char* kTextCopy = "复制";
  static constexpr const char* kTextSave = "保存…";

  explicit LineMonitor(DialogContext& context);
  ~LineMonitor() override;
  LineMonitor(const LineMonitor&) = delete;
  LineMonitor& operator=(const LineMonitor&) = delete;

  void unload() override;

  // Events.
  void pauseClicked();
  void clearClicked();
  // Writes every line kept to `path` through the file seam, as CSV or text by its ending; a file
  // that cannot be written is reported in a message box and nothing else changes. True when
  // written.
  bool saveTo(const std::string& path);

  // A frame on the line; the link's observer calls it.
  void record(const LineFrame& frame);

  const LineRing& lines() const { return lines_; }
  bool paused() const { return paused_; }
  const char* pauseCaption() const { return paused_ ? kTextResume : kTextPause; }
  // "共N行", with what a pause let pass and what the ring had to drop.
  std::string statusText() const;
  // The rows as the clipboard takes them: tab-separated, one line each.
  std::string copyText(std::span<const std::size_t> rows) const;

 private:
  BoardLink& link_;
  MessageBoxes& messageBoxes_;
  Files& files_;
  const PcClock& clock_;
  LineDecoder decoder_;
  LineRing lines_{kCapacity};
  std::int64_t openedAt_ = 0;
  int observer_ = 0;
  bool paused_ = false;
  std::uint64_t passed_ = 0;       // frames let pass while paused
  std::uint64_t clearedUpTo_ = 0;  // lines appended before the latest clear
};

}  // namespace rtceval
