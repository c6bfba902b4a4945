// When the core's timers fire, decided once for every host that runs them itself. A timer that is
// started (enabled with an interval above 0, or given another interval) falls due one interval
// after the moment it was started; then every interval after that. Of the timers due, the one
// that fell due first fires, one at a time; on a tie the one listed first (the frame timer).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/seam.h"

namespace dusk::kit {

class TickScheduler {
 public:
  // `repeatable`: every period fires at the time it was due, however late the host is (a run that
  // must repeat itself, as with a seed); otherwise a late timer fires once, not once for every
  // period it missed, and its next period starts from now, as the system's timers do.
  TickScheduler(std::vector<const TimerControl*> timers, bool repeatable);

  // Takes note of timers started, stopped or given another interval (call after every handler).
  void Sync(int64_t now);
  // The timer fires no more than `count` times; then it holds still (0: no limit).
  void Limit(size_t timer, long long count) { slots_[timer].limit = count; }

  // The earliest time a timer falls due, if one is running.
  std::optional<int64_t> NextDue() const;

  struct Firing {
    size_t timer;       // its place in the list given
    int64_t due;        // when it fell due
    long long count;    // how often it has fired, this one included
  };
  // The timer to fire by `now`, if any, moved on to its next period.
  std::optional<Firing> Take(int64_t now);

 private:
  struct Slot {
    const TimerControl* control;
    int32_t running = 0;  // the interval it runs with, 0 when stopped
    int64_t due = 0;
    long long fired = 0, limit = 0;
    bool Live() const { return running && !(limit && fired >= limit); }
  };
  std::vector<Slot> slots_;
  bool repeatable_;
};

// A time of day given as "HH:MM" (a run that must show a fixed clock); nothing for anything else.
std::optional<LocalTime> ParseTimeOfDay(const std::string& text);

}  // namespace dusk::kit
