// The steps of a snapshot's read and restore, without a window: which requests go out in which
// order for each model, and that a chain step takes only the reply that carries its ticket.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "core/register_image.h"
#include "core/time_record.h"
#include "snapshot/request_chain.h"
#include "snapshot/snapshot_plan.h"
#include "virtual_clock.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

const DeviceProfile& profileOf(const std::string& model) {
  return findDeviceModel(model)->profile;
}

std::vector<std::string> names(const std::vector<SnapshotStep>& steps) {
  std::vector<std::string> out;
  for (const SnapshotStep& s : steps) out.push_back(s.what);
  return out;
}

Snapshot blankSnapshot(const std::string& model) {
  Snapshot s{model, "t", "v", {}, std::vector<std::uint8_t>(eepromSizeOf(model), 0x5A)};
  for (const SnapshotSlot& slot : snapshotSlots(model))
    s.registers.push_back({slot.name, slot.address, 0x00});
  return s;
}

TEST(SnapshotPlan, AReadTakesEachGroupOnceThenTheEepromAPageAtATime) {
  struct Case {
    std::string model;
    std::vector<std::string> registerSteps;
    std::size_t eepromSteps;
  };
  const Case cases[] = {
      {"X1228", {"时钟", "AL0", "AL1", "SR", "INT/ATR/DTR"}, 8},
      {"X1205", {"时钟", "AL0", "AL1", "SR", "INT/ATR/DTR"}, 0},
      {"X1209", {"时钟", "AL0", "SR", "INT/ATR/DTR", "USR1/USR2"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model);
    const std::vector<SnapshotStep> steps = readPlan(profileOf(c.model));
    ASSERT_EQ(steps.size(), c.registerSteps.size() + c.eepromSteps);
    const std::vector<std::string> all = names(steps);
    EXPECT_EQ(std::vector<std::string>(
                  all.begin(), all.begin() + static_cast<std::ptrdiff_t>(c.registerSteps.size())),
              c.registerSteps);
    for (const SnapshotStep& s : steps) EXPECT_EQ(s.requests.size(), 1u) << s.what;
  }
  const std::vector<SnapshotStep> x1228 = readPlan(profileOf("X1228"));
  const SnapshotStep& page = x1228.at(5 + 7);
  EXPECT_EQ(page.what, "EEPROM 0x01C0");
  EXPECT_EQ(page.gather, Gather::EepromBlock);
  EXPECT_EQ(page.eepromAddress, 0x1C0);
  EXPECT_EQ(page.eepromCount, 64u);
  EXPECT_EQ(page.requests[0].payload, (Bytes{0x00, 0x57, 0x01, 0xC0, 0x40}));
}

TEST(SnapshotPlan, ARestoreLiftsProtectionForTheEepromAndEndsWithSr) {
  Snapshot s = blankSnapshot("X1228");
  s.registers[25].value = 0x38;  // BL: BP0 and both watchdog bits
  const std::vector<SnapshotStep> steps = restorePlan(profileOf("X1228"), s, false);
  // SR and BL read as they are, BL lifted, each page in pieces of 28, 28 and 8 bytes, each after
  // WEL and RWEL, the control block, two alarms, SR.
  ASSERT_EQ(steps.size(), 2u + 1 + 24 * 3 + 4 + 2 + 1);
  EXPECT_EQ(steps[0].requests.at(0).payload, (Bytes{0x00, 0x6F, 0x00, 0x3F, 0x01}));
  EXPECT_EQ(steps[1].requests.at(0).payload, (Bytes{0x00, 0x6F, 0x00, 0x10, 0x01}));
  const Bytes wel{0x01, 0x6F, 0x00, 0x3F, 0x01, 0x02};
  const Bytes rwel{0x01, 0x6F, 0x00, 0x3F, 0x01, 0x06};
  ASSERT_EQ(steps[2].requests.size(), 3u);
  EXPECT_EQ(steps[2].requests[0].payload, wel);
  EXPECT_EQ(steps[2].requests[1].payload, rwel);
  EXPECT_EQ(steps[2].requests[2].payload, (Bytes{0x01, 0x6F, 0x00, 0x10, 0x01, 0x18}));
  EXPECT_EQ(names({steps.begin() + 3, steps.begin() + 6}),
            (std::vector<std::string>{"WEL", "RWEL", "EEPROM 0x0000"}));
  const SnapshotStep& piece = steps[3 * 23 + 5];
  EXPECT_EQ(piece.what, "EEPROM 0x01F8");
  Bytes expected{0x01, 0x57, 0x01, 0xF8, 0x08};
  expected.resize(expected.size() + 8, 0x5A);
  EXPECT_EQ(piece.requests.at(0).payload, expected);
  EXPECT_EQ(piece.pauseAfter, 10ms);
  EXPECT_EQ(steps[3 * 22 + 5].requests.at(0).payload.size(), 5u + 28);
  EXPECT_EQ(names({steps.end() - 7, steps.end()}),
            (std::vector<std::string>{"BL", "INT", "ATR", "DTR", "AL0", "AL1", "SR"}));
  // SR alone, no write enables before it: written with WEL and RWEL as the snapshot held them.
  EXPECT_EQ(steps.back().requests.size(), 1u);
  EXPECT_EQ(steps.back().requests[0].payload[3], 0x3F);

  // What goes out also stands in the register image, protection set again.
  RegisterImage image;
  TimeAlarmRecords records;
  for (const SnapshotStep& step : steps)
    if (step.intoImage) step.intoImage(image, records);
  EXPECT_EQ(image.RegBL, 0x38);
}

TEST(SnapshotPlan, TheClockIsWrittenOnlyWhenAskedAndTheX1209KeepsItsUserRegisters) {
  const Snapshot s = blankSnapshot("X1209");
  const std::vector<std::string> without = names(restorePlan(profileOf("X1209"), s, false));
  const std::vector<std::string> with = names(restorePlan(profileOf("X1209"), s, true));
  EXPECT_EQ(without,
            (std::vector<std::string>{"SR", "INT", "EV", "ATR", "DTR", "AL0", "USR1/USR2", "SR"}));
  EXPECT_EQ(with, (std::vector<std::string>{"SR", "INT", "EV", "ATR", "DTR", "AL0", "USR1/USR2",
                                            "时钟", "SR"}));
}

TEST(RequestChain, AStepTakesOnlyTheReplyWithItsTicket) {
  testing::VirtualClock clock;
  RequestChain chain(clock);
  std::vector<std::string> log;
  RequestTicket next = 40;
  const auto step = [&](std::string what) {
    return RequestChain::Step{what,
                              [&log, &next, what] {
                                log.push_back("send " + what);
                                return ++next;
                              },
                              [&log, what] { log.push_back("take " + what); },
                              {}};
  };
  std::string failed;
  chain.start(
      {step("a"), step("b")}, [&log] { log.push_back("done"); },
      [&failed](const std::string& what) { failed = what; });
  chain.replyArrived(40, true);  // another window's earlier request
  chain.replyArrived(99, true);  // and a later one
  EXPECT_EQ(log, (std::vector<std::string>{"send a"}));
  chain.replyArrived(41, true);
  chain.replyArrived(41, true);  // the same reply again is no reply to b
  EXPECT_EQ(log, (std::vector<std::string>{"send a", "take a", "send b"}));
  // Foreign replies do not keep a step alive past the time-outs of its three tries.
  for (int i = 0; i < 50; ++i) {
    chain.replyArrived(41, true);
    clock.advance(100ms);
  }
  EXPECT_FALSE(chain.running());
  EXPECT_EQ(failed, "b");
}

}  // namespace
}  // namespace rtceval

namespace rtceval {
namespace {

void put(Snapshot& s, const std::string& name, std::uint8_t value) {
  for (SnapshotRegister& r : s.registers)
    if (r.name == name) r.value = value;
}

// A clock the chip can hold: 24-hour 00:00:00 on 2000-01-01.
Snapshot validSample(const std::string& model) {
  Snapshot s = blankSnapshot(model);
  for (const auto& [name, value] : {std::pair<std::string, std::uint8_t>{"HR", 0x80},
                                    {"DT", 0x01},
                                    {"MO", 0x01},
                                    {"Y2K", 0x20}})
    put(s, name, value);
  return s;
}

TEST(SnapshotValues, ARegisterOutsideItsBcdRangeIsRefusedByName) {
  struct Case {
    std::string model;
    std::string name;
    std::uint8_t value;
  };
  const Case cases[] = {
      {"X1226", "HR", 0xFF},  {"X1226", "SC", 0x99},   {"X1226", "MN", 0x5A},
      {"X1226", "HR", 0xA4},  {"X1226", "HR", 0x13},   {"X1226", "HR", 0x00},
      {"X1226", "DT", 0x32},  {"X1226", "MO", 0x13},   {"X1226", "DW", 0x07},
      {"X1226", "Y2K", 0x18}, {"X1226", "SCA0", 0xE0}, {"X1228", "HRA1", 0xA5},
      {"X1208", "DTA", 0x80}, {"X1208", "YR", 0xA0},
  };
  EXPECT_EQ(valueRefusal(validSample("X1226")), std::nullopt);
  // A disabled alarm field is not compared with the clock: any value stands.
  Snapshot disabled = validSample("X1226");
  put(disabled, "SCA0", 0x7F);
  EXPECT_EQ(valueRefusal(disabled), std::nullopt);
  for (const Case& c : cases) {
    Snapshot s = validSample(c.model);
    put(s, c.name, c.value);
    const auto refusal = valueRefusal(s);
    ASSERT_TRUE(refusal.has_value()) << c.model << " " << c.name;
    EXPECT_EQ(refusal->rfind(c.name + " 的值 " + byteText(c.value), 0), 0u) << *refusal;
  }
}

TEST(SnapshotRestore, AStoppedRestoreSaysWhatItLeftOnTheChip) {
  const std::vector<SnapshotStep> plan =
      restorePlan(profileOf("X1226"), validSample("X1226"), false);
  // SR and BL read, BL lifted, then WEL, RWEL and 28 bytes of the first page; the EEPROM's 24
  // pieces of three steps each, then the control block, BL first, which sets protection again.
  const std::size_t controlBl = 2 + 1 + 24 * 3;
  ASSERT_EQ(names(plan)[controlBl], "BL");
  struct Case {
    std::size_t done;
    const char* text;
  };
  const Case cases[] = {
      {1, "芯片现在的状态：块保护未解除；写使能已关闭；EEPROM 未改写；寄存器未写入"},
      {2, "芯片现在的状态：块保护未解除；写使能仍打开；EEPROM 未改写；寄存器未写入"},
      {5, "芯片现在的状态：块保护已解除；写使能仍打开；EEPROM 未改写；寄存器未写入"},
      {6,
       "芯片现在的状态：块保护已解除；写使能仍打开；EEPROM 已改写 0x0000–0x001B，其后未改写；"
       "寄存器未写入"},
      {controlBl + 1,
       "芯片现在的状态：块保护未解除；写使能仍打开；EEPROM 已全部改写；"
       "已写入的寄存器：BL"},
      {plan.size(), "芯片现在的状态：块保护未解除；写使能已关闭；EEPROM 已全部改写；"},
  };
  for (const Case& c : cases) {
    const std::string text = leftoverText(restoreLeftover(plan, c.done));
    EXPECT_EQ(text.rfind(c.text, 0), 0u) << c.done << ": " << text;
    EXPECT_NE(text.find("再次运行“恢复到芯片”"), std::string::npos);
  }
}

}  // namespace
}  // namespace rtceval
