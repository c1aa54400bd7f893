#include "line_monitor/line_monitor.h"

#include "board_link/board_link.h"
#include "dialogs/dialog_context.h"
#include "platform/desktop.h"
#include "platform/message_boxes.h"
#include "platform/pc_clock.h"

namespace rtceval {

LineMonitor::LineMonitor(DialogContext& context)
    : link_(context.link),
      messageBoxes_(context.messageBoxes),
      files_(context.desktop),
      clock_(context.pcClock),
      decoder_(context.profile),
      openedAt_(context.pcClock.now().steadyMs) {
  observer_ = link_.addFrameObserver([this](const LineFrame& frame) { record(frame); });
}

LineMonitor::~LineMonitor() {
  unload();
}

void LineMonitor::unload() {
  if (observer_) link_.removeFrameObserver(observer_);
  observer_ = 0;
}

void LineMonitor::record(const LineFrame& frame) {
  // Decoded even while paused: a reply is read under the request that went before it.
  std::string meaning = decoder_.meaning(frame);
  if (paused_) {
    ++passed_;
    return;
  }
  const PcInstant now = clock_.now();
  MonitorLine& line = lines_.append();
  line.sinceOpenMs = now.steadyMs - openedAt_;
  line.msOfDay = now.msOfDay;
  line.outgoing = frame.kind == LineFrame::Kind::Sent;
  line.bytes.assign(frame.bytes.begin(), frame.bytes.end());
  line.meaning = std::move(meaning);
}

void LineMonitor::pauseClicked() {
  paused_ = !paused_;
  if (paused_) passed_ = 0;
}

void LineMonitor::clearClicked() {
  clearedUpTo_ = lines_.appended();
  lines_.clear();
  passed_ = 0;
}

bool LineMonitor::saveTo(const std::string& path) {
  const FileWrite written = files_.writeFile(path, exportAll(lines_, formatForPath(path)));
  if (!written.ok()) {
    messageBoxes_.message("无法保存文件 " + path + "：" + written.failure, kCaption);
    return false;
  }
  return true;
}

std::string LineMonitor::statusText() const {
  std::string text = "共" + std::to_string(lines_.size()) + "行";
  const std::uint64_t dropped = lines_.appended() - clearedUpTo_ - lines_.size();
  if (dropped) text += "，较早的" + std::to_string(dropped) + "行已移出";
  if (paused_) text += "，已暂停，未记录" + std::to_string(passed_) + "帧";
  return text;
}

std::string LineMonitor::copyText(std::span<const std::size_t> rows) const {
  return exportLines(lines_, rows, ExportFormat::Text);
}

}  // namespace rtceval
