// When the report stands behind its advice: not from a handful of edges, not while the rate's
// 95 % interval reaches past half an ATR step, and the time it says is still needed is about
// right for a line whose scatter stays the same.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "accuracy/accuracy_report.h"
#include "accuracy/axis_ticks.h"

namespace rtceval {
namespace {

// `count` edges ten seconds apart of an exact chip, each off the line by ±`scatterMs` in turn, so
// the scatter stays the same however long the measurement runs; the advice stays ATR 0, DTR 0.
AccuracyReport reportOf(int count, double scatterMs) {
  AccuracyReport report;
  report.clear({}, Layout::A);
  for (int i = 0; i < count; ++i) {
    const double pcMs = 1e6 + i * 10000.0 + (i % 2 ? scatterMs : -scatterMs);
    report.add({100 + 10 * i, pcMs, 0.5});
  }
  return report;
}

TEST(AdviceGate, AdviceOnlyFromARateThatTellsTheAdvisedSettingFromItsNeighbours) {
  struct Row {
    const char* name;
    int edges;
    double scatterMs;
    bool advised;
    const char* textStart;
  };
  for (const Row& row : {Row{"too few samples", 5, 0.0, false, "建议: 样本不足"},
                         Row{"too uncertain", 20, 2.0, false, "建议: 误差的95%区间 ±"},
                         Row{"enough", 200, 0.3, true, "建议: ATR = 0x"}}) {
    SCOPED_TRACE(row.name);
    const AccuracyReport report = reportOf(row.edges, row.scatterMs);
    ASSERT_TRUE(report.fit().has_value());
    EXPECT_EQ(report.advice().has_value(), row.advised);
    EXPECT_EQ(report.adviceText().rfind(row.textStart, 0), 0u) << report.adviceText();
  }
}

TEST(AdviceGate, TheTimeStillNeededIsAboutRight) {
  const AccuracyReport early = reportOf(60, 2.0);
  ASSERT_TRUE(early.gate() && early.gate()->moreSeconds);
  EXPECT_NE(early.adviceText().find("预计再测约"), std::string::npos);
  const double total = early.fit()->spanSeconds + *early.gate()->moreSeconds;
  const auto edgesAt = [](double seconds) { return static_cast<int>(seconds / 10) + 1; };
  EXPECT_FALSE(reportOf(edgesAt(0.8 * total), 2.0).advice().has_value());
  EXPECT_TRUE(reportOf(edgesAt(1.2 * total), 2.0).advice().has_value());
}

TEST(AxisTicks, BothEndsAndTheStepAreRound) {
  struct Row {
    double from, to;
    double low, high, step;
  };
  for (const Row& row : {Row{0.0, 1.0, 0.0, 1.0, 0.2}, Row{0.0, 7.3, 0.0, 8.0, 1.0},
                         Row{-3.4, 12.9, -5.0, 15.0, 5.0}, Row{-0.013, 0.021, -0.015, 0.025, 0.005},
                         Row{0.0, 47.0, 0.0, 50.0, 10.0}, Row{5.0, 5.0, 5.0, 6.0, 0.2}}) {
    SCOPED_TRACE(::testing::Message() << row.from << " … " << row.to);
    const AxisTicks t = roundTicks(row.from, row.to);
    EXPECT_NEAR(t.low, row.low, 1e-9);
    EXPECT_NEAR(t.high, row.high, 1e-9);
    EXPECT_NEAR(t.step, row.step, 1e-12);
    EXPECT_LE(t.intervals, 8);
    EXPECT_NEAR(t.low + t.intervals * t.step, t.high, 1e-9);
  }
}

}  // namespace
}  // namespace rtceval
