#include "hosts/kit/ticks.h"

#include <algorithm>
#include <cstdio>

namespace dusk::kit {

TickScheduler::TickScheduler(std::vector<const TimerControl*> timers, bool repeatable) : repeatable_(repeatable) {
  for (const TimerControl* t : timers) slots_.push_back(Slot{t});
}

void TickScheduler::Sync(int64_t now) {
  for (Slot& s : slots_) {
    const int32_t want = s.control->Enabled && s.control->Interval > 0 ? s.control->Interval : 0;
    if (want == s.running) continue;
    s.running = want;
    s.due = now + want;
  }
}

std::optional<int64_t> TickScheduler::NextDue() const {
  std::optional<int64_t> next;
  for (const Slot& s : slots_)
    if (s.Live() && (!next || s.due < *next)) next = s.due;
  return next;
}

std::optional<TickScheduler::Firing> TickScheduler::Take(int64_t now) {
  Slot* due = nullptr;
  for (Slot& s : slots_)
    if (s.Live() && s.due <= now && (!due || s.due < due->due)) due = &s;
  if (!due) return std::nullopt;
  const Firing f{static_cast<size_t>(due - slots_.data()), due->due, ++due->fired};
  due->due += due->running;
  if (!repeatable_ && due->due <= now) due->due = now + due->running;
  return f;
}

std::optional<LocalTime> ParseTimeOfDay(const std::string& text) {
  int h = 0, m = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%d:%d%c", &h, &m, &tail) != 2 || h < 0 || h > 23 || m < 0 || m > 59) return {};
  return LocalTime{h, m, 0};
}

}  // namespace dusk::kit
