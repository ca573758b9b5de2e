// The boot screen page: the picture page over the boot screen list, whose add-files command
// also takes kernel files (their bitmap 1), with "Set As Current Boot Screen", "Restore Default
// Boot Screen" and "Preview Boot Screen" (the apply and preview buttons share one row).
#pragma once

#include <string>

#include "core/ChangeLists.h"
#include "pages/ImageSetupPage.h"

namespace qv {

class BootScreenPage : public ImageSetupPage {
 public:
  explicit BootScreenPage(const PageServices& services);

  void Localize() override;
  const BootScreenSetupData& Working() const { return working_; }
  // Adds a module that holds bitmap 1 as a kernel row (640 x 480 x 4, the file's shell icon);
  // false after "0026" with the path when it cannot be loaded or has no bitmap 1.
  bool AddKernelFile(const std::string& path);

 protected:
  ImageSetupData& GetImageList() override { return working_; }
  void TakeWorkingCopy(const PVoptionData& live) override;
  void CommitTo(PVoptionData& live) override;
  void FillChangeModeCombo() override;
  std::vector<int> BottomControlIds() const override;
  void Relayout(int width, int height) override;
  void AddFiles() override;
  std::string FileFilter() const override;

  bool OnCommand(int code, int id, HWND control) override;

 private:
  void SetAsCurrent();
  void Restore();
  void Preview();

  BootScreenSetupData working_;
};

}  // namespace qv
