// The set-time dialog's OK against a plain reference written here: each of the seven texts read as
// the decimal number it begins with, exactly (digit strings, no floating point), checked against
// its bounds as typed in the dialog's order, then rounded half to even and stored as BCD. The
// dialog must show the message of the first field that fails, store the fields before it and no
// others, and on success hand the write to the sequencer, which sends those bytes to the chip after
// unlocking it. Input format: fuzz_input.h, set_time.
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fake_desktop.h"
#include "fake_serial_port.h"
#include "fuzz_input.h"
#include "main_window/main_window.h"
#include "scripted_message_boxes.h"
#include "time_alarms/set_time_dialog.h"
#include "virtual_clock.h"

using namespace rtceval;
using namespace rtceval::fuzz;
using namespace rtceval::testing;
using namespace std::chrono_literals;

namespace {

constexpr MenuId kModels[] = {MenuId::X1226, MenuId::X1227, MenuId::X1228,
                              MenuId::X1205, MenuId::X1208, MenuId::X1209};

// A typed text as the number it begins with: leading blanks and tabs, a sign, digits, a point and
// more digits. Leading zeros of the whole part and trailing zeros of the fraction are dropped.
struct Decimal {
  bool negative = false;
  std::string whole;     // "" for zero
  std::string fraction;  // "" for none
};

Decimal readDecimal(std::string_view text) {
  Decimal d;
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) d.negative = text[i++] == '-';
  const auto isDigit = [&](std::size_t k) {
    return k < text.size() && text[k] >= '0' && text[k] <= '9';
  };
  for (; isDigit(i); ++i)
    if (!d.whole.empty() || text[i] != '0') d.whole += text[i];
  if (i < text.size() && text[i] == '.')
    for (++i; isDigit(i); ++i) d.fraction += text[i];
  while (!d.fraction.empty() && d.fraction.back() == '0') d.fraction.pop_back();
  return d;
}

// The whole part as a number, or nothing when it is far beyond every bound.
std::optional<long> wholeOf(const Decimal& d) {
  if (d.whole.size() > 9) return std::nullopt;
  return d.whole.empty() ? 0L : std::stol(d.whole);
}

// Half to even, by the digits: below .5 down, above .5 up, exactly .5 to the even neighbour.
std::optional<long> rounded(const Decimal& d) {
  const auto whole = wholeOf(d);
  if (!whole) return std::nullopt;
  long magnitude = *whole;
  if (!d.fraction.empty()) {
    const bool half = d.fraction == "5";
    if (d.fraction[0] > '5' || (d.fraction[0] == '5' && !half) || (half && magnitude % 2 == 1))
      ++magnitude;
  }
  return d.negative ? -magnitude : magnitude;
}

// Closer to a bound than double arithmetic can tell apart: within 1e-9 of a half (where rounding
// turns), or of the field's bounds (where the check turns). The dialog reads through doubles and
// the reference through digits, so only such texts may be judged differently.
bool tooCloseToCall(const Decimal& d, long low, long high) {
  const std::string& f = d.fraction;
  if (f.starts_with("499999999") || (f.size() > 1 && f.starts_with("5000000000"))) return true;
  const auto whole = wholeOf(d);
  if (!whole || d.negative) return false;
  const auto near = [&](long bound) {
    return (*whole == bound && f.starts_with("000000000")) ||
           (*whole == bound - 1 && f.starts_with("999999999"));
  };
  return near(low) || near(high);
}

// Every field is checked as typed, as a real number with inclusive bounds, and rounded only after.
bool withinBounds(const Decimal& d, long low, long high) {
  const auto whole = wholeOf(d);
  if (!whole) return false;
  if (d.negative && (*whole != 0 || !d.fraction.empty())) return false;  // below every bound
  return *whole >= low && (*whole < high || (*whole == high && d.fraction.empty()));
}

std::uint8_t bcd(long v) {
  return static_cast<std::uint8_t>((v / 10) << 4 | v % 10);
}

struct Field {
  std::string SetTimeDialog::*text;
  long low;
  long high;
  const char* message;
};

// The fields in the order OK checks them. A month or date of 0 is no date; in the 12-hour format
// the hour runs from 1 to 12.
std::array<Field, 7> fields(bool twelveHour) {
  return {{
      {&SetTimeDialog::yearText, 1900, 2100, "无效的年份"},
      {&SetTimeDialog::monthText, 1, 12, "无效的月份"},
      {&SetTimeDialog::dateText, 1, 31, "无效的日期"},
      {&SetTimeDialog::hourText, twelveHour ? 1 : 0, twelveHour ? 12 : 23, "无效的小时"},
      {&SetTimeDialog::minuteText, 0, 59, "无效的分钟"},
      {&SetTimeDialog::secondText, 0, 59, "无效的秒"},
      {&SetTimeDialog::weekdayText, 0, 6, "无效的星期"},
  }};
}

// The 12-hour tick and the AM/PM choice after the clicks of the click byte: AM and PM can be
// chosen only while 12-hour is ticked.
struct Format {
  bool twelveHour = false;
  bool pm = false;
};
Format formatAfter(std::uint8_t clicks) {
  Format f;
  f.twelveHour = (clicks & set_time::kTickTwelveHour) != 0;
  for (const auto& [bit, toPm] :
       {std::pair{set_time::kClickPm, true}, std::pair{set_time::kClickAm, false},
        std::pair{set_time::kClickPmAgain, true}})
    if ((clicks & bit) && f.twelveHour) f.pm = toPm;
  if (clicks & set_time::kUntickTwelveHour) f.twelveHour = false;
  return f;
}

// The same clicks on the dialog.
void click(MainWindow& window, std::uint8_t clicks) {
  const auto send = [&window](auto handler) { window.dialogHost().send<SetTimeDialog>(handler); };
  if (clicks & set_time::kTickTwelveHour) send([](SetTimeDialog& d) { d.twelveHourClicked(true); });
  if (clicks & set_time::kClickPm) send([](SetTimeDialog& d) { d.pmClicked(); });
  if (clicks & set_time::kClickAm) send([](SetTimeDialog& d) { d.amClicked(); });
  if (clicks & set_time::kClickPmAgain) send([](SetTimeDialog& d) { d.pmClicked(); });
  if (clicks & set_time::kUntickTwelveHour)
    send([](SetTimeDialog& d) { d.twelveHourClicked(false); });
}

// What OK should leave behind: the message shown (if any) and the time record, in the order of
// the time write's data bytes.
struct Expected {
  const char* message = nullptr;
  std::array<std::uint8_t, 7> bytes{};  // second, minute, hour, date, month, year low, weekday
  std::uint8_t century = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  ByteReader in(data, size);
  const std::uint8_t model = in.next() % 6;
  const std::uint8_t clicks = in.next();
  const auto rest = in.rest();
  const std::string_view body(reinterpret_cast<const char*>(rest.data()), rest.size());

  FakeSerialPort port;
  VirtualClock clock;
  ScriptedMessageBoxes messageBoxes;
  FixedPcClock pcClock;
  FakeDesktop desktop;
  MainWindow window(port, clock, clock, messageBoxes, pcClock, desktop);
  window.Form_Load();
  // The board answers the search's probe, so that from here on every request is the dialog's.
  clock.advance(200ms);
  port.receive({0x55, 0x80, 0x00, 0xD5});
  window.menuClick(kModels[model]);
  window.menuClick("SETTIME");
  SetTimeDialog* dialog = window.dialogHost().current<SetTimeDialog>();
  check(dialog != nullptr, "the set-time menu opens the set-time dialog");

  // The texts: those the input gives, the dialog's defaults for the others.
  const Format format = formatAfter(clicks);
  const std::array<Field, 7> rules = fields(format.twelveHour);
  std::array<std::string, 7> texts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (start <= body.size()) {
      const std::size_t end = std::min(body.find('\n', start), body.size());
      dialog->*rules[i].text = std::string(body.substr(start, end - start));
      start = end + 1;
    }
    texts[i] = dialog->*rules[i].text;
  }
  click(window, clicks);

  Expected expected;
  std::array<std::optional<long>, 7> values;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const Decimal d = readDecimal(texts[i]);
    if (tooCloseToCall(d, rules[i].low, rules[i].high)) return 0;
    if (!withinBounds(d, rules[i].low, rules[i].high)) {
      expected.message = rules[i].message;
      break;
    }
    values[i] = rounded(d);
  }
  // Register order of the record: second, minute, hour, date, month, year, weekday.
  const std::size_t order[] = {5, 4, 3, 2, 1, 0, 6};
  for (std::size_t k = 0; k < std::size(order); ++k) {
    const std::size_t field = order[k];
    if (values[field]) expected.bytes[k] = bcd(field == 0 ? *values[field] % 100 : *values[field]);
  }
  if (values[0]) expected.century = bcd(*values[0] / 100);
  if (!expected.message) expected.bytes[2] |= !format.twelveHour ? 0x80 : format.pm ? 0x20 : 0x00;

  const std::size_t writesBefore = port.writes.size();
  window.dialogHost().send<SetTimeDialog>([](SetTimeDialog& d) { d.okClicked(); });

  if (expected.message) {
    check(messageBoxes.shown.size() == 1 && messageBoxes.shown[0].text == expected.message,
          "OK shows the message of the first field that fails");
    check(window.dialogHost().current<SetTimeDialog>() != nullptr,
          "a refused time keeps the dialog");
    check(!window.writeTimer().isEnabled(), "a refused time hands nothing to the sequencer");
  } else {
    if (!messageBoxes.shown.empty()) {
      for (const std::string& text : texts) std::fprintf(stderr, "field [%s]\n", text.c_str());
      std::fprintf(stderr, "shown: %s\n", messageBoxes.shown[0].text.c_str());
    }
    check(messageBoxes.shown.empty(), "an accepted time shows no message");
    check(window.dialogHost().current<SetTimeDialog>() == nullptr, "an accepted time closes");
  }
  const TimeRecord& t = window.records().NewTime;
  const std::array<std::uint8_t, 7> stored = {t.second, t.minute,    t.hour,   t.date,
                                              t.month,  t.yearLow(), t.weekday};
  check(stored == expected.bytes, "the record holds the fields that passed, as BCD");
  check(t.yearHigh() == expected.century, "the record holds the century of a year that passed");
  if (expected.message) return 0;

  // The sequencer unlocks the chip and writes the record; each request is acknowledged as the
  // board would, so the sequence goes on however the link paces its requests.
  const bool layoutA = model < 4;
  const std::vector<std::uint8_t> ack = {0x55, 0x81, 0x01, 0x00, 0xD7};
  for (int step = 0; step < 8 && port.writes.size() - writesBefore < (layoutA ? 3u : 2u); ++step) {
    const std::size_t sent = port.writes.size();
    clock.advance(50ms);
    if (port.writes.size() > sent) port.receive(ack);
  }
  check(port.writes.size() - writesBefore == (layoutA ? 3u : 2u),
        "the write goes out after the unlock steps");
  // 55 00 N, then write, device, address high, address low, count, the data bytes, the sum.
  const std::vector<std::uint8_t>& frame = port.writes.back();
  const std::size_t dataBytes = layoutA ? 8 : 7;
  check(frame.size() == 3 + 5 + dataBytes + 1 && frame[3] == 0x01 && frame[7] == dataBytes,
        "the last request is the time write");
  for (std::size_t k = 0; k < 7; ++k)
    check(frame[8 + k] == expected.bytes[k], "the time write carries the record");
  if (layoutA) check(frame[15] == expected.century, "layout A writes the century byte last");
  return 0;
}
