// The dialog host: opening a dialog by its number closes the one before, a dialog closed during
// an event outlives that event's handlers, replies reach only the open dialog, and a view's
// events reach only the dialog they were meant for.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <typeindex>
#include <vector>

#include "dialogs/dialog_context.h"
#include "dialogs/dialog_host.h"
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

using TimeLike = JournalDialog<1>;
using PanelLike = JournalDialog<2>;

constexpr DialogRow kTable[] = {
    {.number = 1,
     .form = "frmTime",
     .menu = WindowMenu::Command,
     .place = 0,
     .item = "SETTIME",
     .caption = "设置时间",
     .make = &makeDialog<TimeLike>},
    {.number = 2,
     .form = "frmCON",
     .menu = WindowMenu::Command,
     .place = 1,
     .item = "STATUS",
     .caption = "状态控制",
     .make = &makeDialog<PanelLike>},
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
  EXPECT_EQ(host.OpenSubForm(), DialogHost::kNone);
  const int before = host.generation();
  host.Load_Sub_Form(1);
  EXPECT_NE(host.current<TimeLike>(), nullptr);
  EXPECT_EQ(host.OpenSubForm(), 1);
  EXPECT_GT(host.generation(), before);
  events.run([this] { host.Load_Sub_Form(2); });
  EXPECT_EQ(host.current<TimeLike>(), nullptr);
  EXPECT_NE(host.current<PanelLike>(), nullptr);
  EXPECT_THAT(log,
              ElementsAre("1 made", "1 loaded", "1 unloaded", "2 made", "2 loaded", "1 freed"));
}

TEST_F(Host, ANumberWithoutARowClosesTheOpenDialogAndOpensNothing) {
  host.Load_Sub_Form(1);
  events.run([this] { host.Load_Sub_Form(17); });
  EXPECT_EQ(host.current(), nullptr);
  EXPECT_EQ(host.OpenSubForm(), 17) << "the number is taken all the same";
  EXPECT_THAT(log, ElementsAre("1 made", "1 loaded", "1 unloaded", "1 freed"));
}

TEST_F(Host, ADialogClosedByItsOwnHandlerLivesUntilTheEventEnds) {
  host.Load_Sub_Form(1);
  host.send<TimeLike>([](TimeLike& d) { d.closeFromHandler(); });
  EXPECT_EQ(host.current(), nullptr);
  EXPECT_THAT(
      log, ElementsAre("1 made", "1 loaded", "1 unloaded", "1 still here after close", "1 freed"));
}

TEST_F(Host, NestedEventsFreeClosedDialogsOnlyWhenTheOutermostEnds) {
  host.Load_Sub_Form(1);
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
  host.Load_Sub_Form(2);
  host.replyArrived({StReadCtrlBlock, 2, true});
  host.replyArrived({StReadSR, 3, false});
  EXPECT_THAT(log,
              ElementsAre("2 made", "2 loaded", "2 reply 119 accepted", "2 reply 17 rejected"));
}

TEST_F(Host, AViewsEventReachesOnlyItsOwnKindOfDialogAndRedraws) {
  host.Load_Sub_Form(2);
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

TEST(DialogTable, EachRowMakesItsOwnWindowInTheHostOfItsKind) {
  WindowBench b;
  std::set<int> numbers;
  std::set<std::type_index> models;
  for (const DialogRow& row : allDialogs()) {
    SCOPED_TRACE(row.form);
    EXPECT_TRUE(numbers.insert(row.number).second) << "two rows for " << row.number;
    // A tool window opens in a host of its own; every other row is a sub-form of 0 to 17.
    DialogHost* tool = b.window.toolHost(row.number);
    ASSERT_EQ(tool != nullptr, row.kind == WindowKind::Tool);
    if (!tool) {
      EXPECT_TRUE(row.number >= 0 && row.number <= 17) << row.number;
    }
    DialogHost& host = tool ? *tool : b.window.dialogHost();
    host.Load_Sub_Form(row.number);
    ASSERT_NE(host.current(), nullptr);
    const DialogModel& made = *host.current();
    EXPECT_TRUE(models.insert(typeid(made)).second) << "a window made by two rows";
  }
}

}  // namespace
}  // namespace rtceval::testing
