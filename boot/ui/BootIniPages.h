// The boot.ini choice and the new boot.ini as the last page of the quick setup wizard: the same
// list, texts and saves as the two dialogs; their work is done when the user presses Finish.
#pragma once

#include <string>

#include "boot/BootINI.h"
#include "boot/ui/BootIniView.h"
#include "widgets/PropertySheet.h"

namespace qv {

class CBootINISetupPage : public widgets::PropertyPage {
 public:
  CBootINISetupPage(int generation, BootMessage message, std::string path = BootINI::kPath);
  void Localize() override;

 protected:
  bool OnInit() override;
  void OnSetActive() override;
  bool OnWizardFinish() override;

 private:
  int generation_;
  BootMessage message_;
  std::string path_;
  BootINI model_;
};

class CQSNewBooINIPage : public widgets::PropertyPage {
 public:
  // The texts are made here, once, from this system's Windows directory.
  CQSNewBooINIPage(int generation, std::string path = BootINI::kPath);
  CQSNewBooINIPage(NewBootIniTexts texts, std::string path);
  void Localize() override;
  const NewBootIniTexts& Texts() const { return texts_; }

 protected:
  bool OnInit() override;
  void OnSetActive() override;
  bool OnWizardFinish() override;

 private:
  NewBootIniTexts texts_;
  std::string path_;
};

}  // namespace qv
