#include "boot/ui/NewBootIniDlg.h"

#include "boot/ui/BootINISetupDlg.h"
#include "boot/ui/BootIniRes.h"
#include "core/WindowsGeneration.h"
#include "platform/SafeFile.h"

namespace qv {

NewBootIniDlg::NewBootIniDlg(int generation, HelpOpener help, std::string path)
    : NewBootIniDlg(NewBootIniTextsForThisSystem(generation), help, std::move(path)) {}

NewBootIniDlg::NewBootIniDlg(NewBootIniTexts texts, HelpOpener help, std::string path)
    : texts_(std::move(texts)), help_(help), path_(std::move(path)) {}

INT_PTR NewBootIniDlg::Show(HWND owner) {
  return Run(::GetModuleHandleA(nullptr), IDD_NEW_BOOTINI, owner);
}

INT_PTR NewBootIniDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (OpenBootIniHelpOn(message, Handle(), help_)) return TRUE;
  return ModalDialog::OnMessage(message, wParam, lParam);
}

bool NewBootIniDlg::OnInit() {
  LocalizeBootIniDialog(Handle(), "New Boot.INI Dialog");
  LocalizeNewBootIniLabels(Handle());
  ::SetDlgItemTextA(Handle(), IDC_NEWBOOTINI_TEXT, texts_.mainText.c_str());
  // The caret at the start, not the whole text selected, so that a first key press does not
  // replace the file.
  HWND edit = Item(IDC_NEWBOOTINI_TEXT);
  ::SetFocus(edit);
  ::SendMessageA(edit, EM_SETSEL, 0, 0);
  return false;
}

bool NewBootIniDlg::OnCommand(int code, int id, HWND control) {
  if (id == IDCANCEL) {
    End(IDCANCEL);
    return true;
  }
  if (id != IDOK) return false;
  SaveNewBootIni(Item(IDC_NEWBOOTINI_TEXT), texts_, path_);
  End(IDOK);
  return true;
}

bool SetupBootIni(HWND owner, int generation, BootMessage message, const std::string& path) {
  if (generation != kWin2000 && generation != kWinXP) return true;
  unsigned attributes = 0;
  if (platform::GetFileAttributeBits(path, &attributes)) {
    BootINISetupDlg dialog(generation, message, &OpenHelp, path);
    dialog.Show(owner);
    return true;
  }
  NewBootIniDlg dialog(generation, &OpenHelp, path);
  return dialog.Show(owner) == IDOK;
}

}  // namespace qv
