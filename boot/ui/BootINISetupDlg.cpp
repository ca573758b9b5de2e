#include "boot/ui/BootINISetupDlg.h"

#include "boot/ui/BootIniRes.h"
#include "platform/Log.h"

namespace qv {

BootINISetupDlg::BootINISetupDlg(int generation, BootMessage message, HelpOpener help,
                                 std::string path)
    : generation_(generation), message_(message), help_(help), path_(std::move(path)) {}

INT_PTR BootINISetupDlg::Show(HWND owner) {
  return Run(::GetModuleHandleA(nullptr), IDD_BOOTINI_SETUP, owner);
}

INT_PTR BootINISetupDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (OpenBootIniHelpOn(message, Handle(), help_)) return TRUE;
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
  LocalizeBootIniDialog(Handle(), "Boot.INI Setup Dialog");
  LocalizeBootIniSetupLabels(Handle());
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
