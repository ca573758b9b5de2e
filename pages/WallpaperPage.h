// The wallpaper page (dialog 132): the picture page over the wallpaper list, with its interval
// and timer unit (enabled only for "use timer"), its position mode, and "Set As Current".
#pragma once

#include "core/ChangeLists.h"
#include "pages/ImageSetupPage.h"
#include "pages/TimerControls.h"

namespace qv {

class WallpaperPage : public ImageSetupPage {
 public:
  explicit WallpaperPage(const PageServices& services);

  void Localize() override;
  const WallpaperSetupData& Working() const { return working_; }

 protected:
  ImageSetupData& GetImageList() override { return working_; }
  void TakeWorkingCopy(const PVoptionData& live) override;
  void LoadControls() override;
  bool ValidateControls() override;
  void CommitTo(PVoptionData& live) override;
  void FillChangeModeCombo() override;
  std::vector<int> BottomControlIds() const override;
  PreviewLook CurrentPreviewLook() const override;

  bool OnInit() override;
  bool OnCommand(int code, int id, HWND control) override;

 private:
  void FillPositionCombo();
  int ChosenPosition() const;
  void SetAsCurrent();

  WallpaperSetupData working_;
  TimerControls timer_;
  widgets::ComboBox position_;
};

}  // namespace qv
