// The writes the dialogs hand to the write sequencer, for every dialog and both register layouts:
// nothing goes out from the dialog itself, then the unlock steps and the write follow one per
// 50 ms tick, and the sequencer stops after the write.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "register_editors/analog_trim_dialog.h"
#include "register_editors/bit_field_dialogs.h"
#include "register_editors/digital_trim_dialog.h"
#include "time_alarms/alarm_dialog.h"
#include "time_alarms/set_time_dialog.h"
#include "window_bench.h"

namespace rtceval::testing {
namespace {

// An alarm read back as the alarm dialogs open with it: 11:00:05 on 2004-05-25, weekday 2, the
// 12-hour AM hour, every field enabled; six bytes on layout B.
const Bytes kAlarmReadA = dataReply({0x85, 0x80, 0x91, 0xA5, 0x85, 0x04, 0x82, 0x20});
const Bytes kAlarmReadB = dataReply({0x85, 0x80, 0x91, 0xA5, 0x85, 0x82});

template <class Dialog, class Handler>
void user(WindowBench& b, Handler handler) {
  b.window.dialogHost().send<Dialog>(handler);
}
template <class Dialog>
void ok(WindowBench& b) {
  user<Dialog>(b, [](Dialog& d) { d.okClicked(); });
}
void set(WindowBench& b) {
  user<AlarmDialog>(b, [](AlarmDialog& d) { d.setClicked(); });
}
// Opens a dialog after putting `value` into the image byte it edits.
void open(WindowBench& b, const char* entry, std::uint8_t RegisterImage::*image,
          std::uint8_t value) {
  b.window.registers().*image = value;
  b.window.menuClick(entry);
}
void tick(WindowBench& b, const char* boxes) {  // bit-field boxes, 'x' ticked
  for (std::size_t i = 0; boxes[i] != '\0'; ++i)
    user<BitFieldDialog>(b, [i, on = boxes[i] == 'x'](BitFieldDialog& d) { d.boxClicked(i, on); });
}

// What the user does before OK, one per row below.
void interruptIm(WindowBench& b) {
  open(b, "mINT", &RegisterImage::RegINT, 0x18);
  tick(b, "x...--");
}
void eventEnables(WindowBench& b) {
  open(b, "mEVENT", &RegisterImage::RegEV, 0x00);
  tick(b, "-x-----x");
}
void dtrPlus30(WindowBench& b) {
  open(b, "DTR", &RegisterImage::RegDTR, 0x05);
  user<DigitalTrimDialog>(b, [](DigitalTrimDialog& d) {
    d.dtr1Clicked(true);
    d.dtr2Clicked(false);
  });
}
void dtrAsRead(WindowBench& b) {
  open(b, "DTR", &RegisterImage::RegDTR, 0x02);
}
void atrWithBmatrClicked(WindowBench& b) {  // BMATR is disabled on layout A
  open(b, "ATR", &RegisterImage::RegATR, 0xC5);
  user<AnalogTrimDialog>(b, [](AnalogTrimDialog& d) { d.bmatr1Clicked(true); });
}
void atrAsRead(WindowBench& b) {
  open(b, "ATR", &RegisterImage::RegATR, 0xC5);
}
void alarm0WithoutDate(WindowBench& b) {
  b.window.menuClick("ALARM1");
  b.port.receive(kAlarmReadA);
  user<AlarmDialog>(b, [](AlarmDialog& d) {
    d.enableClicked(AlarmDialog::Date, false);
    d.enableClicked(AlarmDialog::Weekday, false);
  });
}
void alarm1AllOffIn2100(WindowBench& b) {
  b.window.menuClick("ALARM2");
  b.port.receive(kAlarmReadA);
  user<AlarmDialog>(b, [](AlarmDialog& d) {
    for (std::size_t i = 0; i < AlarmDialog::FieldCount; ++i)
      d.enableClicked(static_cast<AlarmDialog::Field>(i), false);
    d.yearText = "2100";
  });
}
void alarm0OnSaturday(WindowBench& b) {
  b.window.menuClick("ALARM1");
  b.port.receive(kAlarmReadB);
  user<AlarmDialog>(b, [](AlarmDialog& d) { d.fields[AlarmDialog::Weekday].text = "6"; });
}
void timeDefaults(WindowBench& b) {
  b.window.menuClick("SETTIME");
}
void timeAt23(WindowBench& b) {
  b.window.menuClick("SETTIME");
  user<SetTimeDialog>(b, [](SetTimeDialog& d) { d.hourText = "23"; });
}

struct WriteCase {
  struct Action {
    const char* name;
    MenuId model;
    void (*prepare)(WindowBench&);
    void (*confirm)(WindowBench&);
    bool staysOpen;
  } action;
  std::vector<Bytes> frames;  // one per tick from the first on
};
void PrintTo(const WriteCase& c, std::ostream* os) {
  *os << c.action.name;
}

const WriteCase kWrites[] = {
    {{"InterruptOnX1228", MenuId::X1228, interruptIm, ok<BitFieldDialog>, true},
     {kWelA, kRwelA, {0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x11, 0x01, 0x98, 0x75}}},
    {{"EventOnX1209", MenuId::X1209, eventEnables, ok<BitFieldDialog>, true},
     {kWrtcB, {0x55, 0x00, 0x06, 0x01, 0x6F, 0xFF, 0x09, 0x01, 0x81, 0x55}}},
    {{"DigitalTrimOnX1226", MenuId::X1226, dtrPlus30, ok<DigitalTrimDialog>, true},
     {kWelA, kRwelA, {0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x13, 0x01, 0x03, 0xE2}}},
    {{"DigitalTrimOnX1208", MenuId::X1208, dtrAsRead, ok<DigitalTrimDialog>, true},
     {kWrtcB, {0x55, 0x00, 0x06, 0x01, 0x6F, 0xFF, 0x0B, 0x01, 0x02, 0xD8}}},
    {{"AnalogTrimOnX1228", MenuId::X1228, atrWithBmatrClicked, ok<AnalogTrimDialog>, true},
     {kWelA, kRwelA, {0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x12, 0x01, 0x05, 0xE3}}},
    {{"AnalogTrimOnX1209", MenuId::X1209, atrAsRead, ok<AnalogTrimDialog>, true},
     {kWrtcB, {0x55, 0x00, 0x06, 0x01, 0x6F, 0xFF, 0x0A, 0x01, 0xC5, 0x9A}}},
    // Second 05, minute 00, hour 11 (12-hour AM), date 25, month 5, year 04, weekday 2,
    // century 20, with date and weekday left out of the comparison.
    {{"AlarmZeroOnX1226", MenuId::X1226, alarm0WithoutDate, set, true},
     {kWelA,
      kRwelA,
      {0x55, 0x00, 0x0D, 0x01, 0x6F, 0x00, 0x00, 0x08, 0x85, 0x80, 0x91, 0x25, 0x85, 0x04, 0x02,
       0x20, 0x40}}},
    {{"AlarmOneOnX1228", MenuId::X1228, alarm1AllOffIn2100, set, true},
     {kWelA,
      kRwelA,
      {0x55, 0x00, 0x0D, 0x01, 0x6F, 0x00, 0x08, 0x08, 0x05, 0x00, 0x11, 0x25, 0x05, 0x00, 0x02,
       0x21, 0x45}}},
    // Six bytes at 0C on layout B: no year.
    {{"AlarmZeroOnX1209", MenuId::X1209, alarm0OnSaturday, set, true},
     {kWrtcB,
      {0x55, 0x00, 0x0B, 0x01, 0x6F, 0xFF, 0x0C, 0x06, 0x85, 0x80, 0x91, 0xA5, 0x85, 0x86, 0x27}}},
    // The dialog's defaults, 2004-05-25 11:59:59 in 24-hour format, weekday 2, century 20.
    {{"TimeOnX1226", MenuId::X1226, timeDefaults, ok<SetTimeDialog>, false},
     {kWelA,
      kRwelA,
      {0x55, 0x00, 0x0D, 0x01, 0x6F, 0x00, 0x30, 0x08, 0x59, 0x59, 0x91, 0x25, 0x05, 0x04, 0x02,
       0x20, 0x9D}}},
    // Seven registers from 00 on layout B: no century.
    {{"TimeOnX1209", MenuId::X1209, timeAt23, ok<SetTimeDialog>, false},
     {kWrtcB,
      {0x55, 0x00, 0x0C, 0x01, 0x6F, 0xFF, 0x00, 0x07, 0x59, 0x59, 0xA3, 0x25, 0x05, 0x04, 0x02,
       0x5C}}},
};

class UnlockedWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(UnlockedWrite, GoesOutAfterTheUnlockStepsOnePerTick) {
  const WriteCase& c = GetParam();
  WindowBench b;
  PromptBoard board(b);
  b.loadConnectedWith(c.action.model);
  c.action.prepare(b);
  b.port.writes.clear();
  c.action.confirm(b);
  EXPECT_TRUE(b.port.writes.empty()) << "the dialog itself sends nothing";
  for (std::size_t i = 0; i < c.frames.size(); ++i) {
    b.clock.advance(49ms);
    ASSERT_EQ(b.port.writes.size(), i) << "before tick " << i + 1;
    b.clock.advance(1ms);
    ASSERT_EQ(b.port.writes.size(), i + 1) << "at tick " << i + 1;
    EXPECT_EQ(b.port.writes[i], c.frames[i]) << "frame " << i + 1;
  }
  EXPECT_EQ(b.window.dialogHost().current() != nullptr, c.action.staysOpen);
  b.clock.advance(500ms);
  EXPECT_EQ(b.port.writes.size(), c.frames.size()) << "the sequencer stops after the write";
}

INSTANTIATE_TEST_SUITE_P(Dialogs, UnlockedWrite, ::testing::ValuesIn(kWrites),
                         [](const auto& testInfo) {
                           return std::string(testInfo.param.action.name);
                         });

}  // namespace
}  // namespace rtceval::testing
