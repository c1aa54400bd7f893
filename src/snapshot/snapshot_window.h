#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/dialog_model.h"
#include "snapshot/request_chain.h"
#include "snapshot/snapshot.h"
#include "snapshot/snapshot_plan.h"
#include "snapshot/snapshot_table.h"

namespace rtceval {

class BoardLink;
class Desktop;
class MessageBoxes;
class PcClock;
class WriteSequencer;
struct ChipReads;
struct DeviceProfile;
struct DialogContext;
struct RegisterImage;
struct TimeAlarmRecords;

// The tool window "寄存器快照": reads everything the selected chip holds into a snapshot, shows
// it as a table, saves it as a file and opens one, compares the shown snapshot with the chip or
// with another file, and writes it back to the chip (the clock only when "同时恢复时钟" is ticked).
// The steps of a read and a restore come from the snapshot plan; the window runs them one after
// another and keeps what the user sees.
class SnapshotWindow : public DialogModel {
 public:
  struct Texts {
    static constexpr const char* kCaption = "寄存器快照";
    static constexpr const char* kRead = "从芯片读取(&R)";
    static constexpr const char* kOpen = "打开(&O)…";
    static constexpr const char* kSave = "保存(&S)…";
    static constexpr const char* kCompareChip = "与芯片比较(&C)";
    static constexpr const char* kCompareFile = "与文件比较(&F)…";
    static constexpr const char* kRestore = "恢复到芯片(&W)";
    static constexpr const char* kRestoreClock = "同时恢复时钟(&K)";
    static constexpr const char* kTable = "快照中的寄存器";
    static constexpr const char* kComparison = "比较结果";
    static constexpr const char* kAddress = "地址";
    static constexpr const char* kRegister = "寄存器";
    static constexpr const char* kValue = "值";
    static constexpr const char* kBits = "位";
    static constexpr const char* kNothingShown = "尚无快照：从芯片读取或打开快照文件";
    static constexpr const char* kFromChip = "芯片";
    static constexpr const char* kNoModel = "请先在“器件”菜单中选择器件型号";
    static constexpr const char* kNoBoard = "未连接评估板";
    static constexpr const char* kReading = "正在读取芯片";
    static constexpr const char* kRestoring = "正在恢复";
    static constexpr const char* kReadDone = "已从芯片读取快照";
    static constexpr const char* kRestoreDone = "快照已写入芯片";
    static constexpr const char* kReadFailed = "读取芯片失败：";
    static constexpr const char* kRestoreFailed = "恢复中断，芯片只写入了一部分：";
    static constexpr const char* kNoAnswer = " 没有得到应答";
    static constexpr const char* kCannotOpen = "无法读取文件 ";
    static constexpr const char* kNotAFile = "：不是普通文件（文件夹、设备或管道）";
    static constexpr const char* kCannotSave = "无法写入文件 ";
    static constexpr const char* kSaved = "已保存到 ";
    static constexpr const char* kRestoreQuestion = "把快照写入芯片？芯片中的寄存器";
    static constexpr const char* kAndEeprom = "、EEPROM";
    static constexpr const char* kWithClock = "和时钟";
    static constexpr const char* kWithoutClock = "（时钟除外）";
    static constexpr const char* kCompared = "比较完成";
    static constexpr const char* kModelChanged = "器件型号已更改，读写已停止";
    static constexpr const char* kWillChange = "将被改写。";
    static constexpr const char* kVersus = " → ";
    static constexpr const char* kCancel = "取消(&A)";
    static constexpr const char* kProgress = "进度";
    static constexpr const char* kReadCancelled = "读取已取消";
    static constexpr const char* kRestoreCancelled = "恢复已取消，芯片只写入了一部分：已完成 ";
    static constexpr const char* kStoppedAt = " 步，停在 ";
    static constexpr const char* kCancelledBeforeWriting = "恢复已取消，没有向芯片写入任何内容";
    static constexpr const char* kRelockQuestion =
        "评估板又有应答了。上次恢复中断时芯片的块保护已解除或写使能仍打开，"
        "要把块保护和写使能设回恢复之前的状态吗？";
    static constexpr const char* kRelocked = "块保护和写使能已设回恢复之前的状态";
    static constexpr const char* kRelockFailed = "未能设回块保护和写使能：";
  };

  // One line of the table.
  using Row = SnapshotRow;

  explicit SnapshotWindow(DialogContext& context);

  void Form_Load() override;
  void unload() override;
  void replyArrived(const ReplyNote& reply) override;

  void readClicked();
  void openFile(const std::string& path);
  void saveFile(const std::string& path);
  void compareWithChipClicked();
  void compareWithFile(const std::string& path);
  void restoreClicked();
  void restoreClockTicked(bool ticked) { restoreClock = ticked; }
  // Stops a running read or restore; a request already on the line still reaches the chip.
  void cancelClicked();

  // What the view draws.
  const std::optional<Snapshot>& shown() const { return shown_; }
  std::string sourceText() const;  // where the shown snapshot comes from
  std::string statusText() const;  // the last outcome, or the progress of a read or restore
  std::vector<Row> rows() const;
  std::vector<std::string> comparisonLines;
  bool restoreClock = false;
  // Running, or waiting for the user's writes handed over before to go out.
  bool busy() const { return chain_.running() || awaitingWrites_; }
  bool canCancel() const { return busy(); }
  // The running read or restore: steps done of all; nothing (0 of 0) when none runs.
  struct Progress {
    std::size_t done = 0;
    std::size_t total = 0;
  };
  Progress progress() const;
  bool canSave() const { return !busy() && shown_.has_value(); }
  bool canCompare() const { return !busy() && shown_.has_value(); }
  bool canRestore() const { return !busy() && shown_.has_value(); }
  // A file name for the save box: model, date and time.
  std::string suggestedFileName() const;

 private:
  // What the running chain is for; a read after a restore refreshes the comparison.
  enum class Purpose { Show, Compare, Restore, AfterRestore, Relock };
  void readChip(Purpose purpose);
  void readDone(Purpose purpose, const Snapshot& read);
  // The plan's steps as the chain runs them: each sends its requests through the link.
  std::vector<RequestChain::Step> chainSteps(std::vector<SnapshotStep> plan);
  // The selected model, or "" after saying that one must be picked first.
  std::string selectedModel();
  bool boardReady();
  std::optional<Snapshot> load(const std::string& path);
  std::string now() const;
  void showComparison(const Snapshot& before, const Snapshot& after, const std::string& title);
  void startRestore();
  // A restore stopped: says what it left on the chip and remembers whether to offer putting
  // protection and write enable back once the board answers again.
  void restoreStopped(std::string status);
  void offerRelock();

  BoardLink& link_;
  const DeviceProfile& profile_;
  RegisterImage& registers_;
  TimeAlarmRecords& records_;
  const ChipReads& reads_;
  MessageBoxes& messageBoxes_;
  Desktop& desktop_;
  WriteSequencer& sequencer_;
  const PcClock& pcClock_;
  RequestChain chain_;

  std::optional<Snapshot> shown_;
  std::string source_;
  std::string status_;
  std::string progress_;    // the running chain's verb
  std::string chainModel_;  // the model the running chain reads or writes
  Purpose purpose_ = Purpose::Show;
  // What a read gathers until it is complete.
  std::optional<SnapshotGathering> gathering_;
  // The running restore's steps, and BL and SR as its first steps read them from the chip.
  std::vector<SnapshotStep> restoreSteps_;
  std::uint8_t blBefore_ = 0;
  std::uint8_t srBefore_ = 0;
  // What a stopped restore left that the user is to be offered to undo, once.
  std::optional<RestoreLeftover> relockOffer_;
  // A restore or relock waits for the write sequencer to hand over the chip.
  bool awaitingWrites_ = false;
};

}  // namespace rtceval
