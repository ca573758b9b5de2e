// The add-image-folder dialog under Wine, opened by the page's "Add Wallpaper Folder" command:
// the shell's folder browser with the include-sub-folders box, which overlaps no other control
// of the browser, and whose state reaches the row the page adds.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "imageinfo/InfoPickers.h"
#include "pages/PagesRes.h"
#include "tests/pages/PageTestSupport.h"

namespace {

using qvtest::HostedWallpaperPage;
using qvtest::Page;

// What a thread timer inside the browser's own message loop saw and did.
struct BrowserVisit {
  std::string folder;  // chosen with the browser's selection message
  bool untick = false;
  bool seen = false;
  int ticks = 0;
  std::string caption, boxText;
  bool boxTicked = false;
  std::vector<std::string> overlaps;  // controls the box's rectangle meets
  bool boxInside = false;

  static BrowserVisit*& Current() {
    static BrowserVisit* current = nullptr;
    return current;
  }
  static BOOL CALLBACK FindBrowser(HWND window, LPARAM found) {
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    if (IsWindowVisible(window) && std::string(name) == "#32770" && GetDlgItem(window, 14145)) {
      *reinterpret_cast<HWND*>(found) = window;
      return FALSE;
    }
    return TRUE;
  }
  static BOOL CALLBACK CheckSibling(HWND child, LPARAM data) {
    auto* visit = reinterpret_cast<std::pair<BrowserVisit*, HWND>*>(data);
    HWND box = visit->second;
    if (child == box || !IsWindowVisible(child) || GetParent(child) != GetParent(box)) return TRUE;
    RECT a{}, b{}, both{};
    GetWindowRect(box, &a);
    GetWindowRect(child, &b);
    if (IntersectRect(&both, &a, &b)) {
      char name[32] = "";
      GetClassNameA(child, name, sizeof name);
      visit->first->overlaps.push_back(std::string(name) + " " + std::to_string(GetDlgCtrlID(child)));
    }
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND browser = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindBrowser, reinterpret_cast<LPARAM>(&browser));
    if (!browser) return;
    BrowserVisit& visit = *Current();
    // The browser fills its tree after it shows: the folder is chosen again a tick later, and
    // only then confirmed.
    if (++visit.ticks > 1) {
      KillTimer(nullptr, timer);
      SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(visit.folder.c_str()));
      PostMessageA(browser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(browser, IDOK)));
      return;
    }
    visit.seen = true;
    char text[256] = "";
    GetWindowTextA(browser, text, sizeof text);
    visit.caption = text;
    HWND box = GetDlgItem(browser, IDC_INCLUDE_SUBFOLDERS);
    if (box) {
      GetWindowTextA(box, text, sizeof text);
      visit.boxText = text;
      visit.boxTicked = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
      std::pair<BrowserVisit*, HWND> data{&visit, box};
      EnumChildWindows(browser, &CheckSibling, reinterpret_cast<LPARAM>(&data));
      RECT client{}, r{};
      GetClientRect(browser, &client);
      GetWindowRect(box, &r);
      MapWindowPoints(nullptr, browser, reinterpret_cast<POINT*>(&r), 2);
      visit.boxInside = r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom;
      if (visit.untick) SendMessageA(box, BM_CLICK, 0, 0);
    }
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(visit.folder.c_str()));
  }
  // Runs the page's add-folder command with this visit playing the user.
  void Run(HostedWallpaperPage& host) {
    Current() = this;
    const UINT_PTR timer = SetTimer(nullptr, 0, 300, &BrowserVisit::Tick);
    host.Command(ID_ADD_FOLDER);
    KillTimer(nullptr, timer);
    Current() = nullptr;
  }
};

TEST(AddFolderDialog, TheSubFolderBoxCoversNothingAndItsStateReachesTheRow) {
  qv::PVoptionData live;
  ASSERT_TRUE(qvtest::StartPageTest(&live));
  Page().useRealFolderDialog = true;
  HostedWallpaperPage host(live);
  const std::string folder = qvtest::PageTempFolder("addfolder");

  for (bool untick : {false, true}) {
    SCOPED_TRACE(untick ? "unticked" : "left ticked");
    BrowserVisit visit;
    visit.folder = folder;
    visit.untick = untick;
    const int rowsBefore = host.List().Count();
    visit.Run(host);
    ASSERT_TRUE(visit.seen) << "no folder browser appeared";
    EXPECT_EQ(visit.caption, "Add Image Folder");
    EXPECT_EQ(visit.boxText, "Include Subfolders");
    EXPECT_TRUE(visit.boxTicked) << "the box starts ticked";
    EXPECT_TRUE(visit.boxInside);
    EXPECT_TRUE(visit.overlaps.empty()) << "the box lies over " << visit.overlaps.front();
    ASSERT_EQ(host.List().Count(), rowsBefore + 1);
    const qv::ImageRowRecord* row = host.page().Record(rowsBefore);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->fields.isFolder, 1);
    EXPECT_EQ(row->fields.includeSubFolders, untick ? 0 : 1);
    std::string path;
    ASSERT_TRUE(host.page().GetRowPath(rowsBefore, &path));
    EXPECT_EQ(_stricmp(path.c_str(), folder.c_str()), 0) << path << " for " << folder;
  }
}

}  // namespace
