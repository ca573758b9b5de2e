#include "pages/AddImageFolderDlg.h"

#include <objbase.h>
#include <shlobj.h>
#include <commctrl.h>

#include "i18n/LanguageManager.h"
#include "pages/PagesRes.h"
#include "platform/Log.h"
#include "platform/ShellFolders.h"
#include "widgets/Window.h"
#include "widgets/WindowSubclass.h"

namespace qv {
namespace {

constexpr int kFolderTree = 14145;  // the browser's tree control
constexpr int kBoxHeight = 20;
constexpr int kBoxIndent = 3;

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string DialogText(const char* key) {
  std::string text;
  if (!Languages().Lookup("Add Image Folder Dialog", key, &text)) text.clear();
  return text;
}

std::string NetworkFolder() {
  return Lower(platform::ShellFolderPath(CSIDL_NETHOOD));
}

struct BrowseState {
  std::string network;
  HWND box = nullptr;
  bool includeSubFolders = true;
  widgets::WindowSubclass watch;  // of the browser window, until it goes
};

// The box keeps its state when the user ticks it; the browser's own callback does not hear of
// that, so the browser window is watched until it goes.
LRESULT WatchBrowser(void* data, HWND browser, UINT message, WPARAM wParam, LPARAM lParam) {
  BrowseState& state = *static_cast<BrowseState*>(data);
  if (message == WM_DESTROY && state.box)
    state.includeSubFolders = ::SendMessageA(state.box, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return state.watch.CallPrevious(browser, message, wParam, lParam);
}

// The check box over the bottom 20 pixels of the folder tree; the tree gives up that strip so
// that no folder hides under the box.
void AddCheckBox(HWND browser, BrowseState& state) {
  widgets::Window tree(::GetDlgItem(browser, kFolderTree));
  if (!tree.Handle()) return;
  RECT r = tree.WindowRect();
  ::MapWindowPoints(nullptr, browser, reinterpret_cast<POINT*>(&r), 2);
  if (r.bottom - kBoxHeight < r.top) return;
  tree.Move(r.left, r.top, r.right - r.left, r.bottom - r.top - kBoxHeight);
  state.box = ::CreateWindowExA(0, "BUTTON", DialogText("0002").c_str(),
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, r.left + kBoxIndent,
                                r.bottom - kBoxHeight, r.right - r.left - kBoxIndent, kBoxHeight, browser,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_INCLUDE_SUBFOLDERS)),
                                ::GetModuleHandleA(nullptr), nullptr);
  if (!state.box) return;
  ::SendMessageA(state.box, BM_SETCHECK, BST_CHECKED, 0);
  ::SendMessageA(state.box, WM_SETFONT, ::SendMessageA(::GetDlgItem(browser, IDOK), WM_GETFONT, 0, 0), TRUE);
  state.watch.Attach(browser, &WatchBrowser, &state);
}

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM lParam, LPARAM data) {
  BrowseState& state = *reinterpret_cast<BrowseState*>(data);
  if (message == BFFM_INITIALIZED) {
    std::string caption = DialogText("0001");
    if (!caption.empty()) ::SetWindowTextA(browser, caption.c_str());
    AddCheckBox(browser, state);
  } else if (message == BFFM_SELCHANGED) {
    char path[MAX_PATH] = "";
    const bool hasPath = ::SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path) != FALSE;
    ::SendMessageA(browser, BFFM_ENABLEOK, 0, hasPath && IsPickableFolder(path, state.network));
  }
  return 0;
}

}  // namespace

bool IsPickableFolder(const std::string& path, const std::string& networkFolder) {
  if (path.empty()) return false;
  return networkFolder.empty() || Lower(path).find(networkFolder) == std::string::npos;
}

bool PickImageFolder(HWND owner, std::string* folder, bool* includeSubFolders) {
  const HRESULT com = ::CoInitialize(nullptr);
  BrowseState state;
  state.network = NetworkFolder();
  std::string title = DialogText("0001");
  char display[MAX_PATH] = "";
  BROWSEINFOA browse{};
  browse.hwndOwner = owner;
  browse.pszDisplayName = display;
  browse.lpszTitle = title.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
  browse.lpfn = &BrowseCallback;
  browse.lParam = reinterpret_cast<LPARAM>(&state);
  LPITEMIDLIST chosen = ::SHBrowseForFolderA(&browse);
  bool ok = false;
  if (chosen) {
    char path[MAX_PATH] = "";
    ok = ::SHGetPathFromIDListA(chosen, path) != FALSE;
    if (ok) {
      *folder = path;
      *includeSubFolders = state.includeSubFolders;
    }
    ::CoTaskMemFree(chosen);
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
  return ok;
}

}  // namespace qv
