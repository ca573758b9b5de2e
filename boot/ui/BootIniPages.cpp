#include "boot/ui/BootIniPages.h"

#include "boot/ui/BootIniRes.h"
#include "platform/Log.h"

namespace qv {

CBootINISetupPage::CBootINISetupPage(int generation, BootMessage message, std::string path)
    : generation_(generation), message_(message), path_(std::move(path)) {}

bool CBootINISetupPage::OnInit() {
  // An unreadable file leaves the list empty; the wizard goes on.
  if (!ReadBootIniIfPresent(model_, path_)) QV_LOG_MSG(path_.c_str());
  LocalizeBootIniSetupLabels(Handle());
  FillBootEntryList(Item(IDC_OS_LIST), model_, generation_);
  return true;
}

void CBootINISetupPage::Localize() {
  LocalizeBootIniSetupLabels(Handle());
  LocalizeBootEntryList(Item(IDC_OS_LIST));
}

void CBootINISetupPage::OnSetActive() { SetWizardButtons(PSWIZB_BACK | PSWIZB_FINISH); }

bool CBootINISetupPage::OnWizardFinish() {
  return SaveBootEntryChoice(Item(IDC_OS_LIST), model_, path_, message_) !=
         BootSaveStep::NoSelection;
}

CQSNewBooINIPage::CQSNewBooINIPage(int generation, std::string path)
    : CQSNewBooINIPage(NewBootIniTextsForThisSystem(generation), std::move(path)) {}

CQSNewBooINIPage::CQSNewBooINIPage(NewBootIniTexts texts, std::string path)
    : texts_(std::move(texts)), path_(std::move(path)) {}

bool CQSNewBooINIPage::OnInit() {
  LocalizeNewBootIniLabels(Handle());
  ::SetDlgItemTextA(Handle(), IDC_NEWBOOTINI_TEXT, texts_.mainText.c_str());
  return true;
}

void CQSNewBooINIPage::Localize() { LocalizeNewBootIniLabels(Handle()); }

void CQSNewBooINIPage::OnSetActive() { SetWizardButtons(PSWIZB_BACK | PSWIZB_FINISH); }

bool CQSNewBooINIPage::OnWizardFinish() {
  SaveNewBootIni(Item(IDC_NEWBOOTINI_TEXT), texts_, path_);
  return true;
}

}  // namespace qv
