// The dialog host: opening a dialog by its number closes the one before, a dialog closed during
// an event outlives that event's handlers, replies reach only the open dialog, and a view's
// events reach only the dialog they were meant for.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "dialogs/dialog_context.h"
#include "dialogs/dialog_host.h"
#include "dialogs/sub_form_ids.h"
#include "main_window/dialog_table.h"
#include "window_bench.h"

namespace rtceval::testing {
namespace {

using ::testing::ElementsAre;

// What the test dialogs did, in order, across their lives.
std::vector<std::string>* journal = nullptr;

template <int Number>
class JournalDialog : public DialogModel {
 public:
  explicit JournalDialog(DialogContext& context) : close_(context.close) { note("made"); }
  ~JournalDialog() override { note("freed"); }
  int number() const override { return Number; }
  void Form_Load() override { note("loaded"); }
  void unload() override { note("unloaded"); }
  void replyArrived(const ReplyNote& reply) override {
    note("reply " + std::to_string(reply.request) + (reply.accepted ? " accepted" : " rejected"));
  }
  // Closes itself from inside its own handler, then still reads its own state.
  void closeFromHandler() {
    close_();
    note("still here after close");
  }

 private:
  void note(const std::string& what) const {
    journal->push_back(std::to_string(Number) + " " + what);
  }
  std::function<void()> close_;
};

using TimeLike = JournalDialog<sub_form::frmTime>;
using PanelLike = JournalDialog<sub_form::frmCON>;

constexpr DialogRow kTable[] = {
    {sub_form::frmTime, &makeDialog<TimeLike>},
    {sub_form::frmCON, &makeDialog<PanelLike>},
};

struct Host : ::testing::Test {
  std::vector<std::string> log;
  WindowBench b;  // only for the collaborators a context names
  VirtualClock clock;
  ScriptedMessageBoxes messageBoxes;
  WindowEvents events{clock, messageBoxes};
  int redraws = 0;
  DialogHost host{events, kTable,
                  DialogContext{b.window.link(),
                                b.window.commands(),
                                b.window.sequencer(),
                                b.window.profile(),
                                b.window.registers(),
                                b.window.records(),
                                b.window.reads(),
                                messageBoxes,
                                b.desktop,
                                clock,
                                b.pc,
                                clock,
                                {}}};

  void SetUp() override {
    journal = &log;
    events.setRedraw([this] { ++redraws; });
    events.setOutermostEnded([this] { host.freeClosed(); });
  }
  void TearDown() override {
    host.close();
    host.freeClosed();
    journal = nullptr;
  }
};

TEST_F(Host, OpeningADialogClosesTheOneBefore) {
  EXPECT_EQ(host.OpenSubForm(), sub_form::kNone);
  const int before = host.generation();
  host.open(sub_form::frmTime);
  EXPECT_NE(host.current<TimeLike>(), nullptr);
  EXPECT_EQ(host.OpenSubForm(), sub_form::frmTime);
  EXPECT_GT(host.generation(), before);
  events.run([this] { host.open(sub_form::frmCON); });
  EXPECT_EQ(host.current<TimeLike>(), nullptr);
  EXPECT_NE(host.current<PanelLike>(), nullptr);
  EXPECT_THAT(log,
              ElementsAre("1 made", "1 loaded", "1 unloaded", "2 made", "2 loaded", "1 freed"));
}

TEST_F(Host, ANumberWithoutARowClosesTheOpenDialogAndOpensNothing) {
  host.open(sub_form::frmTime);
  events.run([this] { host.open(sub_form::frmAbout); });
  EXPECT_EQ(host.current(), nullptr);
  EXPECT_EQ(host.OpenSubForm(), sub_form::frmAbout) << "the number is taken all the same";
  EXPECT_THAT(log, ElementsAre("1 made", "1 loaded", "1 unloaded", "1 freed"));
}

TEST_F(Host, ADialogClosedByItsOwnHandlerLivesUntilTheEventEnds) {
  host.open(sub_form::frmTime);
  host.send<TimeLike>([](TimeLike& d) { d.closeFromHandler(); });
  EXPECT_EQ(host.current(), nullptr);
  EXPECT_THAT(
      log, ElementsAre("1 made", "1 loaded", "1 unloaded", "1 still here after close", "1 freed"));
}

TEST_F(Host, NestedEventsFreeClosedDialogsOnlyWhenTheOutermostEnds) {
  host.open(sub_form::frmTime);
  events.run([this] {
    events.run([this] { host.close(); });
    EXPECT_THAT(log, ElementsAre("1 made", "1 loaded", "1 unloaded"))
        << "still alive inside the outer event";
  });
  EXPECT_EQ(log.back(), "1 freed");
}

TEST_F(Host, RepliesReachOnlyTheOpenDialog) {
  host.replyArrived({StReadSR, 1, true});
  EXPECT_TRUE(log.empty());
  host.open(sub_form::frmCON);
  host.replyArrived({StReadCtrlBlock, 2, true});
  host.replyArrived({StReadSR, 3, false});
  EXPECT_THAT(log,
              ElementsAre("2 made", "2 loaded", "2 reply 119 accepted", "2 reply 17 rejected"));
}

TEST_F(Host, AViewsEventReachesOnlyItsOwnKindOfDialogAndRedraws) {
  host.open(sub_form::frmCON);
  int calls = 0;
  redraws = 0;
  host.send<TimeLike>([&](TimeLike&) { ++calls; });
  EXPECT_EQ(calls, 0) << "a late event of a closed dialog's view goes nowhere";
  EXPECT_EQ(redraws, 1);
  host.send<PanelLike>([&](PanelLike&) { ++calls; });
  EXPECT_EQ(calls, 1);
  host.closedByUser();
  EXPECT_EQ(host.current(), nullptr);
  EXPECT_EQ(log.back(), "2 freed");
}

TEST(DialogTable, EachRowMakesTheDialogOfItsNumberOnce) {
  WindowBench b;
  std::set<int> numbers;
  for (const DialogRow& row : allDialogs()) {
    EXPECT_TRUE(numbers.insert(row.number).second) << "two rows for " << row.number;
    // A tool window opens in a host of its own; every other row is a sub-form.
    if (DialogHost* tool = b.window.toolHost(row.number)) {
      b.window.openToolWindow(row.number);
      ASSERT_NE(tool->current(), nullptr) << row.number;
      EXPECT_EQ(tool->current()->number(), row.number);
      continue;
    }
    EXPECT_GE(row.number, 0);
    const bool toolWindow = std::find(std::begin(tool_window::kAll), std::end(tool_window::kAll),
                                      row.number) != std::end(tool_window::kAll);
    EXPECT_TRUE(row.number <= sub_form::kLast || toolWindow) << row.number;
    b.window.Load_Sub_Form(row.number);
    ASSERT_NE(b.window.dialogHost().current(), nullptr) << row.number;
    EXPECT_EQ(b.window.dialogHost().current()->number(), row.number);
  }
  EXPECT_TRUE(numbers.count(sub_form::frmComm) && numbers.count(sub_form::frmTime));
}

}  // namespace
}  // namespace rtceval::testing
