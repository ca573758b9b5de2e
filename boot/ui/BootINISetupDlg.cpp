#include "boot/ui/BootINISetupDlg.h"

#include "boot/ui/BootIniRes.h"
#include "platform/Log.h"
#include "widgets/ControlTexts.h"

namespace qv {
namespace {

const widgets::ControlText kButtons[] = {
    {IDOK, "Boot.INI Setup Dialog", "003"},
    {IDCANCEL, "Common Dialogs", "Cancel"},
};

}  // namespace

BootINISetupDlg::BootINISetupDlg(int generation, BootMessage message, HelpOpener help,
                                 std::string path)
    : generation_(generation), message_(message), help_(help), path_(std::move(path)) {}

INT_PTR BootINISetupDlg::Show(HWND owner) {
  return Run(::GetModuleHandleA(nullptr), IDD_BOOTINI_SETUP, owner);
}

INT_PTR BootINISetupDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HELP) {
    help_(Handle(), kHelpTopic);
    return TRUE;
  }
  return ModalDialog::OnMessage(message, wParam, lParam);
}

bool BootINISetupDlg::OnInit() {
  if (!ReadBootIniIfPresent(model_, path_)) {
    End(IDCANCEL);
    return true;
  }
  Localize();
  FillBootEntryList(Item(IDC_OS_LIST), model_, generation_);
  ::SetFocus(Item(IDC_OS_LIST));
  return false;
}

void BootINISetupDlg::Localize() {
  std::string title;
  if (BootDialogText("Boot.INI Setup Dialog", "001", &title)) SetText(title);
  LocalizeBootIniSetupLabels(Handle());
  widgets::SetControlTexts(Handle(), kButtons, &BootDialogText);
}

bool BootINISetupDlg::OnCommand(int code, int id, HWND control) {
  if (id == IDCANCEL) {
    End(IDCANCEL);
    return true;
  }
  if (id != IDOK) return false;
  if (SaveBootEntryChoice(Item(IDC_OS_LIST), model_, path_, message_) == BootSaveStep::Close)
    End(IDOK);
  return true;
}

}  // namespace qv
