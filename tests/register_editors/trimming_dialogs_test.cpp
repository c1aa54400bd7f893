// The analog and digital trimming dialogs on the fake port and the virtual clock: what they show
// when they open, the figures their boxes give, and the writes their OK hands to the sequencer.
#include <gtest/gtest.h>

#include <string>

#include "editor_bench.h"
#include "register_editors/analog_trim_dialog.h"
#include "register_editors/digital_trim_dialog.h"

namespace rtceval {
namespace {

using testing::EditorBench;
using namespace std::chrono_literals;

// ---- digital trimming ----

struct DtrBench : EditorBench {
  using EditorBench::EditorBench;
  DigitalTrimDialog* openWith(std::uint8_t dtr) {
    window.registers().RegDTR = dtr;
    return open<DigitalTrimDialog>("DTR");
  }
  void click(void (DigitalTrimDialog::*box)(bool), bool on) {
    user<DigitalTrimDialog>([box, on](DigitalTrimDialog& d) { (d.*box)(on); });
  }
};

TEST(DigitalTrim, TheFigureFollowsTheTableForBothStepSizes) {
  // DTR2 DTR1 DTR0 as bits 2..0; DTR0 counts two steps, DTR1 one, DTR2 is the sign.
  const char* const layoutA[8] = {"0", "20", "10", "30", "0", "-20", "-10", "-30"};
  const char* const layoutB[8] = {"0", "40", "20", "60", "0", "-40", "-20", "-60"};
  for (auto [model, figures, step] :
       {std::tuple{MenuId::X1226, layoutA, 10}, std::tuple{MenuId::X1209, layoutB, 20}}) {
    DtrBench bench(model);
    for (std::uint8_t bits = 0; bits < 8; ++bits) {
      SCOPED_TRACE("DTR = " + std::to_string(bits) + (step == 20 ? " on the X1209" : ""));
      // Bits 7 to 3 of the image do not reach the boxes.
      DigitalTrimDialog* d = bench.openWith(static_cast<std::uint8_t>(0xF8 | bits));
      ASSERT_NE(d, nullptr);
      EXPECT_EQ(d->ppmStep(), step);
      EXPECT_EQ(d->dtr2Ticked, (bits & 4) != 0);
      EXPECT_EQ(d->dtr1Ticked, (bits & 2) != 0);
      EXPECT_EQ(d->dtr0Ticked, (bits & 1) != 0);
      EXPECT_EQ(d->valueText, figures[bits]);
      EXPECT_EQ(std::to_string(d->ppmShown()), figures[bits]);
    }
  }
}

TEST(DigitalTrim, ClicksOnAnX1226FollowTheFigureAndOkStoresTheBoxes) {
  DtrBench bench(MenuId::X1226);
  DigitalTrimDialog* d = bench.openWith(0x05);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->valueText, "-20");
  bench.click(&DigitalTrimDialog::dtr1Clicked, true);
  EXPECT_EQ(d->valueText, "-30");
  bench.click(&DigitalTrimDialog::dtr2Clicked, false);
  EXPECT_EQ(d->valueText, "30");

  bench.user<DigitalTrimDialog>([](DigitalTrimDialog& dialog) { dialog.okClicked(); });
  EXPECT_EQ(bench.window.registers().RegDTR, 0x03) << "the image holds the value at once";
  EXPECT_EQ(bench.window.dialogHost().current<DigitalTrimDialog>(), d) << "it stays open";
}

TEST(DigitalTrim, ASignClickKeepsTheMagnitudeAndNothingReadsTheTypedFigure) {
  DtrBench bench(MenuId::X1226);
  DigitalTrimDialog* d = bench.openWith(0x00);
  ASSERT_NE(d, nullptr);
  // DTR2 on a figure of 0 stays 0; the magnitude comes only with DTR1 or DTR0.
  bench.click(&DigitalTrimDialog::dtr2Clicked, true);
  EXPECT_EQ(d->valueText, "0");
  bench.click(&DigitalTrimDialog::dtr0Clicked, true);
  EXPECT_EQ(d->valueText, "-20");

  // A typed figure is shown but not taken: the next sign click flips the figure the boxes gave.
  bench.user<DigitalTrimDialog>([](DigitalTrimDialog& dialog) { dialog.valueText = "7"; });
  bench.click(&DigitalTrimDialog::dtr2Clicked, false);
  EXPECT_EQ(d->valueText, "20");
  bench.user<DigitalTrimDialog>([](DigitalTrimDialog& dialog) { dialog.valueText = "99"; });
  bench.user<DigitalTrimDialog>([](DigitalTrimDialog& dialog) { dialog.okClicked(); });
  EXPECT_EQ(bench.window.registers().RegDTR, 0x01);
}

TEST(DigitalTrim, ReopeningTakesTheStepOfTheChipSelectedThen) {
  DtrBench bench(MenuId::X1228);
  DigitalTrimDialog* d = bench.openWith(0x03);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->valueText, "30");
  bench.window.menuClick(MenuId::X1208);
  d = bench.open<DigitalTrimDialog>("DTR");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->valueText, "60");
}

// ---- analog trimming ----

struct AtrBench : EditorBench {
  using EditorBench::EditorBench;
  AnalogTrimDialog* openWith(std::uint8_t atr) {
    window.registers().RegATR = atr;
    return open<AnalogTrimDialog>("ATR");
  }
  void ok() {
    user<AnalogTrimDialog>([](AnalogTrimDialog& d) { d.okClicked(); });
  }
};

TEST(AnalogTrim, TheValueBoxShowsTheLoadCapacitanceOfTheSignedAtr) {
  struct Case {
    std::uint8_t atr;
    int value;
    const char* shown;
  };
  // ATR5 is the sign of a six-bit two's complement; C = ATR x 0.25 pF + 11.0 pF.
  const Case cases[] = {{0x00, 0, "11.00"},  {0x01, 1, "11.25"},  {0x02, 2, "11.50"},
                        {0x03, 3, "11.75"},  {0x1F, 31, "18.75"}, {0x20, -32, "3.00"},
                        {0x21, -31, "3.25"}, {0x3F, -1, "10.75"}, {0x3C, -4, "10.00"},
                        {0xC5, 5, "12.25"},  {0xE0, -32, "3.00"}};
  AtrBench bench(MenuId::X1209);
  for (const Case& c : cases) {
    SCOPED_TRACE("RegATR = " + std::to_string(c.atr));
    AnalogTrimDialog* d = bench.openWith(c.atr);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->atrShown(), c.value);
    EXPECT_EQ(d->valueText, c.shown);
  }
}

TEST(AnalogTrim, AClickOnAnAtrBoxRefreshesTheValue) {
  AtrBench bench(MenuId::X1226);
  AnalogTrimDialog* d = bench.openWith(0x00);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->valueText, "11.00");
  bench.user<AnalogTrimDialog>([](AnalogTrimDialog& dialog) { dialog.atrClicked(0, true); });
  EXPECT_TRUE(d->atrTicked[0]);
  EXPECT_EQ(d->valueText, "3.00") << "ATR5 alone is -32";
  bench.user<AnalogTrimDialog>([](AnalogTrimDialog& dialog) { dialog.atrClicked(5, true); });
  EXPECT_EQ(d->valueText, "3.25");
  bench.user<AnalogTrimDialog>([](AnalogTrimDialog& dialog) { dialog.atrClicked(0, false); });
  EXPECT_EQ(d->valueText, "11.25");
}

TEST(AnalogTrim, OnAnX1228BmatrLeftInTheImageIsNeitherShownNorStored) {
  AtrBench bench(MenuId::X1228);
  AnalogTrimDialog* d = bench.openWith(0xC5);
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(d->bmatrEnabled);
  EXPECT_FALSE(d->bmatr1Ticked);
  EXPECT_FALSE(d->bmatr0Ticked);
  const std::array<bool, 6> ticked{false, false, false, true, false, true};  // ATR2, ATR0
  EXPECT_EQ(d->atrTicked, ticked);
  // A click on a disabled box changes nothing.
  bench.user<AnalogTrimDialog>([](AnalogTrimDialog& dialog) { dialog.bmatr1Clicked(true); });
  EXPECT_FALSE(d->bmatr1Ticked);

  bench.ok();
  EXPECT_EQ(bench.window.registers().RegATR, 0x05);
}

TEST(AnalogTrim, OnAnX1209BmatrIsShownAndComposed) {
  AtrBench bench(MenuId::X1209);
  AnalogTrimDialog* d = bench.openWith(0xC5);
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(d->bmatrEnabled);
  EXPECT_TRUE(d->bmatr1Ticked);
  EXPECT_TRUE(d->bmatr0Ticked);
  bench.ok();
  EXPECT_EQ(bench.window.registers().RegATR, 0xC5);

  // Clearing BMATR0 and ticking ATR5 compose 0xA5.
  bench.user<AnalogTrimDialog>([](AnalogTrimDialog& dialog) {
    dialog.bmatr0Clicked(false);
    dialog.atrClicked(0, true);
  });
  bench.ok();
  EXPECT_EQ(bench.window.registers().RegATR, 0xA5);
}

}  // namespace
}  // namespace rtceval
