#include "snapshot/snapshot_window.h"

#include <chrono>

#include "board_link/board_link.h"
#include "board_link/chip_commands.h"
#include "board_link/write_sequencer.h"
#include "core/chip_reads.h"
#include "core/protocol.h"
#include "core/register_image.h"
#include "core/register_map.h"
#include "core/time_record.h"
#include "core/value_codecs.h"
#include "dialogs/dialog_context.h"
#include "dialogs/sub_form_ids.h"
#include "platform/desktop.h"
#include "platform/message_boxes.h"
#include "platform/pc_clock.h"
#include "snapshot/snapshot_file.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using protocol::CMD_READ;
using protocol::CMD_WRITE;
using protocol::DEV_CCR;
using protocol::DEV_EEPROM;
using Step = RequestChain::Step;

constexpr const char* kProgramVersion = RTCEVAL_VERSION;
constexpr const char* kTextReadAl0 = "读AL0";
constexpr const char* kTextReadAl1 = "读AL1";
constexpr const char* kTextReadControl = "读控制寄存器";
constexpr const char* kTextReadUser = "读用户寄存器";
constexpr const char* kTextReadMemory = "读存储器";
constexpr const char* kTextWriteUser = "写用户寄存器";
constexpr const char* kTextWriteMemory = "写存储器";
// EEPROM bytes per write: within one 64-byte page, and a request frame holds them.
constexpr std::size_t kEepromChunk = 16;
// The chip does not answer while a write cycle runs (up to 10 ms).
constexpr Millis kWriteCycle = 20ms;
constexpr std::size_t kEepromBytesPerRow = 16;

std::string hex(std::uint8_t b) {
  return "0x" + HexByte(b);
}

std::string eepromAddress(std::size_t a) {
  return "0x" + HexByte(static_cast<std::uint8_t>(a >> 8)) +
         HexByte(static_cast<std::uint8_t>(a & 0xFF));
}

std::string twoDigits(int v) {
  return std::string(1, static_cast<char>('0' + v / 10 % 10)) + static_cast<char>('0' + v % 10);
}

// The value's bits in two groups of four, with the names of the bits that are set.
std::string bitsText(const std::string& model, const std::string& name, std::uint8_t value) {
  std::string binary;
  std::string named;
  for (int bit = 7; bit >= 0; --bit) {
    const bool set = ((value >> bit) & 1) != 0;
    binary += set ? '1' : '0';
    if (bit == 4) binary += ' ';
    const std::string n = bitName(model, name, bit);
    if (set && n.rfind("位", 0) != 0) named += (named.empty() ? "" : " ") + n;
  }
  return named.empty() ? binary : binary + "  " + named;
}

std::uint8_t blockProtectMask(Layout layout) {
  std::uint8_t mask = 0;
  const BitNames& bits = registerOf(RegisterId::BL).bits(layout);
  for (std::size_t n = 0; n < bits.size(); ++n)
    if (bits[n].dialog && std::string_view(bits[n].dialog).substr(0, 2) == "BP")
      mask |= static_cast<std::uint8_t>(1U << n);
  return mask;
}

}  // namespace

SnapshotWindow::SnapshotWindow(DialogContext& context)
    : link_(context.link),
      commands_(context.commands),
      sequencer_(context.sequencer),
      profile_(context.profile),
      registers_(context.registers),
      records_(context.records),
      reads_(context.reads),
      messageBoxes_(context.messageBoxes),
      desktop_(context.desktop),
      pcClock_(context.pcClock),
      chain_(context.timers) {}

int SnapshotWindow::number() const {
  return tool_window::kSnapshot;
}

void SnapshotWindow::Form_Load() {
  status_ = Texts::kNothingShown;
}

void SnapshotWindow::unload() {
  chain_.cancel();
}

void SnapshotWindow::replyArrived(CmdStateCode request, bool accepted) {
  // Addresses and layouts belong to the model the chain started with: a model picked meanwhile
  // stops it rather than mixing two chips' registers.
  if (busy() && modelOf(profile_) != chainModel_) {
    chain_.cancel();
    status_ = Texts::kModelChanged;
    messageBoxes_.message(status_, Texts::kCaption);
    return;
  }
  chain_.replyArrived(request, accepted);
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

std::vector<Step> SnapshotWindow::readSteps(std::vector<std::uint8_t>& values,
                                            std::vector<std::uint8_t>& eeprom) {
  const Layout layout = layoutOf(profile_.Is1208Family);
  const std::string model = modelOf(profile_);
  const std::vector<SnapshotSlot> slots = snapshotSlots(model);
  values.assign(slots.size(), 0);
  eeprom.assign(eepromSizeOf(model), 0);
  // Where each group's bytes go in the register list.
  const auto put = [&values, slots](RegisterGroup group, const std::vector<std::uint8_t>& bytes) {
    std::size_t k = 0;
    for (std::size_t i = 0; i < slots.size() && k < bytes.size(); ++i)
      if (slots[i].group == group) values[i] = bytes[k++];
  };
  const auto blockRead = [this](RegisterBlock block, CmdStateCode state, const char* text) {
    return [this, block, state, text] {
      link_.request({CMD_READ, DEV_CCR, 0x00, block.address, block.count}, state, text);
    };
  };

  std::vector<Step> steps;
  steps.push_back(
      {"时钟", [this] { commands_.CmdReadTime(); }, StReadTime,
       [this, put, layout] { put(RegisterGroup::Clock, clockBytes(reads_.time, layout)); }});
  if (profile_.HasAlarm0)
    steps.push_back({"AL0", blockRead(alarm0Block(layout), StReadAL0, kTextReadAl0), StReadAL0,
                     [this, put, layout] {
                       put(RegisterGroup::Alarm0, alarmBytes(records_.Alarm0Regs, layout));
                     }});
  if (profile_.HasAlarm1)
    if (const auto block = alarm1Block(layout))
      steps.push_back(
          {"AL1", blockRead(*block, StReadAL1, kTextReadAl1), StReadAL1, [this, put, layout] {
             put(RegisterGroup::Alarm1, alarmBytes(records_.Alarm1Regs, layout));
           }});
  steps.push_back({"SR", [this] { commands_.CmdGetSR(); }, StReadSR,
                   [this, put] { put(RegisterGroup::Status, {registers_.RegSR}); }});
  steps.push_back({"INT/ATR/DTR",
                   blockRead(controlBlock(layout), StReadCtrlBlock, kTextReadControl),
                   StReadCtrlBlock, [this, put, layout] {
                     std::vector<std::uint8_t> bytes;
                     for (RegisterId id : controlBlockOrder(layout))
                       bytes.push_back(registers_.*registerOf(id).image);
                     put(RegisterGroup::Control, bytes);
                   }});
  if (profile_.HasUserReg)
    if (const auto block = userRegisterBlock(layout))
      steps.push_back(
          {"USR1/USR2", blockRead(*block, StReadUR, kTextReadUser), StReadUR, [this, put] {
             put(RegisterGroup::User, {reads_.userRegisters[0], reads_.userRegisters[1]});
           }});
  for (std::size_t a = 0; a < eeprom.size(); ++a) {
    const auto high = static_cast<std::uint8_t>(a >> 8);
    const auto low = static_cast<std::uint8_t>(a & 0xFF);
    steps.push_back(
        {"EEPROM " + eepromAddress(a),
         [this, high, low] {
           link_.request({CMD_READ, DEV_EEPROM, high, low, 1}, StReadMem, kTextReadMemory);
         },
         StReadMem, [this, &eeprom, a] { eeprom[a] = reads_.memoryByte; }});
  }
  return steps;
}

void SnapshotWindow::readChip(Purpose purpose) {
  const std::string model = selectedModel();
  if (model.empty() || !boardReady()) return;
  progress_ = Texts::kReading;
  chainModel_ = model;
  const std::string taken = now();
  chain_.start(
      readSteps(values_, eeprom_),
      [this, purpose, model, taken] {
        Snapshot s{model, taken, kProgramVersion, {}, eeprom_};
        const std::vector<SnapshotSlot> slots = snapshotSlots(model);
        for (std::size_t i = 0; i < slots.size(); ++i)
          s.registers.push_back({slots[i].name, slots[i].address, values_[i]});
        if (purpose == Purpose::Show) {
          shown_ = std::move(s);
          source_ = Texts::kFromChip;
          comparisonLines.clear();
          status_ = Texts::kReadDone;
        } else {
          showComparison(
              *shown_, s,
              shown_->takenAt + " " + source_ + Texts::kVersus + taken + " " + Texts::kFromChip);
          status_ = Texts::kCompared;
        }
      },
      [this](const std::string& what) {
        status_ = Texts::kReadFailed + what + Texts::kNoAnswer;
        messageBoxes_.message(status_, Texts::kCaption);
      });
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
  const std::optional<std::string> text = desktop_.readText(path);
  if (!text) {
    status_ = Texts::kCannotOpen + path;
    messageBoxes_.message(status_, Texts::kCaption);
    return std::nullopt;
  }
  SnapshotLoad loaded = fromJson(*text);
  if (!loaded.snapshot) {
    status_ = path + "：" + loaded.error;
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
  if (!desktop_.writeText(path, toJson(*shown_))) {
    status_ = Texts::kCannotSave + path;
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

std::vector<Step> SnapshotWindow::restoreSteps(const Snapshot& s) {
  const Layout layout = layoutOf(profile_.Is1208Family);
  const auto writeJob = [this](std::string what, CmdStateCode job, std::function<void()> fill) {
    return Step{std::move(what),
                [this, job, fill] {
                  // The value goes into the image just before the job, so that a read of the
                  // same register meanwhile cannot overwrite it.
                  fill();
                  sequencer_.start(job);
                },
                job,
                {},
                {}};
  };
  std::vector<Step> steps;
  const std::vector<std::uint8_t> control = groupValues(s, RegisterGroup::Control);
  const auto order = controlBlockOrder(layout);

  if (!s.eeprom.empty()) {
    // Block protection would refuse the array's bytes: it is lifted first and set again with the
    // control block below.
    for (std::size_t i = 0; i < order.size(); ++i) {
      if (order[i] != RegisterId::BL) continue;
      const auto value = static_cast<std::uint8_t>(control[i] & ~blockProtectMask(layout));
      steps.push_back(writeJob("BL", StWriteBL, [this, value] { registers_.RegBL = value; }));
    }
    for (std::size_t a = 0; a < s.eeprom.size(); a += kEepromChunk) {
      const std::string where = "EEPROM " + eepromAddress(a);
      std::vector<std::uint8_t> payload = {CMD_WRITE, DEV_EEPROM, static_cast<std::uint8_t>(a >> 8),
                                           static_cast<std::uint8_t>(a & 0xFF),
                                           static_cast<std::uint8_t>(kEepromChunk)};
      payload.insert(payload.end(), s.eeprom.begin() + static_cast<std::ptrdiff_t>(a),
                     s.eeprom.begin() + static_cast<std::ptrdiff_t>(a + kEepromChunk));
      // The array takes data only while the chip is unlocked, and each write cycle locks it.
      steps.push_back({"WEL", [this] { commands_.CmdSetWEL(); }, StWriteWEL, {}, {}});
      steps.push_back({"RWEL", [this] { commands_.CmdSetRWEL(); }, StWriteRWEL, {}, {}});
      steps.push_back({where,
                       [this, payload] { link_.request(payload, StWriteMem, kTextWriteMemory); },
                       StWriteMem,
                       {},
                       kWriteCycle});
    }
  }
  for (std::size_t i = 0; i < order.size(); ++i) {
    const RegisterInfo& reg = registerOf(order[i]);
    const std::uint8_t value = control[i];
    const auto image = reg.image;
    steps.push_back(
        writeJob(reg.name, reg.write.state, [this, image, value] { registers_.*image = value; }));
  }
  if (profile_.HasAlarm0) {
    const TimeRecord alarm = recordOf(groupValues(s, RegisterGroup::Alarm0), layout, true);
    steps.push_back(writeJob("AL0", StWriteAL0, [this, alarm] { records_.Alarm0Regs = alarm; }));
  }
  if (profile_.HasAlarm1 && alarm1Block(layout)) {
    const TimeRecord alarm = recordOf(groupValues(s, RegisterGroup::Alarm1), layout, true);
    steps.push_back(writeJob("AL1", StWriteAL1, [this, alarm] { records_.Alarm1Regs = alarm; }));
  }
  if (profile_.HasUserReg)
    if (const auto block = userRegisterBlock(layout)) {
      const std::vector<std::uint8_t> user = groupValues(s, RegisterGroup::User);
      std::vector<std::uint8_t> payload = {CMD_WRITE, DEV_CCR, 0x00, block->address, block->count};
      payload.insert(payload.end(), user.begin(), user.end());
      steps.push_back({"USR1/USR2",
                       [this, payload] { link_.request(payload, StWriteUR, kTextWriteUser); },
                       StWriteUR,
                       {},
                       {}});
    }
  // SR last: it locks the chip again as the snapshot had it.
  const RegisterInfo& sr = registerOf(RegisterId::SR);
  const std::uint8_t status =
      statusRestoreValue(groupValues(s, RegisterGroup::Status).at(0), layout);
  const std::uint8_t srAddress = *sr.address(layout);
  if (restoreClock) {
    const TimeRecord time = recordOf(groupValues(s, RegisterGroup::Clock), layout, false);
    steps.push_back(writeJob("时钟", StWriteTime, [this, time] { records_.NewTime = time; }));
  }
  steps.push_back({sr.name,
                   [this, srAddress, status, &sr] {
                     link_.WriteReg(srAddress, status, sr.write.state, sr.write.text);
                   },
                   sr.write.state,
                   {},
                   {}});
  return steps;
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
  if (!boardReady()) return;
  const std::string question =
      std::string(Texts::kRestoreQuestion) + (shown_->eeprom.empty() ? "" : Texts::kAndEeprom) +
      (restoreClock ? Texts::kWithClock : Texts::kWithoutClock) + Texts::kWillChange;
  if (!messageBoxes_.askYesNo(question, Texts::kCaption)) return;
  // The window may have been closed, or a read started, while the question was open.
  if (busy() || !shown_) return;
  progress_ = Texts::kRestoring;
  chainModel_ = model;
  chain_.start(
      restoreSteps(*shown_), [this] { status_ = Texts::kRestoreDone; },
      [this](const std::string& what) {
        status_ = Texts::kRestoreFailed + what + Texts::kNoAnswer;
        messageBoxes_.message(status_, Texts::kCaption);
      });
}

std::string SnapshotWindow::sourceText() const {
  if (!shown_) return {};
  return shown_->model + "  " + shown_->takenAt + "  " + source_;
}

std::string SnapshotWindow::statusText() const {
  if (!busy()) return status_;
  return progress_ + "… " + std::to_string(chain_.stepsDone()) + "/" +
         std::to_string(chain_.stepsTotal());
}

std::vector<SnapshotWindow::Row> SnapshotWindow::rows() const {
  std::vector<Row> out;
  if (!shown_) return out;
  for (const SnapshotRegister& r : shown_->registers)
    out.push_back({hex(r.address), r.name, hex(r.value), bitsText(shown_->model, r.name, r.value)});
  for (std::size_t a = 0; a < shown_->eeprom.size(); a += kEepromBytesPerRow) {
    std::string bytes;
    for (std::size_t k = a; k < a + kEepromBytesPerRow && k < shown_->eeprom.size(); ++k)
      bytes += (k > a ? " " : "") + HexByte(shown_->eeprom[k]);
    out.push_back({eepromAddress(a), "EEPROM", bytes, {}});
  }
  return out;
}

std::string SnapshotWindow::suggestedFileName() const {
  const PcDate d = pcClock_.today();
  const std::string model = shown_ ? shown_->model : modelOf(profile_);
  return model + "_" + std::to_string(d.year) + twoDigits(d.month) + twoDigits(d.day) + ".json";
}

}  // namespace rtceval
