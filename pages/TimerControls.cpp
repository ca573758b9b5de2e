#include "pages/TimerControls.h"

#include "pages/PagesRes.h"
#include "pages/SetupPage.h"

namespace qv {

void TimerControls::Attach(HWND page) {
  interval_.Attach(::GetDlgItem(page, IDC_INTERVAL), ::GetDlgItem(page, IDC_INTERVAL_SPIN));
  interval_.SetRange(kIntervalLow, kIntervalHigh);
  unit_.Attach(::GetDlgItem(page, IDC_TIMER_UNIT));
}

void TimerControls::Localize(const BaseSetupData& list) const {
  const int selected = unit_.Count() > 0 ? unit_.Selection() : list.timerUnit;
  unit_.Clear();
  for (const char* key : {"seconds", "minutes", "hours", "days"})
    unit_.Add(PageText(services_, "Timer Unit Combobox", key));
  unit_.Select(selected);
}

void TimerControls::Load(const BaseSetupData& list, int changeModeIndex) const {
  interval_.SetValue(list.interval);
  unit_.Select(list.timerUnit);
  EnableFor(changeModeIndex);
}

bool TimerControls::Validate() const {
  int interval = 0;
  return CheckNumber(services_, interval_, &interval);
}

void TimerControls::Store(BaseSetupData& list) const {
  int interval = list.interval;
  if (interval_.Value(&interval)) list.interval = interval;
  if (unit_.Selection() >= 0) list.timerUnit = unit_.Selection();
}

void TimerControls::EnableFor(int changeModeIndex) const {
  const bool timer = changeModeIndex == kUseTimerIndex;
  interval_.Enable(timer);
  unit_.Enable(timer);
}

void TimerControls::AddBottomControlIds(std::vector<int>* ids) {
  ids->insert(ids->end(), {IDC_INTERVAL, IDC_INTERVAL_SPIN, IDC_TIMER_UNIT});
}

}  // namespace qv
