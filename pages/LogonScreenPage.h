// The logon screen page (dialog 172): the picture page over the logon list that also takes
// ready-made logon programs (checked with ProbeLogonProgram), the background colour picker
// bound to the list's background colour, "Set As Current" through the logon changer, and
// "Restore Default Logon Screen".
#pragma once

#include "core/ChangeLists.h"
#include "pages/ImageSetupPage.h"
#include "widgets/ColourPicker.h"

namespace qv {

class LogonScreenPage : public ImageSetupPage {
 public:
  explicit LogonScreenPage(const PageServices& services);

  void Localize() override;
  const LogonScreenSetupData& Working() const { return working_; }
  const widgets::ColourPicker& BackgroundPicker() const { return background_; }

 protected:
  ImageSetupData& GetImageList() override { return working_; }
  void TakeWorkingCopy(const PVoptionData& live) override;
  void LoadControls() override;
  void CommitTo(PVoptionData& live) override;
  void FillChangeModeCombo() override;
  std::vector<int> BottomControlIds() const override;
  PreviewLook CurrentPreviewLook() const override;
  void AddPath(const std::string& path) override;
  void AddFiles() override;
  std::string FileFilter() const override;

  bool OnInit() override;
  bool OnCommand(int code, int id, HWND control) override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Adds a program file that can be a logon host; false (nothing added) when it cannot.
  bool AddProgram(const std::string& path);
  void SetAsCurrent();
  void RestoreDefault();

  LogonScreenSetupData working_;
  widgets::ColourPicker background_;
};

}  // namespace qv
