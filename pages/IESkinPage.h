// The IE skin page (dialog 136): the picture page over the IE skin list with thumbnails of the
// toolbar's shape (200 x 34), its interval and timer unit (enabled only for "use timer"),
// "Set As Current" through the list's own apply, and "Remove IE Skin".
#pragma once

#include "core/ChangeLists.h"
#include "pages/ImageSetupPage.h"
#include "pages/TimerControls.h"

namespace qv {

class IESkinPage : public ImageSetupPage {
 public:
  explicit IESkinPage(const PageServices& services);

  void Localize() override;
  const IESkinSetupData& Working() const { return working_; }

 protected:
  ImageSetupData& GetImageList() override { return working_; }
  void TakeWorkingCopy(const PVoptionData& live) override;
  void LoadControls() override;
  bool ValidateControls() override;
  void CommitTo(PVoptionData& live) override;
  void FillChangeModeCombo() override;
  std::vector<int> BottomControlIds() const override;

  bool OnInit() override;
  bool OnCommand(int code, int id, HWND control) override;

 private:
  void SetAsCurrent();
  void RemoveSkin();

  IESkinSetupData working_;
  TimerControls timer_;
};

}  // namespace qv
