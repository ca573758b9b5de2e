// The new boot.ini dialog, shown when there is no boot.ini: the file Quorvex would write, to
// be edited; Save writes it with the kernel switch on its last line and a backup line.
#pragma once

#include <string>

#include "boot/BootINI.h"
#include "boot/ui/BootIniView.h"
#include "help/HelpFile.h"
#include "widgets/Dialog.h"

namespace qv {

class NewBootIniDlg : public widgets::ModalDialog {
 public:
  // The texts are made here, once, from this system's Windows directory.
  explicit NewBootIniDlg(int generation, HelpOpener help = &OpenHelp,
                         std::string path = BootINI::kPath);
  NewBootIniDlg(NewBootIniTexts texts, HelpOpener help, std::string path);

  // Runs the dialog; IDOK when Save closed it (written, empty or failed), IDCANCEL otherwise.
  INT_PTR Show(HWND owner);
  const NewBootIniTexts& Texts() const { return texts_; }

 protected:
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnInit() override;
  bool OnCommand(int code, int id, HWND control) override;

 private:
  NewBootIniTexts texts_;
  HelpOpener help_;
  std::string path_;
};

// The menu command "Setup BOOT.INI": nothing (and true) unless the generation is Windows 2000
// or XP; the setup dialog when path exists (true whatever the user did); otherwise the new
// boot.ini dialog (true only when it was closed with Save).
bool SetupBootIni(HWND owner, int generation, BootMessage message,
                  const std::string& path = BootINI::kPath);

}  // namespace qv
