// The interval edit (1031) with its spin (1032) and the timer unit combo (1033) of the picture
// pages whose lists change by a timer: filled from and stored into the page's working list, the
// interval checked against 1..1,000,000 with the shared range message, and enabled only while
// the change mode combo shows "use timer". The page owns one and forwards its steps.
#pragma once

#include <windows.h>

#include <vector>

#include "core/BaseSetupData.h"
#include "pages/PageServices.h"
#include "widgets/Controls.h"

namespace qv {

class TimerControls {
 public:
  static constexpr int kIntervalLow = 1;
  static constexpr int kIntervalHigh = 1000000;
  // The change mode combo's index of "use timer" (change mode 5).
  static constexpr int kUseTimerIndex = 5;

  explicit TimerControls(const PageServices& services) : services_(services) {}

  // Binds the three controls of page and sets the interval's range.
  void Attach(HWND page);
  // The unit names in the language in use; a unit chosen but not applied yet stays chosen.
  void Localize(const BaseSetupData& list) const;
  // Fills the controls from list and enables them for the change mode combo's index.
  void Load(const BaseSetupData& list, int changeModeIndex) const;
  // False after the range message (focus and selection in the edit) when the interval is out
  // of range; nothing is stored.
  bool Validate() const;
  // The interval and unit into list; a control without a value keeps the list's field.
  void Store(BaseSetupData& list) const;
  // Enabled only for "use timer".
  void EnableFor(int changeModeIndex) const;
  // Appends the three controls to a page's bottom-row ids.
  static void AddBottomControlIds(std::vector<int>* ids);

 private:
  const PageServices& services_;  // not owned; outlives the page
  widgets::NumberEdit interval_;
  widgets::ComboBox unit_;
};

}  // namespace qv
