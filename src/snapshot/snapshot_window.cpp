#include "snapshot/snapshot_window.h"

#include <memory>
#include <utility>

#include "board_link/board_link.h"
#include "board_link/write_sequencer.h"
#include "core/chip_reads.h"
#include "core/shown_text.h"
#include "core/time_record.h"
#include "dialogs/dialog_context.h"
#include "platform/desktop.h"
#include "platform/message_boxes.h"
#include "platform/pc_clock.h"
#include "snapshot/snapshot_file.h"

namespace rtceval {
namespace {

constexpr const char* kProgramVersion = RTCEVAL_VERSION;

std::string twoDigits(int v) {
  return std::string(1, static_cast<char>('0' + v / 10 % 10)) + static_cast<char>('0' + v % 10);
}

}  // namespace

SnapshotWindow::SnapshotWindow(DialogContext& context)
    : link_(context.link),
      profile_(context.profile),
      registers_(context.registers),
      records_(context.records),
      reads_(context.reads),
      messageBoxes_(context.messageBoxes),
      desktop_(context.desktop),
      sequencer_(context.sequencer),
      pcClock_(context.pcClock),
      chain_(context.timers) {}

void SnapshotWindow::Form_Load() {
  status_ = Texts::kNothingShown;
}

void SnapshotWindow::unload() {
  chain_.cancel();
  awaitingWrites_ = false;
  sequencer_.release();
}

void SnapshotWindow::replyArrived(const ReplyNote& reply) {
  // Addresses and layouts belong to the model the chain started with: a model picked meanwhile
  // stops it rather than mixing two chips' registers.
  if (busy() && modelOf(profile_) != chainModel_) {
    chain_.cancel();
    awaitingWrites_ = false;
    sequencer_.release();
    status_ = Texts::kModelChanged;
    messageBoxes_.message(status_, Texts::kCaption);
    return;
  }
  chain_.replyArrived(reply.ticket, reply.accepted);
  // The board answers again after a restore stopped half-way.
  if (!busy() && reply.accepted && relockOffer_) offerRelock();
}

std::string SnapshotWindow::now() const {
  const PcDate d = pcClock_.today();
  return std::to_string(d.year) + "-" + twoDigits(d.month) + "-" + twoDigits(d.day) + " " +
         pcClock_.timeOfDayText();
}

std::string SnapshotWindow::selectedModel() {
  std::string model = modelOf(profile_);
  if (model.empty()) messageBoxes_.message(Texts::kNoModel, Texts::kCaption);
  return model;
}

bool SnapshotWindow::boardReady() {
  if (link_.isPortOpen()) return true;
  messageBoxes_.message(Texts::kNoBoard, Texts::kCaption);
  return false;
}

std::vector<RequestChain::Step> SnapshotWindow::chainSteps(std::vector<SnapshotStep> plan) {
  std::vector<RequestChain::Step> steps;
  steps.reserve(plan.size());
  for (SnapshotStep& planned : plan) {
    auto step = std::make_shared<const SnapshotStep>(std::move(planned));
    RequestChain::Step s{step->what,
                         [this, step] {
                           if (step->intoImage) step->intoImage(registers_, records_);
                           RequestTicket ticket = 0;
                           for (const Request& r : step->requests) ticket = link_.request(r);
                           return ticket;
                         },
                         {},
                         step->pauseAfter};
    if (step->role == SnapshotStep::Role::ReadsBefore) {
      // The reply has put the register in the image; the relock writes it back as it was.
      s.take = [this] {
        blBefore_ = registers_.RegBL;
        srBefore_ = registers_.RegSR;
      };
    }
    if (step->gather != Gather::Nothing) {
      s.take = [this, step] {
        if (gathering_) gathering_->take(*step, reads_, registers_, records_);
      };
      s.complete = [this, step] { return replyComplete(*step, reads_); };
    }
    steps.push_back(std::move(s));
  }
  return steps;
}

void SnapshotWindow::readChip(Purpose purpose) {
  const std::string model = selectedModel();
  if (model.empty() || !boardReady()) return;
  progress_ = Texts::kReading;
  chainModel_ = model;
  purpose_ = purpose;
  gathering_.emplace(model, layoutOf(profile_.Is1208Family));
  const std::string taken = now();
  chain_.start(
      chainSteps(readPlan(profile_)),
      [this, purpose, taken] {
        if (!gathering_) return;
        const Snapshot read = gathering_->snapshot(taken, kProgramVersion);
        gathering_.reset();
        readDone(purpose, read);
      },
      [this, purpose](const std::string& what) {
        gathering_.reset();
        // The comparison made before the restore no longer holds.
        if (purpose == Purpose::AfterRestore) comparisonLines.clear();
        status_ = Texts::kReadFailed + what + Texts::kNoAnswer;
        messageBoxes_.message(status_, Texts::kCaption);
      });
}

void SnapshotWindow::readDone(Purpose purpose, const Snapshot& read) {
  if (purpose == Purpose::Show) {
    shown_ = read;
    source_ = Texts::kFromChip;
    comparisonLines.clear();
    status_ = Texts::kReadDone;
    return;
  }
  showComparison(
      *shown_, read,
      shown_->takenAt + " " + source_ + Texts::kVersus + read.takenAt + " " + Texts::kFromChip);
  status_ = purpose == Purpose::AfterRestore ? Texts::kRestoreDone : Texts::kCompared;
}

void SnapshotWindow::readClicked() {
  if (busy()) return;
  readChip(Purpose::Show);
}

void SnapshotWindow::compareWithChipClicked() {
  if (!canCompare()) return;
  const std::string model = selectedModel();
  if (model.empty()) return;
  if (model != shown_->model) {
    status_ = "快照是 " + shown_->model + " 的，当前选择的器件是 " + model + "，不能与芯片比较";
    messageBoxes_.message(status_, Texts::kCaption);
    return;
  }
  readChip(Purpose::Compare);
}

std::optional<Snapshot> SnapshotWindow::load(const std::string& path) {
  const FileRead read = desktop_.readFile(path, kMaxSnapshotFileBytes);
  if (!read.text) {
    switch (read.refusal) {
      case FileRead::Refusal::NotAFile:
        status_ = Texts::kCannotOpen + path + Texts::kNotAFile;
        break;
      case FileRead::Refusal::TooLarge:
        status_ = path + "：" + kSnapshotFileTooLarge;
        break;
      default:
        status_ = Texts::kCannotOpen + path + "：" + read.reason;
        break;
    }
    messageBoxes_.message(status_, Texts::kCaption);
    return std::nullopt;
  }
  SnapshotLoad loaded = fromJson(*read.text);
  if (!loaded.snapshot) {
    // The reason may quote the file (a model name, a register name): shown on one line.
    status_ = path + "：" + shownText(loaded.error);
    messageBoxes_.message(status_, Texts::kCaption);
    return std::nullopt;
  }
  return std::move(loaded.snapshot);
}

void SnapshotWindow::openFile(const std::string& path) {
  if (busy() || path.empty()) return;
  std::optional<Snapshot> s = load(path);
  if (!s) return;
  shown_ = std::move(s);
  source_ = path;
  comparisonLines.clear();
  status_ = shown_->model + " 的快照，" + shown_->takenAt;
  const std::string model = modelOf(profile_);
  if (!model.empty() && model != shown_->model)
    status_ += "（当前选择的器件是 " + model + "，不能恢复到芯片）";
}

void SnapshotWindow::saveFile(const std::string& path) {
  if (!canSave() || path.empty()) return;
  const FileWrite written = desktop_.writeFile(path, toJson(*shown_));
  if (!written.ok()) {
    status_ = Texts::kCannotSave + path + "：" + written.failure;
    messageBoxes_.message(status_, Texts::kCaption);
    return;
  }
  status_ = Texts::kSaved + path;
}

void SnapshotWindow::compareWithFile(const std::string& path) {
  if (!canCompare() || path.empty()) return;
  const std::optional<Snapshot> other = load(path);
  if (!other) return;
  if (const auto refusal = comparisonRefusal(*shown_, *other)) {
    status_ = *refusal;
    messageBoxes_.message(status_, Texts::kCaption);
    return;
  }
  showComparison(*shown_, *other,
                 shown_->takenAt + " " + source_ + Texts::kVersus + other->takenAt + " " + path);
  status_ = Texts::kCompared;
}

void SnapshotWindow::showComparison(const Snapshot& before, const Snapshot& after,
                                    const std::string& title) {
  comparisonLines = {title};
  for (std::string& line : describe(compare(before, after))) comparisonLines.push_back(line);
}

void SnapshotWindow::restoreClicked() {
  if (!canRestore()) return;
  const std::string model = selectedModel();
  if (model.empty()) return;
  if (model != shown_->model) {
    status_ = "快照是 " + shown_->model + " 的，当前选择的器件是 " + model + "，不能恢复";
    messageBoxes_.message(status_, Texts::kCaption);
    return;
  }
  if (const auto refusal = valueRefusal(*shown_)) {
    status_ = *refusal;
    messageBoxes_.message(status_, Texts::kCaption);
    return;
  }
  if (!boardReady()) return;
  const std::string question =
      std::string(Texts::kRestoreQuestion) + (shown_->eeprom.empty() ? "" : Texts::kAndEeprom) +
      (restoreClock ? Texts::kWithClock : Texts::kWithoutClock) + Texts::kWillChange;
  if (!messageBoxes_.askYesNo(question, Texts::kCaption)) return;
  // The window may have been closed, or a read started, while the question was open.
  if (busy() || !shown_) return;
  chainModel_ = model;
  // The user's writes wait while the restore has the chip: interleaved, the chip would refuse
  // one or the other. Writes handed over before go out first.
  progress_ = Texts::kRestoring;
  purpose_ = Purpose::Restore;
  awaitingWrites_ = true;
  sequencer_.hold([this] { startRestore(); });
}

void SnapshotWindow::startRestore() {
  awaitingWrites_ = false;
  if (busy() || !shown_) {
    sequencer_.release();
    return;
  }
  purpose_ = Purpose::Restore;
  relockOffer_.reset();
  restoreSteps_ = restorePlan(profile_, *shown_, restoreClock);
  chain_.start(
      chainSteps(restoreSteps_),
      [this] {
        sequencer_.release();
        status_ = Texts::kRestoreDone;
        // A comparison shown before the restore no longer tells what the chip holds: it is made
        // again with the chip as it is now.
        if (!comparisonLines.empty()) readChip(Purpose::AfterRestore);
      },
      [this](const std::string& what) {
        restoreStopped(Texts::kRestoreFailed + what + Texts::kNoAnswer);
        messageBoxes_.message(status_, Texts::kCaption);
      });
}

void SnapshotWindow::restoreStopped(std::string status) {
  sequencer_.release();
  comparisonLines.clear();
  const RestoreLeftover left = restoreLeftover(restoreSteps_, chain_.stepsDone());
  status_ = std::move(status) + "。" + leftoverText(left);
  if (left.protectionLifted || left.writeEnabled) relockOffer_ = left;
}

void SnapshotWindow::offerRelock() {
  const RestoreLeftover left = *std::exchange(relockOffer_, std::nullopt);
  if (!messageBoxes_.askYesNo(Texts::kRelockQuestion, Texts::kCaption)) return;
  if (busy() || modelOf(profile_).empty()) return;
  chainModel_ = modelOf(profile_);
  progress_ = Texts::kRestoring;
  purpose_ = Purpose::Relock;
  awaitingWrites_ = true;
  sequencer_.hold([this, left] {
    awaitingWrites_ = false;
    if (busy()) {
      sequencer_.release();
      return;
    }
    chain_.start(
        chainSteps(relockPlan(profile_, blBefore_, srBefore_, left.protectionLifted)),
        [this] {
          sequencer_.release();
          status_ = Texts::kRelocked;
        },
        [this](const std::string& what) {
          sequencer_.release();
          status_ = Texts::kRelockFailed + what + Texts::kNoAnswer;
          messageBoxes_.message(status_, Texts::kCaption);
        });
  });
}

void SnapshotWindow::cancelClicked() {
  if (!busy()) return;
  if (!chain_.running()) {
    // Still waiting for the writes handed over before: nothing of the restore has gone out.
    awaitingWrites_ = false;
    sequencer_.release();
    status_ = purpose_ == Purpose::Relock ? Texts::kRelockFailed : Texts::kCancelledBeforeWriting;
    return;
  }
  const std::string what = chain_.currentStep();
  const std::string done =
      std::to_string(chain_.stepsDone()) + "/" + std::to_string(chain_.stepsTotal());
  chain_.cancel();
  gathering_.reset();
  switch (purpose_) {
    case Purpose::Show:
    case Purpose::Compare:
      status_ = Texts::kReadCancelled;
      break;
    case Purpose::Restore:
      restoreStopped(std::string(Texts::kRestoreCancelled) + done + Texts::kStoppedAt + what);
      break;
    case Purpose::Relock:
      sequencer_.release();
      status_ = Texts::kRelockFailed + what;
      break;
    case Purpose::AfterRestore:
      comparisonLines.clear();
      status_ = Texts::kRestoreDone;
      break;
  }
}

SnapshotWindow::Progress SnapshotWindow::progress() const {
  if (!chain_.running()) return {};
  return {chain_.stepsDone(), chain_.stepsTotal()};
}

std::string SnapshotWindow::sourceText() const {
  if (!shown_) return {};
  return shown_->model + "  " + shown_->takenAt + "  " + source_;
}

std::string SnapshotWindow::statusText() const {
  if (!busy()) return status_;
  if (!chain_.running()) return progress_ + "…";
  return progress_ + "… " + std::to_string(chain_.stepsDone()) + "/" +
         std::to_string(chain_.stepsTotal());
}

std::vector<SnapshotWindow::Row> SnapshotWindow::rows() const {
  if (!shown_) return {};
  return snapshotRows(*shown_);
}

std::string SnapshotWindow::suggestedFileName() const {
  const PcDate d = pcClock_.today();
  const std::string model = shown_ ? shown_->model : modelOf(profile_);
  return model + "_" + std::to_string(d.year) + twoDigits(d.month) + twoDigits(d.day) + ".json";
}

}  // namespace rtceval
