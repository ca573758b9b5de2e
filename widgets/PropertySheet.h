// Property sheets in wizard style over the system's property sheet: pages made from dialog
// templates, each a Dialog whose `this` travels in its PROPSHEETPAGE, and the sheet window,
// subclassed so that its owner sees the sheet's initialisation and every change of its caption.
//
//   Window -> Dialog -> PropertyPage   (a page of a WizardSheet)
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "widgets/Dialog.h"

namespace widgets {

// The wizard buttons of a property sheet (the dialog manager's numbers; no SDK header names them).
constexpr int kWizardBack = 0x3023;
constexpr int kWizardNext = 0x3024;
constexpr int kWizardFinish = 0x3025;

class WizardSheet;

class PropertyPage : public Dialog {
 public:
  // The sheet window the page lives in.
  HWND Sheet() const { return Parent(); }
  // PSWIZB_* flags of the wizard's Back, Next and Finish buttons.
  void SetWizardButtons(DWORD flags) const;
  // A button of the sheet (kWizardBack, kWizardNext, kWizardFinish, IDCANCEL, IDHELP).
  HWND SheetButton(int id) const { return ::GetDlgItem(Sheet(), id); }
  // Sets the page's texts again from the language in use (the sheet asks after a change).
  virtual void Localize() {}

 protected:
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The page becomes the shown page, or stops being it.
  virtual void OnSetActive() {}
  virtual void OnKillActive() {}
  // Finish was pressed on this page: false keeps the sheet open on it.
  virtual bool OnWizardFinish() { return true; }
  // Cancel (or the close box) was pressed: false keeps the sheet open. By default the sheet
  // decides (WizardSheet::OnCancel).
  virtual bool OnQueryCancel();

 private:
  friend class WizardSheet;
  WizardSheet* sheet_ = nullptr;  // not owned; set when added to a sheet
  static INT_PTR CALLBACK PageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

class WizardSheet {
 public:
  friend class PropertyPage;
  WizardSheet() = default;
  virtual ~WizardSheet() = default;
  WizardSheet(const WizardSheet&) = delete;
  WizardSheet& operator=(const WizardSheet&) = delete;

  // Adds page (not owned; it outlives the sheet) from dialog template resourceId of module.
  // Every page's window is made when the sheet opens, so that all of them can be changed at once.
  void AddPage(PropertyPage* page, HINSTANCE module, int resourceId);
  int PageCount() const { return static_cast<int>(pages_.size()); }

  // Shows the sheet modally over owner until Finish or Cancel. 1 finished, 0 cancelled, -1 when
  // the sheet cannot be made (logged).
  int Run(HWND owner, bool hasHelpButton);
  HWND Handle() const { return window_; }

 protected:
  // The sheet window exists and its pages are made.
  virtual void OnInitialized() {}
  // The text the sheet's caption really gets when something sets it to requested.
  virtual std::string Caption(const char* requested) { return requested ? requested : ""; }
  // Cancel, Escape or the close box on any page: false keeps the sheet open.
  virtual bool OnCancel() { return true; }

 private:
  static int CALLBACK Callback(HWND window, UINT message, LPARAM lParam);
  static LRESULT CALLBACK SheetProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  std::vector<PROPSHEETPAGEA> pages_;
  HWND window_ = nullptr;
  WNDPROC original_ = nullptr;
};

}  // namespace widgets
