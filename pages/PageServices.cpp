#include "pages/PageServices.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>

#include "changers/ModifyIESkin.h"
#include "changers/ModifyLogonScreen.h"
#include "changers/ModifyWallpaper.h"
#include "changers/ScreenSaverChanger.h"
#include "core/ShowMessage.h"
#include "core/WindowsGeneration.h"
#include "help/HelpFile.h"
#include "i18n/LanguageManager.h"
#include "i18n/MessageKeys.h"
#include "pages/AddImageFolderDlg.h"
#include "platform/Log.h"
#include "res/resource.h"

namespace qv {
namespace {

// Large multiple selections must fit: 1,048,575 characters.
constexpr DWORD kNameBufferSize = 0xFFFFF;

bool LanguageLookup(const std::string& section, const std::string& key, std::string* out) {
  return Languages().Lookup(section, key, out);
}

void ShowRange(int low, int high) {
  std::string format;
  if (!Languages().Lookup(msg::kSection, msg::kNumberRange, &format)) {
    QV_LOG_MSG("no range message");
    return;
  }
  char text[512];
  std::snprintf(text, sizeof text, format.c_str(), low, high);
  char caption[64] = "Quorvex";
  ::LoadStringA(::GetModuleHandleA(nullptr), IDS_INSTANCE_NAME, caption, sizeof caption);
  HWND owner = MessageOwner();
  ::MessageBoxA(owner && ::IsWindow(owner) ? owner : nullptr, text, caption, MB_OK | MB_ICONINFORMATION);
}

void PageHelp(HWND owner, const char* topic) { OpenHelp(owner, topic); }

bool ShellOpen(HWND owner, const std::string& target, int show) {
  HINSTANCE result = ::ShellExecuteA(owner, "open", target.c_str(), nullptr, nullptr, show);
  if (reinterpret_cast<INT_PTR>(result) <= 32) {
    QV_LOG_MSG(target.c_str());
    return false;
  }
  return true;
}

// "folder\0name\0name\0\0" for several names, "path\0\0" for one.
std::vector<std::string> ChosenNames(const char* buffer) {
  std::vector<std::string> names;
  std::string first = buffer;
  const char* next = buffer + first.size() + 1;
  if (!*next) return {first};
  if (!first.empty() && first.back() != '\\') first += '\\';
  while (*next) {
    std::string name = next;
    names.push_back(first + name);
    next += name.size() + 1;
  }
  return names;
}

bool PickFiles(HWND owner, const std::string& filter, std::vector<std::string>* paths) {
  std::string patterns = filter;
  for (char& c : patterns)
    if (c == '|') c = '\0';
  std::vector<char> names(kNameBufferSize + 1, '\0');
  OPENFILENAMEA dialog{};
  // Windows 2000 and XP show the places bar only for the structure of their own size.
  const bool full = WindowsGeneration == kWin2000 || WindowsGeneration == kWinXP;
  dialog.lStructSize = full ? sizeof(OPENFILENAMEA) : OPENFILENAME_SIZE_VERSION_400A;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = patterns.c_str();
  dialog.lpstrFile = names.data();
  dialog.nMaxFile = kNameBufferSize;
  dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY |
                 OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  if (!::GetOpenFileNameA(&dialog)) return false;
  *paths = ChosenNames(names.data());
  return !paths->empty();
}

}  // namespace

PageServices ProgramPageServices() {
  PageServices s{};
  s.lookup = &LanguageLookup;
  s.showMessage = &ShowMessage;
  s.showMessageWithPath = &ShowMessageWithPath;
  s.showRangeMessage = &ShowRange;
  s.openHelp = &PageHelp;
  s.shellOpen = &ShellOpen;
  s.pickFolder = &PickImageFolder;
  s.pickFiles = &PickFiles;
  s.modifyWallpaper = &ModifyWallpaper;
  s.removeIESkin = &RemoveIESkin;
  s.modifyLogonScreen = &ModifyLogonScreen;
  s.restoreLogonHost = &RestoreLogonHost;
  s.previewScreenSaver = &PreviewScreenSaver;
  s.configureScreenSaver = &ConfigureScreenSaver;
  return s;
}

}  // namespace qv
