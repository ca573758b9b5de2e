#include "tests/pages/PageTestSupport.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "changers/ModifyIESkin.h"
#include "changers/ModifyLogonScreen.h"
#include "changers/ScreenSaverChanger.h"
#include "i18n/LanguageManager.h"
#include "imageinfo/InfoPickers.h"
#include "tests/i18n/WinDialogText.h"
#include "tests/support/WinTestSupport.h"

namespace qvtest {
namespace {

bool Lookup(const std::string& section, const std::string& key, std::string* out) {
  return qv::Languages().Lookup(section, key, out);
}
int Message(const char* key, UINT) {
  Page().messages.push_back(key);
  return IDOK;
}
int MessageWithPath(const char* key, const std::string& path, UINT) {
  Page().messages.push_back(std::string(key) + "|" + path);
  return IDOK;
}
void Range(int low, int high) {
  Page().messages.push_back("range|" + std::to_string(low) + "|" + std::to_string(high));
}
void Help(HWND, const char* topic) { Page().opened.push_back(std::string("help|") + topic); }
bool Shell(HWND, const std::string& target, int show) {
  Page().opened.push_back(std::to_string(show) + "|" + target);
  return true;
}
bool Folder(HWND owner, std::string* folder, bool* include) {
  if (Page().useRealFolderDialog) return qv::ProgramPageServices().pickFolder(owner, folder, include);
  if (Page().folder.empty()) return false;
  *folder = Page().folder;
  *include = Page().includeSubFolders;
  return true;
}
bool Files(HWND owner, const std::string& filter, std::vector<std::string>* paths) {
  if (Page().useRealFileDialog) return qv::ProgramPageServices().pickFiles(owner, filter, paths);
  *paths = Page().files;
  return !paths->empty();
}
bool Wallpaper(const std::string& path, int position) {
  Page().wallpapers.push_back(path + "|" + std::to_string(position));
  return Page().modifyWallpaper ? Page().modifyWallpaper(path, position) : true;
}

bool BootScreen(const std::string& path) {
  Page().bootScreens.push_back(path);
  return Page().changeBootScreen ? Page().changeBootScreen(path) : true;
}
bool RestoreBoot() {
  Page().bootScreens.push_back("restore");
  return Page().restoreBootScreen ? Page().restoreBootScreen() : true;
}
bool RemoveSkin() {
  ++Page().skinRemovals;
  return qv::RemoveIESkin();
}
bool LogonScreen(const std::string& path, uint32_t colour) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%06X", colour);
  Page().logonChanges.push_back(path + "|" + hex);
  return qv::ModifyLogonScreen(path, colour);
}
bool RestoreLogon() {
  ++Page().logonRestores;
  return qv::RestoreLogonHost();
}
bool Preview(const std::string& path) {
  Page().previews.push_back(path);
  return qv::PreviewScreenSaver(path);
}
bool Configure(const std::string& path) {
  Page().saverSettings.push_back(path);
  return qv::ConfigureScreenSaver(path);
}

}  // namespace

PageRecord& Page() {
  static PageRecord record;
  return record;
}

const qv::PageServices& TestPageServices() {
  static const qv::PageServices services = [] {
    qv::PageServices s{};
    s.lookup = &Lookup;
    s.showMessage = &Message;
    s.showMessageWithPath = &MessageWithPath;
    s.showRangeMessage = &Range;
    s.openHelp = &Help;
    s.shellOpen = &Shell;
    s.pickFolder = &Folder;
    s.pickFiles = &Files;
    s.modifyWallpaper = &Wallpaper;
    s.changeBootScreen = &BootScreen;
    s.restoreBootScreen = &RestoreBoot;
    s.removeIESkin = &RemoveSkin;
    s.modifyLogonScreen = &LogonScreen;
    s.restoreLogonHost = &RestoreLogon;
    s.previewScreenSaver = &Preview;
    s.configureScreenSaver = &Configure;
    return s;
  }();
  return services;
}

bool StartPageTest(qv::PVoptionData* live) {
  if (!LoadProgramLanguage("qveng.lng")) return false;
  qv::InitInfoPickers();
  Page() = PageRecord();
  live->wallpaper.items.clear();
  live->wallpaper.viewMode = 0;
  return true;
}

bool LoadProgramLanguage(const char* file) {
  return qv::Languages().LoadLanguage(DistFolder() + "language\\" + file);
}

PageHost::PageHost(int width, int height) {
  host_ = CreateWindowExA(0, "STATIC", "Quorvex page test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                          width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

PageHost::~PageHost() {
  if (host_) DestroyWindow(host_);
}

void PageHost::Start(qv::BaseSetupDlg& page, const qv::PVoptionData& live) {
  base_ = &page;
  if (!page.Create(host_, live)) return;
  page.Localize();
  page.Load();
  RECT client{};
  GetClientRect(host_, &client);
  MoveWindow(page.Handle(), 0, 0, client.right, client.bottom, TRUE);
  ShowWindow(page.Handle(), SW_SHOW);
  UpdateWindow(host_);
}

void PageHost::Command(int id) const { SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void PageHost::Pump(DWORD ms) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  }
}

void PageHost::Drop(const std::vector<std::string>& paths) const {
  size_t chars = 1;
  for (const std::string& p : paths) chars += p.size() + 1;
  HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + chars);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = FALSE;
  char* at = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
  for (const std::string& p : paths) {
    std::memcpy(at, p.c_str(), p.size() + 1);
    at += p.size() + 1;
  }
  *at = '\0';
  GlobalUnlock(block);
  // The page hands the block back with DragFinish, as the shell expects.
  SendMessageA(Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

void PageHost::ClickColumn(int column) const {
  NMLISTVIEW click{};
  click.hdr.hwndFrom = List().Handle();
  click.hdr.idFrom = 1040;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = column;
  SendMessageA(Window(), WM_NOTIFY, 1040, reinterpret_cast<LPARAM>(&click));
}

void PageHost::SelectRows(const std::vector<bool>& rows) const {
  for (size_t i = 0; i < rows.size(); ++i) List().Select(static_cast<int>(i), rows[i]);
}

std::vector<std::string> PageHost::Column(int column) const {
  std::vector<std::string> texts;
  for (int row = 0; row < List().Count(); ++row) texts.push_back(List().Text(row, column));
  return texts;
}

std::vector<std::string> FindPictures(const std::string& folder) {
  std::vector<std::string> found;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return found;
  do {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    std::string path = folder + "\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      for (const std::string& inner : FindPictures(path)) found.push_back(inner);
    } else if (name.size() > 4 && _stricmp(name.c_str() + name.size() - 4, ".jpg") == 0) {
      found.push_back(path);
    }
  } while (FindNextFileA(find, &data));
  FindClose(find);
  std::sort(found.begin(), found.end());
  return found;
}

std::vector<std::string> SmallestFirst(std::vector<std::string> paths) {
  auto size = [](const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  };
  std::stable_sort(paths.begin(), paths.end(),
                   [&](const std::string& a, const std::string& b) { return size(a) < size(b); });
  return paths;
}

}  // namespace qvtest

namespace qvtest {

std::string PageTempFolder(const std::string& name) {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static int serial = 0;
  std::string path = std::string(base) + "qvpage-" + std::to_string(GetTickCount()) + "-" +
                     std::to_string(++serial) + "-" + name;
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

namespace {
MessageBoxCloser* g_closer = nullptr;
}

MessageBoxCloser::MessageBoxCloser() {
  g_closer = this;
  timer_ = SetTimer(nullptr, 0, 100, &Check);
}

MessageBoxCloser::~MessageBoxCloser() {
  KillTimer(nullptr, timer_);
  g_closer = nullptr;
}

namespace {
BOOL CALLBACK CloseIfMessageBox(HWND window, LPARAM) {
  if (!g_closer || !IsDialogClass(window) || !IsWindowVisible(window)) return TRUE;
  const std::string texts = StaticTexts(window);
  if (texts.empty()) return TRUE;
  g_closer->texts.push_back(texts);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return FALSE;
}
}  // namespace

void CALLBACK MessageBoxCloser::Check(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), &CloseIfMessageBox, 0);
}

std::string WinePath(const char* unixPath) {
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

MenuPick*& MenuPick::Current() {
  static MenuPick* current = nullptr;
  return current;
}

void CALLBACK MenuPick::Read(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menuWindow = FindWindowA("#32768", nullptr);
  HMENU menu = menuWindow ? reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0)) : nullptr;
  if (!menu) return;
  KillTimer(nullptr, timer);
  MenuPick& pick = *Current();
  pick.seen = true;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[128] = "";
    if (GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION) > 0)
      pick.items.emplace_back(GetMenuItemID(menu, i), text);
  }
  for (WPARAM key : pick.keys) PostMessageA(menuWindow, WM_KEYDOWN, key, 0);
}

void CALLBACK MenuPick::Close(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  EndMenu();
}

void MenuPick::Run(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  Current() = this;
  const UINT_PTR read = SetTimer(nullptr, 0, 50, &MenuPick::Read);
  const UINT_PTR close = SetTimer(nullptr, 0, 5000, &MenuPick::Close);
  SendMessageA(page, message, wParam, lParam);
  KillTimer(nullptr, read);
  KillTimer(nullptr, close);
  Current() = nullptr;
  PageHost::Pump(100);
}

void MenuPick::RunContextMenu(const PageHost& host) {
  RECT list = host.List().WindowRect();
  const LPARAM inside = MAKELPARAM((list.left + list.right) / 2, (list.top + list.bottom) / 2);
  Run(host.Window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.List().Handle()), inside);
}

}  // namespace qvtest
