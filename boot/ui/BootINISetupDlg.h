// The "Setup BOOT.INI" dialog: the Windows entries of boot.ini in a list, the one matching this
// Windows preselected; Save marks the chosen entry for the boot screen's kernel copy.
#pragma once

#include <string>

#include "boot/BootINI.h"
#include "boot/ui/BootIniView.h"
#include "help/HelpFile.h"
#include "widgets/Dialog.h"

namespace qv {

class BootINISetupDlg : public widgets::ModalDialog {
 public:
  BootINISetupDlg(int generation, BootMessage message, HelpOpener help = &OpenHelp,
                  std::string path = BootINI::kPath);

  // Runs the dialog; IDOK when Save closed it, IDCANCEL otherwise (also for an unreadable file).
  INT_PTR Show(HWND owner);

 protected:
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnInit() override;
  bool OnCommand(int code, int id, HWND control) override;

 private:
  void Localize();

  int generation_;
  BootMessage message_;
  HelpOpener help_;
  std::string path_;
  BootINI model_;  // read when the dialog opens, discarded with it
};

}  // namespace qv
