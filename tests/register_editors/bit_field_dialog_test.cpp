// The bit-field dialogs frmINT, frmFO, frmEV, frmWDT and frmBP on the fake port and the virtual
// clock: what they show on opening, what OK composes, and the requests the write sequencer sends.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "core/register_image.h"
#include "register_editors/bit_field_dialogs.h"
#include "window_bench.h"

namespace rtceval {
namespace {

using testing::Bytes;
using testing::kAck;
using testing::WindowBench;
using namespace std::chrono_literals;

// A dialog's boxes written one character each, Check1 first: 'x' ticked, '-' clear, '.' disabled.
std::string shown(const BitFieldDialog& d) {
  std::string s;
  for (const BitFieldDialog::Box& b : d.boxes) s += !b.enabled ? '.' : (b.ticked ? 'x' : '-');
  return s;
}

struct BitFieldTest : ::testing::Test {
  // Picks the chip, then opens the dialog from its menu entry.
  BitFieldDialog& open(MenuId chip, const char* entry) {
    bench.loadConnectedWith(chip);
    return reopen(entry);
  }
  BitFieldDialog& reopen(const char* entry) {
    bench.window.menuClick(entry);
    BitFieldDialog* d = dialog();
    EXPECT_NE(d, nullptr);
    return *d;
  }
  BitFieldDialog* dialog() { return bench.window.dialogHost().current<BitFieldDialog>(); }
  // Ticks and unticks boxes as the user would until they read as `pattern` (see `shown`).
  void set(const std::string& pattern) {
    for (std::size_t i = 0; i < pattern.size(); ++i)
      bench.window.dialogHost().send<BitFieldDialog>(
          [i, on = pattern[i] == 'x'](BitFieldDialog& d) { d.boxClicked(i, on); });
  }
  void ok() {
    bench.window.dialogHost().send<BitFieldDialog>([](BitFieldDialog& d) { d.okClicked(); });
  }
  RegisterImage& image() { return bench.window.registers(); }

  WindowBench bench;
  testing::PromptBoard prompt{bench};
};

struct OpeningCase {
  const char* name;
  MenuId chip;
  const char* entry;
  std::uint8_t RegisterImage::*image;
  std::uint8_t value;
  const char* boxes;
};
void PrintTo(const OpeningCase& c, std::ostream* os) {
  *os << c.name;
}

class Opening : public BitFieldTest, public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(Opening, BoxesShowTheImageBitsThatApplyToTheLayout) {
  const OpeningCase& c = GetParam();
  bench.loadConnectedWith(c.chip);
  image().*c.image = c.value;
  EXPECT_EQ(shown(reopen(c.entry)), c.boxes);
}

constexpr auto kInt = &RegisterImage::RegINT;
constexpr auto kEv = &RegisterImage::RegEV;
constexpr auto kBl = &RegisterImage::RegBL;

INSTANTIATE_TEST_SUITE_P(MessageBoxes, Opening,
                         ::testing::Values(
                             // IM, ALME, LPMODE, FOBATB, AL1E, AL0E
                             OpeningCase{"IntOnX1228KeepsFrequencyBitsOutOfSight", MenuId::X1228,
                                         "mINT", kInt, 0x18, "-...--"},
                             OpeningCase{"IntOnX1226LeavesLayoutBBoxesClear", MenuId::X1226, "mINT",
                                         kInt, 0xFF, "x...xx"},
                             OpeningCase{"IntOnX1209", MenuId::X1209, "mINT", kInt, 0xAF, "x-x-.."},
                             // FO3, FO2, FO1, FO0
                             OpeningCase{"FoOnX1226", MenuId::X1226, "FOUT", kInt, 0xE7, "..--"},
                             OpeningCase{"FoOnX1208", MenuId::X1208, "FOUT", kInt, 0x0A, "x-x-"},
                             // EVIENB and EVBATB are ticked when their bits are clear
                             OpeningCase{"EvMixed", MenuId::X1209, "mEVENT", kEv, 0x95, "-x-x-x-x"},
                             // WDT1, WDT0 and BP2, BP1, BP0
                             OpeningCase{"WdtOnX1228", MenuId::X1228, "WDT", kBl, 0x08, "-x"},
                             OpeningCase{"BpOnX1226", MenuId::X1226, "BP", kBl, 0xB8, "x-x"}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(BitFieldTest, BeforeAnyReadTheDialogsShowAZeroImage) {
  EXPECT_EQ(shown(open(MenuId::X1209, "mEVENT")), "xx------");
  EXPECT_EQ(shown(reopen("mINT")), "----..");
  EXPECT_EQ(shown(reopen("FOUT")), "----");
}

TEST_F(BitFieldTest, AChangeOfChipKeepsTheImageForTheNextOpening) {
  open(MenuId::X1228, "mINT");
  image().RegINT = 0xD8;  // as an X1228 read would leave it: IM, AL1E, FO1, FO0
  bench.window.menuClick(MenuId::X1208);
  // On the X1208 the same byte reads IM, ALME, FOBATB.
  EXPECT_EQ(shown(reopen("mINT")), "xx-x..");
}

struct ComposeCase {
  const char* name;
  MenuId chip;
  const char* entry;
  std::uint8_t RegisterImage::*image;
  std::uint8_t before;
  const char* boxes;  // as the user leaves them before OK
  std::uint8_t after;
};
void PrintTo(const ComposeCase& c, std::ostream* os) {
  *os << c.name;
}

class Compose : public BitFieldTest, public ::testing::WithParamInterface<ComposeCase> {};

TEST_P(Compose, OkKeepsTheOtherFieldClearsUnnamedBitsAndStoresTheValue) {
  const ComposeCase& c = GetParam();
  bench.loadConnectedWith(c.chip);
  image().*c.image = c.before;
  reopen(c.entry);
  set(c.boxes);
  ASSERT_EQ(shown(*dialog()), c.boxes);
  ok();
  EXPECT_EQ(image().*c.image, c.after);
  EXPECT_NE(dialog(), nullptr) << "the dialog stays open";
  EXPECT_EQ(shown(*dialog()), c.boxes) << "and shows what the user left";
}

INSTANTIATE_TEST_SUITE_P(
    MessageBoxes, Compose,
    ::testing::Values(
        ComposeCase{"IntImOnX1228", MenuId::X1228, "mINT", kInt, 0x18, "x...--", 0x98},
        ComposeCase{"IntClearsBitsTwoToZero", MenuId::X1226, "mINT", kInt, 0x07, "-...-x", 0x20},
        ComposeCase{"IntOnX1209KeepsFo", MenuId::X1209, "mINT", kInt, 0x5A, "x-x-..", 0xAA},
        ComposeCase{"FoOnX1226ClearsASetBit", MenuId::X1226, "FOUT", kInt, 0xFF, "..x-", 0xF0},
        ComposeCase{"FoOnX1209KeepsInterruptBits", MenuId::X1209, "FOUT", kInt, 0x96, "x--x", 0x99},
        ComposeCase{"EvEnablesWriteClearBits", MenuId::X1209, "mEVENT", kEv, 0x00, "-x-----x",
                    0x81},
        ComposeCase{"EvUnchangedZero", MenuId::X1209, "mEVENT", kEv, 0x00, "xx------", 0x00},
        ComposeCase{"WdtKeepsProtectionClearsASetBit", MenuId::X1228, "WDT", kBl, 0xFF, "-x", 0xE8},
        ComposeCase{"BpKeepsWatchdogClearsSetBits", MenuId::X1228, "BP", kBl, 0xFF, "-x-", 0x58}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(BitFieldTest, ADisabledBoxTakesNoTickAndAddsNoBit) {
  open(MenuId::X1228, "mINT");
  set("xxxx--");  // ALME, LPMODE, FOBATB are disabled on the X1228
  EXPECT_EQ(shown(*dialog()), "x...--");
  ok();
  EXPECT_EQ(image().RegINT, 0x80);
}

TEST_F(BitFieldTest, TwoDialogsOnOneRegisterEachKeepTheOthersField) {
  open(MenuId::X1228, "mINT");
  set("x...--");
  ok();
  reopen("FOUT");
  set("..x-");
  ok();  // while the first write is still being unlocked
  EXPECT_EQ(image().RegINT, 0x90);
  bench.clock.advance(400ms);
  // Each write has its own unlock steps; both carry the value of the moment they go out.
  ASSERT_EQ(bench.port.writes.size(), 6u);
  EXPECT_EQ(bench.port.writes[2],
            (Bytes{0x55, 0x00, 0x06, 0x01, 0x6F, 0x00, 0x11, 0x01, 0x90, 0x6D}));
  EXPECT_EQ(bench.port.writes[5], bench.port.writes[2]);
}

TEST_F(BitFieldTest, UnconfirmedTicksAreLostAndAConfirmedValueStaysInTheImage) {
  open(MenuId::X1226, "BP");
  set("xxx");
  reopen("mINT");
  EXPECT_EQ(shown(reopen("BP")), "---");
  EXPECT_EQ(image().RegBL, 0x00);

  set("x--");
  ok();
  bench.window.dialogHost().close();
  bench.clock.advance(150ms);
  EXPECT_EQ(bench.port.writes.size(), 3u) << "closing the dialog does not stop the write";
  // The board refuses the write; the image keeps the composed value all the same.
  bench.port.receive(testing::replyFrame(0x81, {0x03}));
  EXPECT_EQ(image().RegBL, 0x80);
  EXPECT_EQ(shown(reopen("BP")), "x--");
}

TEST_F(BitFieldTest, PickingAChipWithAnotherLayoutShowsItsBoxesFromTheImage) {
  open(MenuId::X1209, "mINT");
  image().RegINT = 0x00;
  set("xxxx..");
  bench.window.menuClick(MenuId::X1228);  // the dialog opens afresh for the X1228
  EXPECT_EQ(shown(*dialog()), "-...--") << "ALME, LPMODE, FOBATB would land on AL1E, AL0E, FO1";
  bench.clock.advance(200ms);
  EXPECT_TRUE(bench.port.writes.empty());

  set("x...-x");
  ok();
  EXPECT_EQ(image().RegINT, 0xA0);
  bench.clock.advance(150ms);
  EXPECT_EQ(bench.port.writes.size(), 3u);
}

TEST_F(BitFieldTest, OkAfterPickingAChipWithoutTheRegisterSendsNothing) {
  open(MenuId::X1209, "mEVENT");
  set("--xxxxxx");
  bench.window.menuClick(MenuId::X1208);  // no event register
  ok();
  bench.clock.advance(200ms);
  EXPECT_TRUE(bench.port.writes.empty());
  EXPECT_EQ(image().RegEV, 0x00);
}

}  // namespace
}  // namespace rtceval
