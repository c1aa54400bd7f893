// A request chain against a scripted board: every step has its own tries, whatever happened to
// the steps before it, and a reply lost on the line is asked for again like a refused one.
#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <string>
#include <vector>

#include "snapshot/request_chain.h"
#include "virtual_clock.h"

namespace rtceval {
namespace {

using namespace std::chrono_literals;

// What the board does with one try of a step.
enum class Try {
  Accept,
  Refuse,
  Lose,   // no reply comes
  Short,  // accepted, but without all the bytes asked for
};

TEST(RequestChain, EachStepHasItsOwnThreeTries) {
  struct Case {
    const char* name;
    std::vector<Try> tries;  // in the order the tries go out, over all steps
    std::string failedAt;    // "" when the chain ends done
  };
  const Case cases[] = {
      {"two refusals on every step",
       {Try::Refuse, Try::Refuse, Try::Accept, Try::Refuse, Try::Refuse, Try::Accept, Try::Refuse,
        Try::Refuse, Try::Accept},
       ""},
      {"lost replies are asked for again",
       {Try::Lose, Try::Accept, Try::Lose, Try::Lose, Try::Accept, Try::Accept},
       ""},
      {"three failed tries of one step end it",
       {Try::Accept, Try::Refuse, Try::Lose, Try::Refuse},
       "b"},
      {"a reply short of its bytes counts as refused", {Try::Short, Try::Short, Try::Short}, "a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::VirtualClock clock;
    RequestChain chain(clock);
    RequestTicket ticket = 0;
    std::vector<std::string> taken;
    bool complete = true;
    const auto step = [&](std::string what) {
      return RequestChain::Step{what,
                                [&ticket] { return ++ticket; },
                                [&taken, what] { taken.push_back(what); },
                                {},
                                [&complete] { return complete; }};
    };
    bool done = false;
    std::string failed;
    chain.start(
        {step("a"), step("b"), step("c")}, [&done] { done = true; },
        [&failed](const std::string& what) { failed = what; });
    std::size_t sent = 0;
    for (const Try t : c.tries) {
      ASSERT_TRUE(chain.running());
      ASSERT_EQ(ticket, ++sent) << "one request per try";
      complete = t != Try::Short;
      if (t == Try::Lose)
        clock.advance(RequestChain::kStepTimeout);
      else
        chain.replyArrived(ticket, t != Try::Refuse);
      clock.advance(RequestChain::kRetryPause);
    }
    EXPECT_FALSE(chain.running());
    EXPECT_EQ(failed, c.failedAt);
    EXPECT_EQ(done, c.failedAt.empty());
    EXPECT_EQ(ticket, c.tries.size()) << "nothing sent after the end";
    if (done) {
      EXPECT_EQ(taken, (std::vector<std::string>{"a", "b", "c"}));
    } else {
      EXPECT_EQ(chain.stepsDone(), taken.size());
    }
  }
}

}  // namespace
}  // namespace rtceval
