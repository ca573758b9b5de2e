#include "widgets/PropertySheet.h"

#include "platform/Log.h"

namespace widgets {
namespace {

const char kSheetProperty[] = "qv.WizardSheet";
// The sheet that PropertySheetA is making on this thread: its callback carries no pointer.
thread_local WizardSheet* g_building = nullptr;

}  // namespace

void PropertyPage::SetWizardButtons(DWORD flags) const {
  ::PostMessageA(Sheet(), PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
}

INT_PTR PropertyPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_NOTIFY) return Dialog::OnMessage(message, wParam, lParam);
  const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
  switch (header->code) {
    case PSN_SETACTIVE:
      OnSetActive();
      SetResult(0);
      return TRUE;
    case PSN_KILLACTIVE:
      OnKillActive();
      SetResult(FALSE);
      return TRUE;
    case PSN_WIZFINISH:
      SetResult(OnWizardFinish() ? FALSE : TRUE);
      return TRUE;
    case PSN_QUERYCANCEL:
      SetResult(OnQueryCancel() ? FALSE : TRUE);
      return TRUE;
  }
  return Dialog::OnMessage(message, wParam, lParam);
}

bool PropertyPage::OnQueryCancel() { return sheet_ ? sheet_->OnCancel() : true; }

INT_PTR CALLBACK PropertyPage::PageProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  // The page's object travels in its PROPSHEETPAGE; the dialog layer takes it from lParam.
  if (message == WM_INITDIALOG) {
    const PROPSHEETPAGEA* page = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    lParam = page ? page->lParam : 0;
  }
  return Procedure(window, message, wParam, lParam);
}

void WizardSheet::AddPage(PropertyPage* page, HINSTANCE module, int resourceId) {
  PROPSHEETPAGEA sheetPage{};
  sheetPage.dwSize = sizeof sheetPage;
  sheetPage.dwFlags = PSP_DEFAULT | PSP_PREMATURE;
  sheetPage.hInstance = module;
  sheetPage.pszTemplate = MAKEINTRESOURCEA(resourceId);
  sheetPage.pfnDlgProc = &PropertyPage::PageProcedure;
  sheetPage.lParam = reinterpret_cast<LPARAM>(static_cast<Dialog*>(page));
  page->sheet_ = this;
  pages_.push_back(sheetPage);
}

int WizardSheet::Run(HWND owner, bool hasHelpButton) {
  PROPSHEETHEADERA header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_WIZARD | PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_NOAPPLYNOW |
                   (hasHelpButton ? PSH_HASHELP : 0);
  header.hwndParent = owner;
  header.hInstance = pages_.empty() ? nullptr : pages_.front().hInstance;
  header.nPages = static_cast<UINT>(pages_.size());
  header.ppsp = pages_.data();
  header.pfnCallback = &WizardSheet::Callback;
  WizardSheet* outer = g_building;
  g_building = this;
  INT_PTR result = ::PropertySheetA(&header);
  g_building = outer;
  window_ = nullptr;
  if (result < 0) {
    QV_LOG();
    return -1;
  }
  return result > 0 ? 1 : 0;
}

int CALLBACK WizardSheet::Callback(HWND window, UINT message, LPARAM) {
  WizardSheet* self = g_building;
  if (message != PSCB_INITIALIZED || !self) return 0;
  self->window_ = window;
  ::SetPropA(window, kSheetProperty, self);
  self->original_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
      window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WizardSheet::SheetProcedure)));
  try {
    self->OnInitialized();
  } catch (...) {
    QV_LOG();
  }
  return 0;
}

LRESULT CALLBACK WizardSheet::SheetProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  WizardSheet* self = static_cast<WizardSheet*>(::GetPropA(window, kSheetProperty));
  if (!self) return ::DefWindowProcA(window, message, wParam, lParam);
  WNDPROC original = self->original_;
  if (message == WM_SETTEXT) {
    std::string caption;
    try {
      caption = self->Caption(reinterpret_cast<const char*>(lParam));
    } catch (...) {
      QV_LOG();
      caption = lParam ? reinterpret_cast<const char*>(lParam) : "";
    }
    return ::CallWindowProcA(original, window, message, wParam,
                             reinterpret_cast<LPARAM>(caption.c_str()));
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    ::RemovePropA(window, kSheetProperty);
  }
  return ::CallWindowProcA(original, window, message, wParam, lParam);
}

}  // namespace widgets
