#include "register_editors/control_panel.h"

#include <initializer_list>

#include "board_link/board_link.h"
#include "board_link/requests.h"
#include "board_link/write_sequencer.h"
#include "core/lenient_number.h"
#include "dialogs/dialog_context.h"
#include "platform/message_boxes.h"

namespace rtceval {
namespace {

using Row = ControlPanel::Row;
constexpr std::initializer_list<std::size_t> kAllBits = {0, 1, 2, 3, 4, 5, 6, 7};

// The bit captions: fixed strings whose blanks put each bit's name over its box. Only SR, INT and
// ATR differ between the layouts.
constexpr const char* kSrBitsA =
    "  BAT      AL1        AL0                                RWEL    WEL    RTCF";
constexpr const char* kSrBitsB =
    "ARST   XTOSCB             WRTC     EVT     ALM      BAT      RTCF";
constexpr const char* kIntBitsA = "    IM      AL1E      AL0E     FO1       FO0";
constexpr const char* kIntBitsB = "    IM     ALME  LPMODE FOBATB  FO3     FO2      FO1       FO0";
constexpr const char* kEvBits = "EVTENB EVBATB RTCHLT EVEN EHYST1 EHYS0 ESMP1 ESMP0";
constexpr const char* kBlBits = "   BP2      BP1      BP0       WD1    WD0";
constexpr std::size_t kAtrBlanksA = 31;
constexpr const char* kAtrBitsA = "ATR5  ATR4   ATR3    ATR2     ART1   ATR0";
constexpr const char* kAtrBitsB = "BMATR1 BMATR0  ATR5  ATR4   ATR3    ATR2     ART1   ATR0";
constexpr std::size_t kDtrBlanks = 70;
constexpr const char* kDtrBits = "DTR2   DTR1   DTR0";

std::string bitCaption(Row row, Layout layout) {
  const bool a = layout == Layout::A;
  switch (row) {
    case Row::SR:
      return a ? kSrBitsA : kSrBitsB;
    case Row::INT:
      return a ? kIntBitsA : kIntBitsB;
    case Row::EV:
      return kEvBits;
    case Row::BL:
      return kBlBits;
    case Row::ATR:
      return a ? std::string(kAtrBlanksA, ' ') + kAtrBitsA : std::string(kAtrBitsB);
    case Row::DTR:
      return std::string(kDtrBlanks, ' ') + kDtrBits;
  }
  return {};
}

ControlPanel::RowControls designRow(RegisterId reg, const char* title) {
  ControlPanel::RowControls row{reg, title, {}, {}, {}, {}};
  row.boxes.fill("0");
  row.boxEnabled.fill(true);
  return row;
}

// A box counts as a bit only when its text reads exactly 0 or 1; a box is never read as more
// than it holds.
bool readsAsBit(const std::string& text) {
  const double value = lenientNumber(text);
  return value == 0.0 || value == 1.0;
}

}  // namespace

ControlPanel::ControlPanel(DialogContext& context)
    : rows{designRow(RegisterId::SR, "SR  (状态)"),   designRow(RegisterId::INT, "INT  (中断)"),
           designRow(RegisterId::EV, "EV  (事件)"),   designRow(RegisterId::BL, "BL   (块锁)"),
           designRow(RegisterId::ATR, "ATR  (模调)"), designRow(RegisterId::DTR, "DTR  (数调)")},
      link_(context.link),
      sequencer_(context.sequencer),
      profile_(context.profile),
      registers_(context.registers),
      messageBoxes_(context.messageBoxes) {}

void ControlPanel::Form_Load() {
  caption = std::string(Texts::kCaption) + Texts::kCaptionSeparator + profile_.name;
  for (std::size_t i = 0; i < kRows; ++i) {
    RowControls& r = rows[i];
    r.bitCaption = bitCaption(static_cast<Row>(i), layout());
    // A register the layout lacks keeps the names its caption shows (EV on layout A, BL on B).
    const RegisterInfo& info = registerOf(r.reg);
    const Layout named =
        info.address(layout()) ? layout() : (layout() == Layout::A ? Layout::B : Layout::A);
    const BitNames& names = info.bits(named);
    for (std::size_t n = 0; n < kBits; ++n)
      r.bitNames[n] = names[n].panel != nullptr ? names[n].panel : "";
  }
  applyEnabling();

  // The control block goes out without a progress text or a time-out of its own; the SR read
  // follows on the write sequencer's next tick, 50 ms later, as the main window's 读SR.
  link_.requestQuietly(requests::readControlBlock(layout()));
  sequencer_.startAtJob(WriteJob::Kind::ReadSR);
}

void ControlPanel::applyEnabling() {
  const DeviceProfile& p = profile_;
  const auto boxes = [this](Row r, std::initializer_list<std::size_t> bits, bool enabled) {
    for (std::size_t n : bits) at(r).boxEnabled[n] = enabled;
  };
  const auto labels = [this](Row r, bool enabled) {
    at(r).titleEnabled = enabled;
    at(r).captionEnabled = enabled;
  };
  const auto buttons = [this](Row r, bool enabled) {
    at(r).readEnabled = enabled;
    at(r).writeEnabled = enabled;
  };

  // The design state, then the layout, then the device and its profile; later steps win.
  for (RowControls& r : rows) {
    r.boxEnabled.fill(true);
    r.titleEnabled = r.captionEnabled = r.readEnabled = r.writeEnabled = true;
  }
  boxes(Row::DTR, {7, 6, 5, 4, 3}, false);
  boxes(Row::BL, {2, 1, 0}, false);
  boxes(Row::SR, {5}, false);
  buttons(Row::EV, false);

  if (layout() == Layout::B) {
    labels(Row::EV, true);
    labels(Row::BL, false);
    boxes(Row::SR, {7, 6, 4, 3, 0}, true);
    boxes(Row::SR, {5}, false);
    boxes(Row::INT, {0, 1, 2}, true);
    boxes(Row::ATR, {6, 7}, true);
    boxes(Row::EV, kAllBits, true);
    buttons(Row::BL, false);
  } else {
    labels(Row::EV, false);
    labels(Row::BL, true);
    boxes(Row::SR, {7, 6, 5, 4, 3, 0}, false);
    boxes(Row::INT, {0, 1, 2}, false);
    boxes(Row::ATR, {6, 7}, false);
  }

  // The event register is read and written on the chip that has it; INT has nothing to read on a
  // chip without interrupts, nor BL on a chip without block protection or watchdog.
  if (p.HasEvent) buttons(Row::EV, true);
  if (!p.HasINT) buttons(Row::INT, false);
  if (!p.HasBP && !p.HasWDT) buttons(Row::BL, false);
  if (!p.HasBP && !p.HasWDT) labels(Row::BL, false);
  if (!p.HasINT) labels(Row::INT, false);
  if (!p.HasEvent) {
    labels(Row::EV, false);
    boxes(Row::EV, kAllBits, false);
  }
  if (!p.HasINT) boxes(Row::INT, {3, 4, 5, 6, 7}, false);
  if (!p.HasWDT) boxes(Row::BL, {3, 4}, false);
  if (!p.HasBP) boxes(Row::BL, {5, 6, 7}, false);
  if (!p.HasFOUT) boxes(Row::INT, {3, 4}, false);
}

void ControlPanel::replyArrived(const ReplyNote& reply) {
  // A rejected reply stored nothing, so the rows stay as they are.
  if (!reply.accepted) return;
  switch (reply.request) {
    case StReadSR:
      // Also the monitor's SR read: the row shows what the indicators show.
      showBits(Row::SR, registers_.RegSR);
      break;
    case StReadCtrlBlock:
    case StReadINT:
    case StReadBL:
    case StReadATR:
    case StReadDTR:
    case StReadEV:
      refreshPanel();
      break;
    default:
      break;
  }
}

void ControlPanel::showBits(Row row, std::uint8_t value) {
  // Disabled boxes too: a write composes all eight, so they carry what the chip last showed.
  for (std::size_t n = 0; n < kBits; ++n) at(row).boxes[n] = ((value >> n) & 1) != 0 ? "1" : "0";
}

void ControlPanel::refreshPanel() {
  // Every control row at once; the program's own texts are always 0 or 1, so no warning follows.
  showBits(Row::INT, registers_.RegINT);
  showBits(Row::EV, registers_.RegEV);
  showBits(Row::DTR, registers_.RegDTR);
  showBits(Row::ATR, registers_.RegATR);
  showBits(Row::BL, registers_.RegBL);
}

void ControlPanel::boxChanged(Row row, std::size_t bit, std::string text) {
  if (bit >= kBits || !at(row).boxEnabled[bit]) return;
  std::string& box = at(row).boxes[bit];
  box = std::move(text);
  // The text stays as typed. Typing warns of a number above 1 only, so that a minus sign or a
  // decimal point on its way to a bit is no interruption; a write still refuses any box that is
  // no bit.
  if (lenientNumber(box) > 1.0) warnInvalidBit();
}

void ControlPanel::readClicked(Row row) {
  const RowControls& r = at(row);
  const auto request = requests::readRegister(layout(), r.reg);
  if (!r.readEnabled || !request) return;
  link_.request(*request);
}

void ControlPanel::writeClicked(Row row) {
  const RowControls& r = at(row);
  const RegisterInfo& reg = registerOf(r.reg);
  if (!r.writeEnabled || !reg.address(layout())) return;
  // A box that is no bit would make the sum something other than the row's bit pattern, or a
  // value that does not fit a byte: the write is refused and the image keeps its value.
  const std::optional<std::uint8_t> value = composeBits(row);
  if (!value) {
    warnInvalidBit();
    return;
  }
  registers_.*reg.image = *value;
  link_.request(*requests::writeRegister(layout(), r.reg, *value));
}

std::optional<std::uint8_t> ControlPanel::composeBits(Row row) const {
  unsigned value = 0;
  for (std::size_t n = 0; n < kBits; ++n) {
    const std::string& box = this->row(row).boxes[n];
    if (!readsAsBit(box)) return std::nullopt;
    if (lenientNumber(box) == 1.0) value |= 1U << n;
  }
  return static_cast<std::uint8_t>(value);
}

void ControlPanel::warnInvalidBit() {
  // Timers, replies and assistive technology go on while the message is open; it shows once.
  if (warningOpen_) return;
  warningOpen_ = true;
  messageBoxes_.message(Texts::kInvalidBit);
  warningOpen_ = false;
}

}  // namespace rtceval
