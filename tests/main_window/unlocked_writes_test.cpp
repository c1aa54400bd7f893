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
const Bytes ALARM_READ_A = DataReply({0x85, 0x80, 0x91, 0xA5, 0x85, 0x04, 0x82, 0x20});
const Bytes ALARM_READ_B = DataReply({0x85, 0x80, 0x91, 0xA5, 0x85, 0x82});

template <class Dialog, class Handler>
void user(WindowBench& b, Handler handler) {
  b.window.dialogHost().send<Dialog>(handler);
}
void tick(WindowBench& b, const char* boxes) {  // bit-field boxes, 'x' ticked
  for (std::size_t i = 0; boxes[i] != '\0'; ++i)
    user<BitFieldDialog>(b, [i, on = boxes[i] == 'x'](BitFieldDialog& d) { d.boxClicked(i, on); });
}
void bitFieldOk(WindowBench& b) {
  user<BitFieldDialog>(b, [](BitFieldDialog& d) { d.okClicked(); });
}
void alarmSet(WindowBench& b) {
  user<AlarmDialog>(b, [](AlarmDialog& d) { d.setClicked(); });
}

struct WriteCase {
  const char* name;
  MenuId model;
  void (*prepare)(WindowBench&);  // opens the dialog and edits it as the user does
  void (*confirm)(WindowBench&);  // the dialog's OK
  std::vector<Bytes> frames;      // one per tick from the first on
  const char* progress;           // the link panel once the write is out
  const char* done;               // and once the board acknowledged it
  bool staysOpen;
};
void PrintTo(const WriteCase& c, std::ostream* os) {
  *os << c.name;
}

class UnlockedWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(UnlockedWrite, GoesOutAfterTheUnlockStepsOnePerTick) {
  const WriteCase& c = GetParam();
  WindowBench b;
  b.loadConnectedWith(c.model);
  c.prepare(b);
  b.port.writes.clear();
  c.confirm(b);
  EXPECT_TRUE(b.port.writes.empty()) << "the dialog itself sends nothing";
  for (std::size_t i = 0; i < c.frames.size(); ++i) {
    b.clock.advance(49ms);
    ASSERT_EQ(b.port.writes.size(), i) << "before tick " << i + 1;
    b.clock.advance(1ms);
    ASSERT_EQ(b.port.writes.size(), i + 1) << "at tick " << i + 1;
    EXPECT_EQ(b.port.writes[i], c.frames[i]) << "frame " << i + 1;
  }
  EXPECT_EQ(b.panel(2), c.progress);
  EXPECT_EQ(b.window.dialogHost().current() != nullptr, c.staysOpen);
  b.port.receive(ACK);
  EXPECT_EQ(b.panel(2), c.done);
  b.clock.advance(500ms);
  EXPECT_EQ(b.port.writes.size(), c.frames.size()) << "the sequencer stops after the write";
}

INSTANTIATE_TEST_SUITE_P(Dialogs, UnlockedWrite,
                         ::
                             testing::Values(WriteCase{"InterruptOnX1228",
                                                       MenuId::X1228,
                                                       [](WindowBench& b) {
                                                         b.window.registers().RegINT = 0x18;
                                                         b.window.menuClick(MenuId::mINT);
                                                         tick(b, "x...--");
                                                       },
                                                       bitFieldOk,
                                                       {WEL_A,
                                                        RWEL_A,
                                                        {0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x11,
                                                         0x01, 0x98, 0x75}},
                                                       "写INT",
                                                       "设置INT成功",
                                                       true},
                                             WriteCase{"EventOnX1209",
                                                       MenuId::X1209,
                                                       [](WindowBench& b) {
                                                         b.window.menuClick(MenuId::mEVENT);
                                                         tick(b, "-x-----x");
                                                       },
                                                       bitFieldOk,
                                                       {WRTC_B,
                                                        {0x55, 0x00, 0x06, 0x01, 0x6F, 0xFF, 0x09,
                                                         0x01, 0x81, 0x55}},
                                                       "写EV",
                                                       "设置EV成功",
                                                       true},
                                             WriteCase{"DigitalTrimOnX1226",
                                                       MenuId::X1226,
                                                       [](WindowBench& b) {
                                                         b.window.registers().RegDTR = 0x05;
                                                         b.window.menuClick(MenuId::DTR);
                                                         user<DigitalTrimDialog>(
                                                             b, [](DigitalTrimDialog& d) {
                                                               d.dtr1Clicked(true);
                                                               d.dtr2Clicked(false);
                                                             });
                                                       },
                                                       [](WindowBench& b) {
                                                         user<DigitalTrimDialog>(
                                                             b, [](DigitalTrimDialog& d) {
                                                               d.okClicked();
                                                             });
                                                       },
                                                       {WEL_A,
                                                        RWEL_A,
                                                        {0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x13,
                                                         0x01, 0x03, 0xE2}},
                                                       "写DTR",
                                                       "设置DTR成功",
                                                       true},
                                             WriteCase{"DigitalTrimOnX1208",
                                                       MenuId::X1208,
                                                       [](WindowBench& b) {
                                                         b.window.registers().RegDTR = 0x02;
                                                         b.window.menuClick(MenuId::DTR);
                                                       },
                                                       [](WindowBench& b) {
                                                         user<DigitalTrimDialog>(
                                                             b, [](DigitalTrimDialog& d) {
                                                               d.okClicked();
                                                             });
                                                       },
                                                       {WRTC_B,
                                                        {0x55, 0x00, 0x06, 0x01, 0x6F, 0xFF, 0x0B,
                                                         0x01, 0x02, 0xD8}},
                                                       "写DTR",
                                                       "设置DTR成功",
                                                       true},
                                             // BMATR left in the image is not written on layout A,
                                             // whatever is clicked.
                                             WriteCase{"AnalogTrimOnX1228",
                                                       MenuId::X1228,
                                                       [](WindowBench& b) {
                                                         b.window.registers().RegATR = 0xC5;
                                                         b.window.menuClick(MenuId::ATR);
                                                         user<AnalogTrimDialog>(
                                                             b, [](AnalogTrimDialog& d) {
                                                               d.bmatr1Clicked(true);
                                                             });
                                                       },
                                                       [](WindowBench& b) {
                                                         user<AnalogTrimDialog>(
                                                             b, [](AnalogTrimDialog& d) {
                                                               d.okClicked();
                                                             });
                                                       },
                                                       {WEL_A,
                                                        RWEL_A,
                                                        {0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x12,
                                                         0x01, 0x05, 0xE3}},
                                                       "写ATR",
                                                       "设置ATR成功",
                                                       true},
                                             WriteCase{"AnalogTrimOnX1209",
                                                       MenuId::X1209,
                                                       [](WindowBench& b) {
                                                         b.window.registers().RegATR = 0xC5;
                                                         b.window.menuClick(MenuId::ATR);
                                                       },
                                                       [](WindowBench& b) {
                                                         user<AnalogTrimDialog>(
                                                             b, [](AnalogTrimDialog& d) {
                                                               d.okClicked();
                                                             });
                                                       },
                                                       {WRTC_B,
                                                        {0x55, 0x00, 0x06, 0x01, 0x6F, 0xFF, 0x0A,
                                                         0x01, 0xC5, 0x9A}},
                                                       "写ATR",
                                                       "设置ATR成功",
                                                       true},
                                             // The alarm read back, with date and weekday left out
                                             // of the comparison: second 05, minute 00, hour 11
                                             // (12-hour AM), date 25, month 5, year 04, weekday 2,
                                             // century 20.
                                             WriteCase{
                                                 "AlarmZeroOnX1226",
                                                 MenuId::X1226,
                                                 [](WindowBench& b) {
                                                   b.window.menuClick(MenuId::ALARM1);
                                                   b.port.receive(ALARM_READ_A);
                                                   user<AlarmDialog>(b, [](AlarmDialog& d) {
                                                     d.enableClicked(AlarmDialog::Date, false);
                                                     d.enableClicked(AlarmDialog::Weekday, false);
                                                   });
                                                 },
                                                 alarmSet,
                                                 {WEL_A,
                                                  RWEL_A,
                                                  {0x55,
                                                   0x00, 0x0D, 0x01, 0x6F, 0x00, 0x00, 0x08, 0x85, 0x80, 0x91, 0x25, 0x85, 0x04, 0x02, 0x20, 0x40}},
                                                 "设置AL0",
                                                 "设置AL0成功",
                                                 true},
                                             // Alarm 1 at 08 with every enable off and the year
                                             // 2100.
                                             WriteCase{"AlarmOneOnX1228",
                                                       MenuId::X1228,
                                                       [](WindowBench& b) {
                                                         b.window.menuClick(MenuId::ALARM2);
                                                         b.port.receive(ALARM_READ_A);
                                                         user<AlarmDialog>(b, [](AlarmDialog& d) {
                                                           for (std::size_t i = 0;
                                                                i < AlarmDialog::FieldCount; ++i)
                                                             d.enableClicked(
                                                                 static_cast<AlarmDialog::Field>(i),
                                                                 false);
                                                           d.yearText = "2100";
                                                         });
                                                       },
                                                       alarmSet,
                                                       {WEL_A,
                                                        RWEL_A,
                                                        {0x55, 0x00, 0x0D, 0x01, 0x6F, 0x00, 0x08,
                                                         0x08, 0x05, 0x00, 0x11, 0x25, 0x05, 0x00,
                                                         0x02, 0x21, 0x45}},
                                                       "设置AL1",
                                                       "设置AL1成功",
                                                       true},
                                             // Six bytes at 0C on layout B, no year; the weekday
                                             // typed as 6.
                                             WriteCase{
                                                 "AlarmZeroOnX1209",
                                                 MenuId::X1209,
                                                 [](WindowBench& b) {
                                                   b.window.menuClick(MenuId::ALARM1);
                                                   b.port.receive(ALARM_READ_B);
                                                   user<AlarmDialog>(b, [](AlarmDialog& d) {
                                                     d.fields[AlarmDialog::Weekday].text = "6";
                                                   });
                                                 },
                                                 alarmSet,
                                                 {WRTC_B,
                                                  {0x55, 0x00, 0x0B, 0x01, 0x6F, 0xFF, 0x0C, 0x06,
                                                   0x85, 0x80, 0x91, 0xA5, 0x85, 0x86, 0x27}},
                                                 "设置AL0",
                                                 "设置AL0成功",
                                                 true},
                                             // The dialog's defaults, 2004-05-25 11:59:59 in
                                             // 24-hour format, weekday 2, century 20.
                                             WriteCase{"TimeOnX1226",
                                                       MenuId::X1226,
                                                       [](WindowBench& b) {
                                                         b.window.menuClick(MenuId::SETTIME);
                                                       },
                                                       [](WindowBench& b) {
                                                         user<SetTimeDialog>(b,
                                                                             [](SetTimeDialog& d) {
                                                                               d.okClicked();
                                                                             });
                                                       },
                                                       {WEL_A,
                                                        RWEL_A,
                                                        {0x55, 0x00, 0x0D, 0x01, 0x6F, 0x00, 0x30,
                                                         0x08, 0x59, 0x59, 0x91, 0x25, 0x05, 0x04,
                                                         0x02, 0x20, 0x9D}},
                                                       "设置时间...",
                                                       "设置时间成功",
                                                       false},
                                             // Seven registers from 00 on layout B, no century; the
                                             // hour typed as 23.
                                             WriteCase{
                                                 "TimeOnX1209",
                                                 MenuId::X1209,
                                                 [](WindowBench& b) {
                                                   b.window.menuClick(MenuId::SETTIME);
                                                   user<SetTimeDialog>(b, [](SetTimeDialog& d) {
                                                     d.hourText = "23";
                                                   });
                                                 },
                                                 [](WindowBench& b) {
                                                   user<SetTimeDialog>(
                                                       b, [](SetTimeDialog& d) { d.okClicked(); });
                                                 },
                                                 {WRTC_B,
                                                  {0x55, 0x00, 0x0C, 0x01, 0x6F, 0xFF, 0x00, 0x07,
                                                   0x59, 0x59, 0xA3, 0x25, 0x05, 0x04, 0x02, 0x5C}},
                                                 "设置时间...",
                                                 "设置时间成功",
                                                 false}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace rtceval::testing
