// A dialog left open while the user picks another chip model: it loads afresh for the new chip,
// closes when the new chip does not offer it, and nothing it writes reaches a register the chip
// lacks.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "register_editors/analog_trim_dialog.h"
#include "register_editors/user_registers_dialog.h"
#include "window_bench.h"

namespace rtceval::testing {
namespace {

using Frames = std::vector<Bytes>;
using Step = std::function<void(WindowBench&)>;

enum class Outcome { Reloaded, Closed, Kept };

template <class Dialog, class Handler>
Step user(Handler handler) {
  return [handler](WindowBench& b) { b.window.dialogHost().send<Dialog>(handler); };
}
const Step kWriteUser = user<UserRegistersDialog>([](UserRegistersDialog& d) { d.writeClicked(); });
const Step kTypeUser =
    user<UserRegistersDialog>([](UserRegistersDialog& d) { d.registerTexts[0] = "5C"; });
const Step kOkAtr = user<AnalogTrimDialog>([](AnalogTrimDialog& d) { d.okClicked(); });

// ATR = 05 at 12 on layout A; ATR = C5 at 0A on layout B; user registers 01 2A and 5C 2A.
const Bytes kAtrA05{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x12, 0x01, 0x05, 0xE3};
const Bytes kAtrBC5{0x55, 0x00, 0x06, 0x01, 0x6F, 0xFF, 0x0A, 0x01, 0xC5, 0x9A};
const Bytes kUser012A{0x55, 0x00, 0x07, 0x01, 0x6F, 0xFF, 0x12, 0x02, 0x01, 0x2A, 0x0A};
const Bytes kUser5C2A{0x55, 0x00, 0x07, 0x01, 0x6F, 0xFF, 0x12, 0x02, 0x5C, 0x2A, 0x65};
// Alarm 0 read on layout B: six bytes from 0C.
const Bytes kReadAlarm0B{0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x0C, 0x06, 0xDA};

TEST(ModelSwitch, TheOpenDialogFollowsTheChipModelPicked) {
  struct Case {
    const char* what;
    MenuId from;
    const char* item;  // nullptr: the user-register dialog opened by its number
    Step before;       // in the dialog, before the switch
    MenuId to;
    Outcome outcome;
    Frames onSwitch;  // sent within 200 ms of the switch
    Step write;
    Frames onWrite;  // sent within 200 ms of the write
  };
  const Case cases[] = {
      {"user registers, a chip without them",
       MenuId::X1208,
       "USERREG",
       {},
       MenuId::X1226,
       Outcome::Closed,
       {},
       kWriteUser,
       {}},
      {"user registers, the other chip with them",
       MenuId::X1208,
       "USERREG",
       kTypeUser,
       MenuId::X1209,
       Outcome::Reloaded,
       {},
       kWriteUser,
       {kUser012A}},
      {"the same model picked again",
       MenuId::X1209,
       "USERREG",
       kTypeUser,
       MenuId::X1209,
       Outcome::Kept,
       {},
       kWriteUser,
       {kUser5C2A}},
      {"user registers opened on an X1226",
       MenuId::X1226,
       nullptr,
       {},
       MenuId::X1226,
       Outcome::Kept,
       {},
       kWriteUser,
       {}},
      {"analog trim, X1209 to X1228",
       MenuId::X1209,
       "ATR",
       {},
       MenuId::X1228,
       Outcome::Reloaded,
       {},
       kOkAtr,
       {kWelA, kRwelA, kAtrA05}},
      {"analog trim, X1228 to X1209",
       MenuId::X1228,
       "ATR",
       {},
       MenuId::X1209,
       Outcome::Reloaded,
       {},
       kOkAtr,
       {kWrtcB, kAtrBC5}},
      {"analog trim, a write under way",
       MenuId::X1209,
       "ATR",
       [](WindowBench& b) {
         kOkAtr(b);
         b.clock.advance(50ms);  // WRTC is out, the ATR write is next
       },
       MenuId::X1228,
       Outcome::Reloaded,
       {kAtrA05},
       {},
       {}},
      {"alarm 0 reads where the new chip keeps it",
       MenuId::X1226,
       "ALARM1",
       {},
       MenuId::X1208,
       Outcome::Reloaded,
       {kReadAlarm0B},
       {},
       {}},
      {"event dialog, a chip without events",
       MenuId::X1209,
       "mEVENT",
       {},
       MenuId::X1208,
       Outcome::Closed,
       {},
       {},
       {}},
      {"connection dialog", MenuId::X1226, "CONNECT", {}, MenuId::X1208, Outcome::Kept, {}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WindowBench b;
    PromptBoard board(b);
    b.loadConnectedWith(c.from);
    b.window.registers().RegATR = 0xC5;
    if (c.item)
      b.window.menuClick(c.item);
    else
      b.window.events().run([&b] { b.window.dialogHost().Load_Sub_Form(13); });
    ASSERT_NE(b.window.dialogHost().current(), nullptr);
    const int opened = b.window.OpenSubForm();
    if (c.before) c.before(b);
    b.port.writes.clear();
    const int generation = b.window.dialogHost().generation();

    b.window.menuClick(c.to);
    b.clock.advance(200ms);
    DialogHost& host = b.window.dialogHost();
    switch (c.outcome) {
      case Outcome::Closed:
        EXPECT_EQ(host.current(), nullptr);
        break;
      case Outcome::Reloaded:
        ASSERT_NE(host.current(), nullptr);
        EXPECT_EQ(b.window.OpenSubForm(), opened);
        EXPECT_GT(host.generation(), generation);
        break;
      case Outcome::Kept:
        EXPECT_EQ(host.generation(), generation);
        break;
    }
    EXPECT_EQ(b.port.writes, c.onSwitch);

    b.port.writes.clear();
    if (c.write) c.write(b);
    b.clock.advance(200ms);
    EXPECT_EQ(b.port.writes, c.onWrite);
  }
}

}  // namespace
}  // namespace rtceval::testing
