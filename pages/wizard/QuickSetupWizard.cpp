#include "pages/wizard/QuickSetupWizard.h"

#include "boot/ui/BootIniRes.h"
#include "core/ProgramVersion.h"
#include "core/QuickSetupSeam.h"
#include "core/ShowMessage.h"
#include "core/WindowsGeneration.h"
#include "i18n/LanguageFile.h"
#include "i18n/LanguageManager.h"
#include "pages/wizard/QuickSetupRes.h"
#include "platform/Log.h"
#include "platform/SafeFile.h"

namespace qv {
namespace {

constexpr UINT kInstanceNameString = 102;

std::string WizardText(const char* key) {
  std::string text;
  Languages().Lookup("Quick Setup Wizard", key, &text);
  return text;
}

bool AskYesNo(HWND sheet, const std::string& text) {
  std::string caption = ProgramQuickSetupEnvironment().names.product;
  return ::MessageBoxA(sheet, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool FileExists(const std::string& path) {
  unsigned attributes = 0;
  return platform::GetFileAttributeBits(path, &attributes);
}

// Moves a button of the sheet right by dx (client coordinates of the sheet).
void ShiftButton(HWND sheet, int id, int dx) {
  HWND button = ::GetDlgItem(sheet, id);
  if (!button) return;
  RECT r;
  ::GetWindowRect(button, &r);
  ::MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&r), 2);
  ::SetWindowPos(button, nullptr, r.left + dx, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace

QuickSetupEnvironment ProgramQuickSetupEnvironment() {
  QuickSetupEnvironment environment;
  environment.generation = WindowsGeneration;
  char name[64];
  int n = ::LoadStringA(::GetModuleHandleA(nullptr), kInstanceNameString, name, sizeof name);
  if (n > 0) environment.names.product.assign(name, n);
  environment.names.version = VersionText(kProgramVersion);
  environment.message = &ShowMessage;
  environment.confirmCancel = &AskYesNo;
  return environment;
}

CQuickSetupWizard::CQuickSetupWizard(const PVoptionData& settings,
                                     QuickSetupEnvironment environment)
    : environment_(std::move(environment)),
      welcome_(environment_.names),
      language_(this),
      hotkeys_(settings.hotkeys, environment_.generation != kWin2000 &&
                                     environment_.generation != kWinXP) {
  HINSTANCE module = ::GetModuleHandleA(nullptr);
  AddPage(&welcome_, module, IDD_QS_WELCOME);
  AddPage(&language_, module, IDD_QS_LANGUAGE);
  AddPage(&hotkeys_, module, IDD_QS_HOTKEY);
  if (environment_.generation == kWin2000 || environment_.generation == kWinXP) {
    if (FileExists(environment_.bootIniPath)) {
      bootSetup_ = std::make_unique<CBootINISetupPage>(environment_.generation,
                                                       environment_.message,
                                                       environment_.bootIniPath);
      AddPage(bootSetup_.get(), module, IDD_QS_BOOTINI_SETUP);
    } else {
      newBootIni_ = std::make_unique<CQSNewBooINIPage>(environment_.generation,
                                                       environment_.bootIniPath);
      AddPage(newBootIni_.get(), module, IDD_QS_NEW_BOOTINI);
    }
  }
  language_.SetPreset(Languages().GetCurrentIndex());
}

CQuickSetupWizard::~CQuickSetupWizard() = default;

WizardOutcome CQuickSetupWizard::RunWizard(HWND owner) {
  HWND previousOwner = MessageOwner();
  int result = Run(owner, true);
  SetMessageOwner(previousOwner);
  return result == 1 ? WizardOutcome::Finished : WizardOutcome::Cancelled;
}

void CQuickSetupWizard::TakeResults(PVoptionData& settings) const {
  for (int i = 0; i < kHotkeyCount; ++i) settings.hotkeys[i] = hotkeys_.Hotkey(i);
  std::string path;
  if (Languages().GetCurrentPath(&path)) settings.languageFile = path;
}

std::string CQuickSetupWizard::Title() const {
  std::string format = WizardText("0001");
  if (format.empty()) return environment_.names.product;
  return FormatWithPath(format, environment_.names.product);
}

void CQuickSetupWizard::Relocalize() {
  if (Handle()) ::SetWindowTextA(Handle(), "");
  widgets::PropertyPage* pages[] = {&welcome_, &language_, &hotkeys_, bootSetup_.get(),
                                    newBootIni_.get()};
  for (widgets::PropertyPage* page : pages)
    if (page && page->IsWindow()) page->Localize();
}

void CQuickSetupWizard::OnInitialized() {
  SetMessageOwner(Handle());
  ArrangeButtons();
  CentreOnScreen();
  ::SetWindowTextA(Handle(), "");
}

// Help is hidden and Cancel takes its place; Back, Next and Finish move right as far.
void CQuickSetupWizard::ArrangeButtons() const {
  HWND help = ::GetDlgItem(Handle(), IDHELP);
  HWND cancel = ::GetDlgItem(Handle(), IDCANCEL);
  if (!help || !cancel) return;
  RECT helpRect, cancelRect;
  ::GetWindowRect(help, &helpRect);
  ::GetWindowRect(cancel, &cancelRect);
  int dx = helpRect.left - cancelRect.left;
  ::ShowWindow(help, SW_HIDE);
  for (int id : {IDCANCEL, widgets::kWizardBack, widgets::kWizardNext, widgets::kWizardFinish}) ShiftButton(Handle(), id, dx);
}

void CQuickSetupWizard::CentreOnScreen() const {
  RECT sheet, area;
  ::GetWindowRect(Handle(), &sheet);
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  int x = area.left + ((area.right - area.left) - (sheet.right - sheet.left)) / 2;
  int y = area.top + ((area.bottom - area.top) - (sheet.bottom - sheet.top)) / 2;
  ::SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

bool CQuickSetupWizard::OnCancel() {
  if (!environment_.confirmCancel) return true;
  return environment_.confirmCancel(Handle(), WizardText("0002"));
}

WizardOutcome RunQuickSetupWizard(PVoptionData& settings) {
  // The settings' (default) language first, so that the wizard speaks it.
  Languages().LoadLanguageOrFirst(settings.languageFile);
  // No main window exists yet, so no hotkey of the program is registered that the hotkey
  // controls could collide with.
  CQuickSetupWizard wizard(settings, ProgramQuickSetupEnvironment());
  WizardOutcome outcome = wizard.RunWizard(nullptr);
  if (outcome == WizardOutcome::Finished) wizard.TakeResults(settings);
  return outcome;
}

}  // namespace qv
