// The request commands of the main window: their frames on the wire for both register layouts, the
// request kind, the progress text, and the commands that do nothing for a model.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>

#include "window_bench.h"

namespace rtceval::testing {
namespace {

struct Expected {
  Bytes frame;
  CmdStateCode state;
  const char* text;
};

struct CommandCase {
  const char* name;
  std::function<void(ChipCommands&)> run;
  std::optional<Expected> layoutA;  // none: the command does nothing on that layout
  std::optional<Expected> layoutB;
};

struct ModelCase {
  MenuId item;
  const char* name;
  bool layoutB;
};

void PrintTo(const CommandCase& c, std::ostream* os) {
  *os << c.name;
}
void PrintTo(const ModelCase& c, std::ostream* os) {
  *os << c.name;
}

// Distinct values in every record and register, so a byte from the wrong field shows.
void fillRecords(MainWindow& w) {
  TimeRecord& t = w.records().NewTime;
  t = {0x45, 0x30, 0x92, 0x17, 0x08, 0x03, 0x2005};
  TimeRecord& a0 = w.records().Alarm0Regs;
  a0 = {0x11, 0x22, 0x33, 0x14, 0x05, 0x07, 0x2006};
  TimeRecord& a1 = w.records().Alarm1Regs;
  a1 = {0x41, 0x42, 0x43, 0x24, 0x09, 0x02, 0x1999};
  RegisterImage& r = w.registers();
  r.RegSR = 0x5A;
  r.RegINT = 0xA1;
  r.RegBL = 0xB2;
  r.RegATR = 0xC3;
  r.RegDTR = 0x05;
  r.RegEV = 0xE4;
}

const CommandCase kCommands[] = {
    {"CmdReadTime", &ChipCommands::CmdReadTime, Expected{kReadTimeA, 0x01, "读时间..."},
     Expected{{0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x00, 0x07, 0xCF}, 0x01, "读时间..."}},
    {"CmdGetSR", &ChipCommands::CmdGetSR, Expected{kReadSrA, 0x11, "读SR"},
     Expected{kReadSrB, 0x11, "读SR"}},
    {"CmdSetWEL", &ChipCommands::CmdSetWEL, Expected{kWelA, 0x12, "写WEL"},
     Expected{kWrtcB, 0x18, "写WRTC"}},
    {"CmdSetRWEL", &ChipCommands::CmdSetRWEL, Expected{kRwelA, 0x13, "写RWEL"}, std::nullopt},
    {"CmdWriteTime", &ChipCommands::CmdWriteTime,
     Expected{{0x55, 0x00, 0x0D, 0x01, 0x6F, 0x00, 0x30, 0x08, 0x45, 0x30, 0x92, 0x17, 0x08, 0x05,
               0x03, 0x20, 0x58},
              0x02,
              "设置时间..."},
     Expected{{0x55, 0x00, 0x0C, 0x01, 0x6F, 0xFF, 0x00, 0x07, 0x45, 0x30, 0x92, 0x17, 0x08, 0x05,
               0x03, 0x05},
              0x02,
              "设置时间..."}},
    {"CmdWriteAL0", &ChipCommands::CmdWriteAL0,
     Expected{{0x55, 0x00, 0x0D, 0x01, 0x6F, 0x00, 0x00, 0x08, 0x11, 0x22, 0x33, 0x14, 0x05, 0x06,
               0x07, 0x20, 0x86},
              0x70,
              "设置AL0"},
     Expected{
         {0x55, 0x00, 0x0B, 0x01, 0x6F, 0xFF, 0x0C, 0x06, 0x11, 0x22, 0x33, 0x14, 0x05, 0x07, 0x67},
         0x70,
         "设置AL0"}},
    {"CmdWriteAL1", &ChipCommands::CmdWriteAL1,
     Expected{{0x55, 0x00, 0x0D, 0x01, 0x6F, 0x00, 0x08, 0x08, 0x41, 0x42, 0x43, 0x24, 0x09, 0x99,
               0x02, 0x19, 0x89},
              0x80,
              "设置AL1"},
     std::nullopt},
    {"CmdWriteINT", &ChipCommands::CmdWriteINT,
     Expected{{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x11, 0x01, 0xA1, 0x7E}, 0x20, "写INT"},
     Expected{{0x55, 0x00, 0x06, 0x01, 0x6F, 0xFF, 0x08, 0x01, 0xA1, 0x74}, 0x20, "写INT"}},
    {"CmdWriteBL", &ChipCommands::CmdWriteBL,
     Expected{{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x10, 0x01, 0xB2, 0x8E}, 0x30, "写BL"},
     std::nullopt},
    {"CmdWriteATR", &ChipCommands::CmdWriteATR,
     // Layout A has no BMATR bits: bits 7 and 6 of the image go out as 0.
     Expected{{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x12, 0x01, 0x03, 0xE1}, 0x40, "写ATR"},
     Expected{{0x55, 0x00, 0x06, 0x01, 0x6F, 0xFF, 0x0A, 0x01, 0xC3, 0x98}, 0x40, "写ATR"}},
    {"CmdWriteDTR", &ChipCommands::CmdWriteDTR,
     Expected{{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x13, 0x01, 0x05, 0xE4}, 0x50, "写DTR"},
     Expected{{0x55, 0x00, 0x06, 0x01, 0x6F, 0xFF, 0x0B, 0x01, 0x05, 0xDB}, 0x50, "写DTR"}},
    {"CmdWriteEV", &ChipCommands::CmdWriteEV, std::nullopt,
     Expected{{0x55, 0x00, 0x06, 0x01, 0x6F, 0xFF, 0x09, 0x01, 0xE4, 0xB8}, 0x60, "写EV"}},
};

const ModelCase kModels[] = {{MenuId::X1226, "X1226", false},
                             {MenuId::X1205, "X1205", false},
                             {MenuId::X1208, "X1208", true},
                             {MenuId::X1209, "X1209", true}};

class Command : public ::testing::TestWithParam<std::tuple<CommandCase, ModelCase>> {};

TEST_P(Command, SendsItsFrameOrNothing) {
  const auto& [cmd, model] = GetParam();
  WindowBench b;
  b.loadConnectedWith(model.item);
  fillRecords(b.window);
  // What the window shows before the command: the probe's answer, no time-out running.
  const CmdStateCode stateBefore = b.link().pendingRequest();
  const std::string textBefore = b.panel(2);
  ASSERT_FALSE(b.window.link().awaitingReply());

  cmd.run(b.window.commands());

  const std::optional<Expected>& e = model.layoutB ? cmd.layoutB : cmd.layoutA;
  if (!e) {
    EXPECT_TRUE(b.port.writes.empty());
    EXPECT_EQ(b.link().pendingRequest(), stateBefore);
    EXPECT_EQ(b.panel(2), textBefore);
    EXPECT_FALSE(b.window.link().awaitingReply());
    return;
  }
  ASSERT_EQ(b.port.writes.size(), 1u);
  EXPECT_EQ(b.port.writes[0], e->frame);
  EXPECT_EQ(b.link().pendingRequest(), e->state);
  EXPECT_EQ(b.panel(2), e->text);
  EXPECT_TRUE(b.window.link().awaitingReply());
}

INSTANTIATE_TEST_SUITE_P(AllCommands, Command,
                         ::testing::Combine(::testing::ValuesIn(kCommands),
                                            ::testing::ValuesIn(kModels)),
                         [](const auto& testInfo) {
                           return std::string(std::get<0>(testInfo.param).name) + "_" +
                                  std::get<1>(testInfo.param).name;
                         });

TEST(Commands, ReadTimeMenuSendsTheTimeRead) {
  WindowBench b;
  b.loadConnectedWith(MenuId::X1228);
  b.window.menuClick(MenuId::READTIME);
  EXPECT_THAT(b.port.writes, ::testing::ElementsAre(kReadTimeA));
}

TEST(Commands, AutomaticTimeReadEveryMainTimerTick) {
  WindowBench b;
  PromptBoard board(b);
  b.loadConnectedWith(MenuId::X1209);
  b.window.autoReadTimeClicked(true);
  b.clock.advance(1000ms);
  ASSERT_EQ(b.port.writes.size(), 5u);
  for (const Bytes& w : b.port.writes)
    EXPECT_EQ(w, (Bytes{0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x00, 0x07, 0xCF}));
  b.window.autoReadTimeClicked(false);
  b.clock.advance(1000ms);
  EXPECT_EQ(b.port.writes.size(), 5u);
}

}  // namespace
}  // namespace rtceval::testing
