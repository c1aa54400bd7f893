#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <initializer_list>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/session.h"
#include "core/shown_text.h"
#include "platform/files.h"
#include "platform/pc_clock.h"
#include "snapshot/request_chain.h"
#include "snapshot/snapshot_file.h"
#include "snapshot/snapshot_plan.h"
#include "snapshot/snapshot_window.h"

namespace rtceval::cli {
namespace {

using namespace std::chrono_literals;
using SnapshotTexts = SnapshotWindow::Texts;

std::string twoDigits(int v) {
  return std::string(1, static_cast<char>('0' + v / 10 % 10)) + static_cast<char>('0' + v % 10);
}

// A bit the register map leaves unnamed ("位n" in the window) as plain ASCII for JSON.
std::string asciiBit(const std::string& name) {
  static const std::string kUnnamed = "位";
  return name.starts_with(kUnnamed) ? "bit" + name.substr(kUnnamed.size()) : name;
}

// The plan names the clock's step in the window's words; JSON keeps to ASCII.
std::string asciiStep(const std::string& what) {
  for (const char c : what)
    if (static_cast<unsigned char>(c) >= 0x80) return "clock";
  return what;
}

// The comparison without the registers of `model` in the groups `skipped` holds.
void leaveOut(Comparison& c, const std::string& model,
              std::initializer_list<RegisterGroup> skipped) {
  const std::vector<SnapshotSlot> slots = snapshotSlots(model);
  std::erase_if(c.registers, [&](const RegisterDifference& r) {
    for (const SnapshotSlot& slot : slots)
      if (slot.name == r.name)
        return std::find(skipped.begin(), skipped.end(), slot.group) != skipped.end();
    return false;
  });
}

// One try of a plan step: its requests one after another, each awaiting its reply. A block read
// whose reply lacks bytes counts as refused.
int tryStep(Session& session, const SnapshotStep& step) {
  if (step.intoImage) step.intoImage(session.registers, session.records);
  for (const Request& request : step.requests)
    if (const int done = session.transact(request); done != kDone) return done;
  if (!replyComplete(step, session.reads)) {
    session.out().error(step.what + SnapshotTexts::kNoAnswer);
    return kRefused;
  }
  return kDone;
}

// One step of a plan, then the time the chip needs before the next. A step that got no reply or
// was refused is sent again after a pause, as often as the snapshot window's chain sends it: a
// chip busy with a write cycle does not answer, and a reply may be lost on the line. An
// interruption is never tried again.
int runStep(Session& session, const SnapshotStep& step) {
  int done = kDone;
  for (int retry = 0; retry <= RequestChain::kRetries; ++retry) {
    if (retry > 0 && !session.pause(RequestChain::kRetryPause)) return kInterrupted;
    if (session.interrupted()) return kInterrupted;
    done = tryStep(session, step);
    if (done != kRefused && done != kNoBoard) break;
  }
  if (done != kDone) return done;
  if (step.pauseAfter > 0ms && !session.pause(step.pauseAfter)) return kInterrupted;
  return kDone;
}

// snapshot save FILE / snapshot compare FILE / snapshot restore FILE [--with-clock]: the files
// of the register snapshot window, its read and restore plans.
class SnapshotCommand : public Command {
 public:
  void define(CLI::App& app) override {
    save_ = app.add_subcommand("save", "Read everything the chip holds into a snapshot file");
    save_->add_option("file", file_, "The snapshot file (JSON)")->required();
    compare_ = app.add_subcommand("compare", "Compare the chip with a snapshot file (4: differs)");
    compare_->add_option("file", file_, "The snapshot file (JSON)")->required();
    compare_->add_flag("--with-clock", withClock_, "Compare the clock's registers too");
    restore_ = app.add_subcommand("restore", "Write a snapshot file back to the chip and verify");
    restore_->add_option("file", file_, "The snapshot file (JSON)")->required();
    restore_->add_flag("--with-clock", withClock_, "Write the file's clock too");
    app.require_subcommand(1);
  }

  std::string check(const DeviceProfile& profile) override {
    model_ = modelOf(profile);
    return {};
  }

  int prepare(Files& files, Output& out) override {
    if (save_->parsed()) return kDone;
    const FileRead read = files.readFile(file_, kMaxSnapshotFileBytes);
    if (!read.text) {
      switch (read.refusal) {
        case FileRead::Refusal::NotAFile:
          out.error(SnapshotTexts::kCannotOpen + file_ + SnapshotTexts::kNotAFile);
          break;
        case FileRead::Refusal::TooLarge:
          out.error(file_ + "：" + kSnapshotFileTooLarge);
          break;
        default:
          out.error(SnapshotTexts::kCannotOpen + file_ + "：" + read.reason);
          break;
      }
      return kUsage;
    }
    SnapshotLoad loaded = fromJson(*read.text);
    if (!loaded.snapshot) {
      out.error(file_ + "：" + shownText(loaded.error));
      return kUsage;
    }
    fileSnapshot_ = std::move(loaded.snapshot);
    if (fileSnapshot_->model != model_) {
      out.error("快照是 " + fileSnapshot_->model + " 的，当前选择的器件是 " + model_ +
                (restore_->parsed() ? "，不能恢复" : "，不能与芯片比较"));
      return kUsage;
    }
    if (restore_->parsed())
      if (const auto refusal = valueRefusal(*fileSnapshot_)) {
        out.error(*refusal);
        return kUsage;
      }
    return kDone;
  }

  int run(Session& session) override {
    if (save_->parsed()) return save(session);
    if (compare_->parsed()) return compareWithChip(session);
    return restore(session);
  }

 private:
  // Everything the chip holds, read with the window's plan (the EEPROM a page per request).
  static int readChip(Session& session, const std::string& model, std::optional<Snapshot>& read) {
    const PcDate d = session.seams().pcClock.today();
    const std::string takenAt = std::to_string(d.year) + "-" + twoDigits(d.month) + "-" +
                                twoDigits(d.day) + " " + session.seams().pcClock.timeOfDayText();
    SnapshotGathering gathering(model, session.layout());
    for (const SnapshotStep& step : readPlan(session.profile())) {
      if (const int done = runStep(session, step); done != kDone) return done;
      gathering.take(step, session.reads, session.registers, session.records);
    }
    read = gathering.snapshot(takenAt, RTCEVAL_VERSION);
    return kDone;
  }

  int save(Session& session) {
    std::optional<Snapshot> read;
    if (const int done = readChip(session, model_, read); done != kDone) return done;
    if (const FileWrite w = session.seams().files.writeFile(file_, toJson(*read)); !w.ok()) {
      session.out().error(SnapshotTexts::kCannotSave + file_ + "：" + w.failure);
      return kUsage;
    }
    session.out().result({{"file", file_},
                          {"model", read->model},
                          {"registers", read->registers.size()},
                          {"eeprom_bytes", read->eeprom.size()}},
                         SnapshotTexts::kSaved + file_);
    return kDone;
  }

  // The differences of the chip from the file, as JSON and as the window's lines.
  static nlohmann::json differencesJson(const Comparison& c) {
    nlohmann::json registers = nlohmann::json::array();
    for (const RegisterDifference& r : c.registers) {
      nlohmann::json bits = nlohmann::json::array();
      for (const std::string& b : r.bits) bits.push_back(asciiBit(b));
      registers.push_back({{"name", r.name},
                           {"address", r.address},
                           {"file", r.before},
                           {"chip", r.after},
                           {"bits", bits}});
    }
    nlohmann::json eeprom = nlohmann::json::array();
    for (const EepromDifference& e : c.eeprom)
      eeprom.push_back({{"address", e.address}, {"file", e.before}, {"chip", e.after}});
    return {{"registers", registers}, {"eeprom", eeprom}};
  }

  int compareWithChip(Session& session) {
    std::optional<Snapshot> read;
    if (const int done = readChip(session, model_, read); done != kDone) return done;
    Comparison c = compare(*fileSnapshot_, *read);
    // The clock has run on since the file was taken.
    if (!withClock_) leaveOut(c, model_, {RegisterGroup::Clock});
    nlohmann::json fields = differencesJson(c);
    fields["file"] = file_;
    fields["same"] = c.same();
    std::string text = fileSnapshot_->takenAt + " " + file_ + SnapshotTexts::kVersus +
                       read->takenAt + " " + SnapshotTexts::kFromChip;
    for (const std::string& line : describe(c)) text += "\n" + line;
    session.out().result(fields, text);
    return c.same() ? kDone : kDiffers;
  }

  int restore(Session& session) {
    const std::vector<SnapshotStep> plan =
        restorePlan(session.profile(), *fileSnapshot_, withClock_);
    for (std::size_t done = 0; done < plan.size(); ++done) {
      if (const int status = runStep(session, plan[done]); status != kDone)
        return restoreStopped(session, plan, done, status);
      if (plan[done].role == SnapshotStep::Role::ReadsBefore) {
        // The reply has put the register in the image: a stopped restore writes it back so.
        blBefore_ = session.registers.RegBL;
        srBefore_ = session.registers.RegSR;
      }
    }
    // What the chip holds now against the file: the clock runs on, and SR keeps the chip's own
    // flags, so these are left out.
    std::optional<Snapshot> read;
    if (const int done = readChip(session, model_, read); done != kDone) return done;
    Comparison c = compare(*fileSnapshot_, *read);
    leaveOut(c, model_, {RegisterGroup::Clock, RegisterGroup::Status});
    nlohmann::json fields = differencesJson(c);
    fields["file"] = file_;
    fields["with_clock"] = withClock_;
    fields["steps"] = plan.size();
    fields["verified"] = c.same();
    session.out().result(fields, SnapshotTexts::kRestoreDone);
    if (!c.same()) {
      std::string text = "read back differs:";
      for (const std::string& line : describe(c)) text += "\n" + line;
      session.out().error(text);
      return kDiffers;
    }
    return kDone;
  }

  // Says how far a stopped restore got and what it left on the chip, in the window's words.
  int restoreStopped(Session& session, const std::vector<SnapshotStep>& plan, std::size_t done,
                     int status) {
    const std::string& what = plan[done].what;
    std::string text = status == kInterrupted
                           ? SnapshotTexts::kRestoreCancelled + std::to_string(done) + "/" +
                                 std::to_string(plan.size()) + SnapshotTexts::kStoppedAt + what
                           : SnapshotTexts::kRestoreFailed + what + SnapshotTexts::kNoAnswer;
    const RestoreLeftover left = restoreLeftover(plan, done);
    session.out().error(text + "。" + leftoverText(left, " snapshot restore "));
    const bool relocked = (left.protectionLifted || left.writeEnabled) && relock(session, left);
    nlohmann::json written = nlohmann::json::array();
    for (const std::string& r : left.registersWritten) written.push_back(asciiStep(r));
    if (session.out().json())
      session.out().result({{"file", file_},
                            {"steps_done", done},
                            {"steps", plan.size()},
                            {"stopped_at", asciiStep(what)},
                            {"protection_lifted", left.protectionLifted},
                            {"write_enabled", left.writeEnabled},
                            {"eeprom_written", left.eepromWritten},
                            {"registers_written", written},
                            {"relocked", relocked}},
                           {});
    return status;
  }

  // Puts block protection and the write enables back as the chip had them before the restore.
  // The window asks first; a script cannot answer, so it is done and said. An interruption
  // stopped the restore, not this: a further one stops it too.
  bool relock(Session& session, const RestoreLeftover& left) const {
    session.clearInterrupt();
    for (const SnapshotStep& step :
         relockPlan(session.profile(), blBefore_, srBefore_, left.protectionLifted))
      if (const int status = runStep(session, step); status != kDone) {
        session.out().error(SnapshotTexts::kRelockFailed + step.what +
                            (status == kInterrupted ? "" : SnapshotTexts::kNoAnswer));
        return false;
      }
    session.out().error(SnapshotTexts::kRelocked);
    return true;
  }

  CLI::App* save_ = nullptr;
  CLI::App* compare_ = nullptr;
  CLI::App* restore_ = nullptr;
  std::string file_;
  bool withClock_ = false;
  std::string model_;
  std::optional<Snapshot> fileSnapshot_;
  // BL and SR as the chip held them before the restore wrote anything.
  std::uint8_t blBefore_ = 0;
  std::uint8_t srBefore_ = 0;
};

}  // namespace

std::unique_ptr<Command> makeSnapshotCommand() {
  return std::make_unique<SnapshotCommand>();
}

}  // namespace rtceval::cli
