#include "core/mainwindow/PivoraDlg.h"

#include "core/WindowsGeneration.h"
#include "core/mainwindow/AgentWindowClass.h"
#include "core/mainwindow/Hotkeys.h"
#include "core/mainwindow/MainWindowRes.h"
#include "platform/Log.h"
#include "platform/PrivateMessages.h"
#include "platform/ProgramFolder.h"
#include "platform/SystemFunctions.h"
#include "widgets/Menu.h"

namespace qv {
namespace {

constexpr int kMinimumWidth = 658;
constexpr int kMinimumHeight = 480;
constexpr int kStartupOffset = 10000;

// The configuration window whose Escape key the filter discards (one main window per process).
HWND g_escapeTarget = nullptr;

// Escape would end the dialog through IDCANCEL: the key is dropped before dialog processing.
LRESULT CALLBACK EscapeFilter(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* msg = reinterpret_cast<const MSG*>(lParam);
  if (code == MSGF_DIALOGBOX && msg && g_escapeTarget &&
      (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP || msg->message == WM_CHAR) &&
      msg->wParam == VK_ESCAPE &&
      (msg->hwnd == g_escapeTarget || IsChild(g_escapeTarget, msg->hwnd))) {
    return TRUE;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string ResourceString(UINT id) {
  char text[256];
  int n = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return std::string(text, n > 0 ? n : 0);
}

}  // namespace

PivoraDlg::PivoraDlg(PVoptionData& settings, std::string settingsPath, bool startupRun,
                     const MainWindowServices& services, PageFactory pages,
                     MainWindowTimings timings)
    : settings_(settings),
      settingsPath_(std::move(settingsPath)),
      startupRun_(startupRun),
      services_(services),
      timings_(timings),
      frame_(services_, pages),
      menuIcons_(GetModuleHandleA(nullptr)) {}

PivoraDlg::~PivoraDlg() = default;

INT_PTR PivoraDlg::RunWindow(HINSTANCE instance) {
  // Without its class the template cannot make the window: the dialog would not run at all.
  if (!RegisterAgentWindowClass(instance)) return -1;
  return Run(instance, IDD_MAIN, nullptr);
}

bool PivoraDlg::OnInit() {
  HWND self = Handle();
  // The template is narrower than the minimum; the size change below goes through ClampSize.
  RECT created{};
  GetWindowRect(self, &created);
  SetWindowPos(self, nullptr, 0, 0, created.right - created.left, created.bottom - created.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  icon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
  services_.setMessageOwner(self);

  // 1. The tray icon.
  if (tray_.Create(self, QV_MSG_TRAY_NOTIFY, ResourceString(IDS_TRAY_TIP), icon_, IDR_TRAYMENU)) {
    tray_.SetMenuDefaultItem(ID_CONFIGURE);
  } else {
    QV_LOG();
  }
  // 2. The message hook, from the program's own folder only.
  hook_.Install(ProgramFolderFile("pv.dll"));
  // 3. Hotkeys of the agent.
  if (startupRun_) RegisterHotkeys();
  // 4. The update check.
  if (settings_.checkNewVersion) services_.startUpdateChecks(self, settings_.siteListRefreshDay);
  // 5. The watcher's receiver.
  watch_.SetReceiver(self);
  // 6. The page frame, the system menu item and the icons. A start-up run makes the first
  // page when the user opens the window: under Wine a list page's shell icons and image lists
  // alone keep 2.7 MB of the agent's memory.
  frame_.Create(self, WindowsGeneration, &settings_, !startupRun_);
  if (WindowsGeneration != kWin2000 && WindowsGeneration != kWinXP)
    widgets::RemoveMenuCommand(Menu(), ID_SETUP_BOOTINI);
  DrawMenuBar(self);
  AddSystemMenuItem();
  SetIcons(icon_, icon_);
  escapeFilter_ = SetWindowsHookExA(WH_MSGFILTER, &EscapeFilter, nullptr, GetCurrentThreadId());
  g_escapeTarget = self;
  // 7. A start-up run never shows the window: it goes resident through its own close.
  if (startupRun_) {
    RECT r = WindowRect();
    SetPosition(nullptr, r.left + kStartupOffset, r.top + kStartupOffset, 0, 0,
                SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Post(WM_CLOSE);
  }
  // 8. Texts, and the icons beside the menus' commands.
  TranslateAll();
  AddMenuBarIcons();
  // 9. and 10. The retry of a failed logon change and the start-up checks.
  if (WindowsGeneration == kWinXP && settings_.logonScreen.lastApplyFailed)
    SetTimer(TIMER_LOGON_RETRY, timings_.logonRetry);
  if (startupRun_ && WindowsGeneration > kWinNT4 && WindowsGeneration != kWinUnknown) {
    SetTimer(TIMER_WALLPAPER_CHECK, timings_.wallpaperCheck);
    SetTimer(TIMER_BOOTSCREEN_CHECK, timings_.bootScreenCheck);
  }
  frame_.Layout();
  initialised_ = true;
  return true;
}

void PivoraDlg::AddMenuBarIcons() {
  HMENU bar = Menu();
  for (int i = 0; bar && i < GetMenuItemCount(bar); ++i) menuIcons_.Menu().Apply(GetSubMenu(bar, i));
}

void PivoraDlg::AddSystemMenuItem() {
  HMENU menu = SystemMenu();
  if (!menu) return;
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, ResourceString(IDS_ABOUTBOX).c_str());
}

INT_PTR PivoraDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      CloseSequence();
      return TRUE;
    case WM_HOTKEY:
      return OnHotkey(static_cast<int>(wParam)) ? TRUE : FALSE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
        ShowConfiguration(PageKind::About);
        return TRUE;
      }
      return FALSE;
    case WM_HELP:
      // F1 that the page shown did not take: its topic.
      services_.openHelp(Handle(), PageHelpTopic(frame_.Selected()));
      return TRUE;
    case WM_GETMINMAXINFO: {
      MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = kMinimumWidth;
      info->ptMinTrackSize.y = kMinimumHeight;
      return TRUE;
    }
    case WM_WINDOWPOSCHANGING:
      ClampSize(reinterpret_cast<WINDOWPOS*>(lParam));
      return FALSE;
    case QV_MSG_FOLDER_CHANGED:
      OnFolderChanged();
      return TRUE;
    case QV_MSG_TRANSLATE_MENU:
      TranslateTrayMenu(reinterpret_cast<HMENU>(wParam));
      menuIcons_.Menu().Apply(reinterpret_cast<HMENU>(wParam));
      return TRUE;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_MENUCHAR: {
      LRESULT result = 0;
      if (!menuIcons_.Menu().OnMessage(message, wParam, lParam, &result)) return FALSE;
      SetResult(result);
      return TRUE;
    }
    case QV_MSG_TRAY_NOTIFY:
      tray_.OnTrayNotification(static_cast<UINT>(lParam));
      return TRUE;
    case QV_MSG_SCREENSAVER_RUN:
      OnScreenSaverStarted();
      return TRUE;
    case QV_MSG_QUIT_AGENT:
      EndAgent();
      return TRUE;
    case QV_MSG_LANGUAGE_CHANGED:
      TranslateAll();
      frame_.LocalizePages();
      return TRUE;
    case QV_MSG_SITE_LIST:
    case QV_MSG_NEW_VERSION:
    case QV_MSG_CHECK_RETRY:
      OnCheckResult(message, wParam, lParam);
      return TRUE;
  }
  return Dialog::OnMessage(message, wParam, lParam);
}

void PivoraDlg::ClampSize(WINDOWPOS* position) const {
  if (!position) return;
  // The dialog manager shows a modal dialog when its loop first runs idle, which in start-up
  // mode comes after the window's own close has made it the agent.
  if (resident_ && (position->flags & SWP_SHOWWINDOW)) position->flags &= ~SWP_SHOWWINDOW;
  if ((position->flags & SWP_NOSIZE) || IsIconic(Handle()) || IsZoomed(Handle())) return;
  if (position->cx < kMinimumWidth) position->cx = kMinimumWidth;
  if (position->cy < kMinimumHeight) position->cy = kMinimumHeight;
}

bool PivoraDlg::OnCommand(int code, int id, HWND) {
  switch (id) {
    case ID_CONFIGURE: ShowConfiguration(frame_.Selected()); return true;
    case ID_ABOUT: ShowConfiguration(PageKind::About); return true;
    case ID_PREFERENCES: ShowConfiguration(PageKind::Preferences); return true;
    case ID_CLOSE_CONFIGURE: CloseSequence(); return true;
    case ID_EXIT: Exit(); return true;
    case ID_PREVIOUS_WALLPAPER: StepList(PageKind::Wallpaper, false); return true;
    case ID_NEXT_WALLPAPER: StepList(PageKind::Wallpaper, true); return true;
    case ID_PREVIOUS_IESKIN: StepList(PageKind::IESkin, false); return true;
    case ID_NEXT_IESKIN: StepList(PageKind::IESkin, true); return true;
    case ID_TOGGLE_SCREENSAVER:
      services_.toggleScreenSaverActive();
      return true;
    case ID_START_SCREENSAVER:
      services_.startScreenSaverNow(Handle(), settings_.screenSaver.changeMode == kModeEachRun);
      return true;
    case ID_HELP_CONTENTS:
      services_.openHelp(Handle(), nullptr);
      return true;
    case ID_HOMEPAGE:
      services_.openHomePage(Handle());
      return true;
    case ID_SETUP_BOOTINI:
      if (WindowsGeneration == kWin2000 || WindowsGeneration == kWinXP)
        services_.setupBootIni(Handle());
      return true;
    case IDOK:
    case IDCANCEL:  // Enter and Escape never end the configuration window
      return true;
  }
  return false;
}

bool PivoraDlg::OnNotify(int, NMHDR* header, LRESULT* result) {
  if (!frame_.OnNotify(header)) return false;
  *result = 0;
  return true;
}

bool PivoraDlg::OnSize(UINT type, int, int) {
  if (type != SIZE_MINIMIZED) frame_.Layout();
  return true;
}

void PivoraDlg::ShowConfiguration(PageKind page) {
  resident_ = false;
  UnregisterAgentHotkeys(Handle());
  frame_.Select(page);
  // Centred on the work area of the screen.
  RECT r = WindowRect();
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  int width = r.right - r.left, height = r.bottom - r.top;
  SetPosition(nullptr, work.left + ((work.right - work.left) - width) / 2,
              work.top + ((work.bottom - work.top) - height) / 2, 0, 0,
              SWP_NOSIZE | SWP_NOZORDER);
  Show(IsIconic(Handle()) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(Handle());
  StopListTimers();
}

bool PivoraDlg::ApplyPages() {
  // The frame itself holds no values of its own: its data exchange always succeeds.
  if (!frame_.ApplyPages(settings_)) return false;
  // A logon change that failed on the page is retried as one that failed at start-up.
  if (WindowsGeneration == kWinXP && settings_.logonScreen.lastApplyFailed)
    SetTimer(TIMER_LOGON_RETRY, timings_.logonRetry);
  return true;
}

void PivoraDlg::CloseSequence() {
  if (!ApplyPages()) return;
  Show(SW_HIDE);
  resident_ = true;
  if (settings_.agentEnabled) StartListTimers();
  RegisterHotkeys();
  RepairMissingSystemFiles();
  RestartWatch();
  if (!settings_.Save(settingsPath_)) QV_LOG();
  if (!settings_.agentEnabled) End(0);
}

void PivoraDlg::RepairMissingSystemFiles() {
  auto missing = [](std::string (*path)()) {
    std::string file = path();
    return !file.empty() && GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES;
  };
  switch (WindowsGeneration) {
    case kWin95:
    case kWin98:
    case kWinMe:
      if (missing(services_.bootLogoPath)) settings_.bootScreen.ChangeIfDue();
      break;
    case kWin2000:
      if (missing(services_.qvLogoPath)) settings_.bootScreen.ChangeIfDue();
      break;
    case kWinXP:
      if (missing(services_.qvLogoPath)) settings_.bootScreen.ChangeIfDue();
      if (missing(services_.qvUiHostPath)) settings_.logonScreen.ChangeIfDue();
      break;
    default:
      break;
  }
}

void PivoraDlg::RestartWatch() {
  watch_.Reset();
  for (const SetupItem& item : settings_.ieSkin.items)
    if (item.isFolder) watch_.AddFolder(item.path);
  for (const SetupItem& item : settings_.wallpaper.items)
    if (item.isFolder) watch_.AddFolder(item.path);
  if (!watch_.IsRunning()) watch_.Start();
}

void PivoraDlg::Exit() {
  int answer = services_.showMessage("0005", MB_YESNO | MB_ICONQUESTION);
  if (answer == -1) {
    // Without the language's text the question is still asked, so that Exit always works.
    answer = MessageBoxA(Handle(), ResourceString(IDS_CONFIRM_EXIT).c_str(),
                         ResourceString(IDS_INSTANCE_NAME).c_str(), MB_YESNO | MB_ICONQUESTION);
  }
  if (answer != IDYES) return;
  if (ApplyPages()) End(0);
}

void PivoraDlg::EndAgent() {
  // An open tray menu runs its own loop, which would swallow the end and keep the process.
  // EndMenu is there from 98 and 2000 on; the menu's owner hears WM_CANCELMODE on all.
  using EndMenuFn = BOOL(WINAPI*)();
  if (auto endMenu = platform::LoadSystemFunction<EndMenuFn>(platform::SystemFunction::kEndMenu))
    endMenu();
  else
    SendMessageA(Handle(), WM_CANCELMODE, 0, 0);
  End(0);
  PostQuitMessage(0);
}

void PivoraDlg::OnDestroy() {
  for (UINT_PTR id : {TIMER_IESKIN, TIMER_WALLPAPER, TIMER_FOLDER_QUIET, TIMER_SCREENSAVER_RUN,
                      TIMER_UPDATE_CHECK, TIMER_SITE_LIST, TIMER_LOGON_RETRY,
                      TIMER_WALLPAPER_CHECK, TIMER_BOOTSCREEN_CHECK})
    KillTimer(id);
  if (!settings_.Save(settingsPath_)) QV_LOG();
  EndChecks();
  services_.releaseImageInfo();
  hook_.Remove();
  UnregisterAgentHotkeys(Handle());
  watch_.Reset();
  if (escapeFilter_) UnhookWindowsHookEx(escapeFilter_);
  escapeFilter_ = nullptr;
  g_escapeTarget = nullptr;
  services_.setMessageOwner(nullptr);
  tray_.RemoveIcon();
}

}  // namespace qv
