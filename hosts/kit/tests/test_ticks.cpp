// The timers' schedule both portable hosts run by.
#include <gtest/gtest.h>

#include "hosts/kit/ticks.h"

namespace dusk::kit {
namespace {

struct Timers : ::testing::Test {
  TimerControl frame{50, true}, music{100, true};
  // Fires everything due by `until`, as "f@time" / "m@time".
  std::string Run(TickScheduler& s, int64_t until) {
    std::string out;
    while (const auto f = s.Take(until)) {
      out += (f->timer == 0 ? "f@" : "m@") + std::to_string(f->due) + " ";
      s.Sync(f->due);
    }
    return out;
  }
};

TEST_F(Timers, TheFirstDueFiresFirstAndTheFrameTimerWinsATie) {
  TickScheduler s({&frame, &music}, true);
  s.Sync(0);
  EXPECT_EQ(s.NextDue(), 50);
  EXPECT_EQ(Run(s, 40), "");
  EXPECT_EQ(Run(s, 200), "f@50 f@100 m@100 f@150 f@200 m@200 ");
}

TEST_F(Timers, ALateTimerFiresOnceUnlessTheRunMustRepeat) {
  TickScheduler repeatable({&frame}, true), live({&frame}, false);
  repeatable.Sync(0);
  live.Sync(0);
  EXPECT_EQ(Run(repeatable, 170), "f@50 f@100 f@150 ");
  EXPECT_EQ(Run(live, 170), "f@50 ");
  EXPECT_EQ(live.NextDue(), 220);  // a period from when it fired
}

TEST_F(Timers, StartingStoppingAndNewIntervalsCountFromThatMoment) {
  TickScheduler s({&frame, &music}, true);
  music.Enabled = false;
  s.Sync(0);
  EXPECT_EQ(Run(s, 100), "f@50 f@100 ");
  music.Enabled = true;
  frame.Interval = 30;
  s.Sync(120);
  EXPECT_EQ(Run(s, 220), "f@150 f@180 f@210 m@220 ");
  frame.Enabled = false;
  s.Sync(220);
  EXPECT_EQ(s.NextDue(), 320);
  s.Limit(1, 2);  // the music timer has fired once: once more, then it holds still
  EXPECT_EQ(Run(s, 1000), "m@320 ");
  EXPECT_FALSE(s.NextDue());
}

}  // namespace
}  // namespace dusk::kit
