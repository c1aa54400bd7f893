// The chip register map: where each register sits on each layout, how its requests go out on the
// wire, and the facts the editors share (blocks, unlock values, bit captions).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "board_link/board_link.h"
#include "core/device_profile.h"
#include "core/register_map.h"
#include "window_bench.h"

namespace rtceval::testing {
namespace {

using ::testing::ElementsAre;

// The link alone, on the layout's chip family.
struct Wire : LinkBench {
  explicit Wire(Layout layout) : LinkBench(layout == Layout::B) {}
};

struct RegisterCase {
  RegisterId id;
  Layout layout;
  // The one-byte read of the register on the wire, or none where the layout lacks it.
  std::optional<Bytes> readFrame;
  CmdStateCode readState;
  const char* readText;
  CmdStateCode writeState;
  const char* writeText;
};

void PrintTo(const RegisterCase& c, std::ostream* os) {
  *os << registerOf(c.id).name << (c.layout == Layout::A ? " on layout A" : " on layout B");
}

class RegisterRequests : public ::testing::TestWithParam<RegisterCase> {};

TEST_P(RegisterRequests, ReadGoesOutAtTheLayoutsAddress) {
  const RegisterCase& c = GetParam();
  const RegisterInfo& reg = registerOf(c.id);
  const auto address = reg.address(c.layout);
  ASSERT_EQ(address.has_value(), c.readFrame.has_value());
  EXPECT_EQ(reg.read.state, c.readState);
  EXPECT_STREQ(reg.read.text, c.readText);
  EXPECT_EQ(reg.write.state, c.writeState);
  EXPECT_STREQ(reg.write.text, c.writeText);
  if (!address) return;
  Wire w(c.layout);
  w.link.request(*requests::readRegister(c.layout, c.id));
  EXPECT_THAT(w.port.writes, ElementsAre(*c.readFrame));
  EXPECT_EQ(w.link.pendingRequest(), c.readState);
  EXPECT_THAT(w.statusTexts, ElementsAre(c.readText));
}

INSTANTIATE_TEST_SUITE_P(
    registers, RegisterRequests,
    ::testing::Values(
        RegisterCase{RegisterId::SR, Layout::A, kReadSrA, 0x11, "读SR", 0x10, "写SR"},
        RegisterCase{RegisterId::SR, Layout::B, kReadSrB, 0x11, "读SR", 0x10, "写SR"},
        RegisterCase{RegisterId::INT, Layout::B,
                     Bytes{0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x08, 0x01, 0xD1}, 0x21, "读INT",
                     0x20, "写INT"},
        RegisterCase{RegisterId::BL, Layout::A,
                     Bytes{0x55, 0x00, 0x05, 0x00, 0x6F, 0x00, 0x10, 0x01, 0xDA}, 0x31, "读BL",
                     0x30, "写BL"},
        RegisterCase{RegisterId::BL, Layout::B, std::nullopt, 0x31, "读BL", 0x30, "写BL"},
        RegisterCase{RegisterId::ATR, Layout::B,
                     Bytes{0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x0A, 0x01, 0xD3}, 0x41, "读ATR",
                     0x40, "写ATR"},
        RegisterCase{RegisterId::EV, Layout::A, std::nullopt, 0x61, "读EV", 0x60, "写EV"},
        RegisterCase{RegisterId::EV, Layout::B,
                     Bytes{0x55, 0x00, 0x05, 0x00, 0x6F, 0xFF, 0x09, 0x01, 0xD2}, 0x61, "读EV",
                     0x60, "写EV"}));

TEST(RegisterMap, BlocksOfEachLayout) {
  struct Block {
    std::optional<RegisterBlock> block;
    int address;
    int count;  // 0: the layout has no such block
  };
  const std::pair<const char*, Block> cases[] = {
      {"time A", {timeBlock(Layout::A), 0x30, 8}},
      {"time B", {timeBlock(Layout::B), 0x00, 7}},
      {"alarm 0 A", {alarm0Block(Layout::A), 0x00, 8}},
      {"alarm 0 B", {alarm0Block(Layout::B), 0x0C, 6}},
      {"alarm 1 A", {alarm1Block(Layout::A), 0x08, 8}},
      {"alarm 1 B", {alarm1Block(Layout::B), 0, 0}},
      {"control A", {controlBlock(Layout::A), 0x10, 4}},
      {"control B", {controlBlock(Layout::B), 0x08, 4}},
      {"user A", {userRegisterBlock(Layout::A), 0, 0}},
      {"user B", {userRegisterBlock(Layout::B), 0x12, 2}},
  };
  for (const auto& [name, c] : cases) {
    ASSERT_EQ(c.block.has_value(), c.count != 0) << name;
    if (!c.block) continue;
    EXPECT_EQ(c.block->address, c.address) << name;
    EXPECT_EQ(c.block->count, c.count) << name;
  }
}

TEST(RegisterMap, WriteEnableStepsOnTheWire) {
  for (Layout layout : {Layout::A, Layout::B}) {
    Wire w(layout);
    for (const Request& step : requests::writeEnable(layout)) {
      w.link.request(step);
      w.port.receive(kAck);
    }
    if (layout == Layout::A)
      EXPECT_THAT(w.port.writes, ElementsAre(kWelA, kRwelA));
    else
      EXPECT_THAT(w.port.writes, ElementsAre(kWrtcB));
  }
}

TEST(RegisterMap, BitsWithTwoCaptions) {
  struct Case {
    RegisterId id;
    Layout layout;
    int bit;
    const char* panel;
    const char* dialog;
  };
  const Case cases[] = {
      {RegisterId::ATR, Layout::A, 1, "ART1", "ATR1"},
      {RegisterId::ATR, Layout::B, 1, "ART1", "ATR1"},
      {RegisterId::EV, Layout::B, 7, "EVTENB", "EVIENB"},
      {RegisterId::EV, Layout::B, 3, "EHYST1", "EHYS1"},
      {RegisterId::BL, Layout::A, 4, "WD1", "WDT1"},
      {RegisterId::BL, Layout::A, 3, "WD0", "WDT0"},
      {RegisterId::SR, Layout::A, 2, "RWEL", "RWEL"},
      {RegisterId::SR, Layout::B, 4, "WRTC", "WRTC"},
  };
  for (const Case& c : cases) {
    const BitName& bit = registerOf(c.id).bits(c.layout).at(static_cast<std::size_t>(c.bit));
    ASSERT_NE(bit.panel, nullptr) << c.panel;
    EXPECT_STREQ(bit.panel, c.panel);
    EXPECT_STREQ(bit.dialog, c.dialog);
  }
}

}  // namespace
}  // namespace rtceval::testing
