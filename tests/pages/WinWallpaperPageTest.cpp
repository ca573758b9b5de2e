// The wallpaper page and its bases through their real controls under Wine: commands as the
// buttons send them, list-view notifications, a real WM_DROPFILES, and the texts, registry and
// files they leave.
#include <gtest/gtest.h>

#include "changers/ModifyWallpaper.h"
#include "core/ChangeLists.h"
#include "i18n/MessageKeys.h"
#include "imageinfo/InfoPickers.h"
#include "pages/PagesRes.h"
#include "pages/ThumbnailGenerator.h"
#include "tests/pages/PageTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace {

using qvtest::HostedWallpaperPage;
using qvtest::MenuPick;
using qvtest::Page;

// A Unix path of the build as Wine's Z: drive names it.
std::string WinePath(const char* unixPath) {
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

class WallpaperPageTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(qvtest::StartPageTest(&live)); }
  // Rows named W X Y Z (no such files: the names are what counts).
  void FourRows(HostedWallpaperPage& host) {
    host.List().DeleteAll();
    for (const char* name : {"W", "X", "Y", "Z"}) host.page().AddFileRow(std::string("C:\\rows\\") + name + ".bmp");
  }
  static std::string Order(HostedWallpaperPage& host) {
    std::string order;
    for (const std::string& name : host.Column(0)) order += name.substr(0, 1);
    return order;
  }
  qv::PVoptionData live;
};

TEST_F(WallpaperPageTest, RowMovesFollowTheSelection) {
  HostedWallpaperPage host(live);
  struct Case {
    std::vector<bool> selected;
    int command;
    const char* expected;
  } cases[] = {
      {{false, true, false, true}, IDC_UP, "XWZY"},     {{false, true, false, true}, IDC_TOP, "XZWY"},
      {{false, true, false, true}, IDC_DOWN, "WXYZ"},   {{false, true, false, true}, IDC_BOTTOM, "WXYZ"},
      {{false, true, true, false}, IDC_DOWN, "WZXY"},   {{false, true, true, false}, IDC_BOTTOM, "WZXY"},
      {{false, true, true, false}, IDC_UP, "XYWZ"},     {{false, true, true, false}, IDC_TOP, "XYWZ"},
      {{true, false, true, false}, IDC_UP, "WXYZ"},     {{true, false, true, false}, IDC_TOP, "WXYZ"},
  };
  for (const Case& c : cases) {
    FourRows(host);
    host.SelectRows(c.selected);
    host.Command(c.command);
    EXPECT_EQ(Order(host), c.expected) << "command " << c.command;
    // The selection travels with its rows.
    std::string selected;
    for (int row : host.List().SelectedRows()) selected += host.List().Text(row, 0).substr(0, 1);
    EXPECT_EQ(selected.size(), 2u);
  }
  EXPECT_TRUE(Page().messages.empty());
  host.SelectRows({false, false, false, false});
  host.Command(IDC_UP);
  host.Command(ID_REMOVE);
  EXPECT_EQ(Page().messages, (std::vector<std::string>{"0003", "0003"}));
}

TEST_F(WallpaperPageTest, SortingTwiceReversesAndTopRemovesTheArrow) {
  HostedWallpaperPage host(live);
  host.List().DeleteAll();
  for (const char* name : {"b", "d", "a", "c"}) host.page().AddFileRow(std::string("C:\\s\\") + name + ".bmp");
  host.ClickColumn(0);
  EXPECT_EQ(Order(host), "abcd");
  EXPECT_EQ(host.List().GetSortArrow(0), widgets::ListView::SortArrow::Up);
  host.ClickColumn(0);
  EXPECT_EQ(Order(host), "dcba");
  EXPECT_EQ(host.List().GetSortArrow(0), widgets::ListView::SortArrow::Down);
  host.SelectRows({false, false, true, false});
  host.Command(IDC_TOP);
  EXPECT_EQ(Order(host), "bdca");
  EXPECT_EQ(host.List().GetSortArrow(0), widgets::ListView::SortArrow::None);
  EXPECT_EQ(host.page().SortColumn(), -1);
}

TEST_F(WallpaperPageTest, SelectionCommandsAndShortcuts) {
  HostedWallpaperPage host(live);
  FourRows(host);
  host.Command(ID_SELECT_ALL);
  EXPECT_EQ(host.List().SelectedCount(), 0) << "select all needs one selected row";
  host.SelectRows({false, true, false, false});
  host.Command(ID_SELECT_ALL);
  EXPECT_EQ(host.List().SelectedCount(), 4);
  host.SelectRows({true, false, true, false});
  host.Command(ID_INVERT_SELECTION);
  EXPECT_EQ(host.List().SelectedRows(), (std::vector<int>{1, 3}));
  NMLVKEYDOWN key{};
  key.hdr.hwndFrom = host.List().Handle();
  key.hdr.code = LVN_KEYDOWN;
  key.wVKey = VK_DELETE;
  SendMessageA(host.Window(), WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&key));
  EXPECT_EQ(Order(host), "WY");
  host.page().Commit(live);
  EXPECT_EQ(live.wallpaper.items.size(), 2u);
  EXPECT_EQ(live.wallpaper.items[1].path, "C:\\rows\\Y.bmp");
  host.Command(ID_CLEAR);
  EXPECT_EQ(host.List().Count(), 0);
}

TEST_F(WallpaperPageTest, DropsAddFoldersRootsAndOnlyTheListedPictureNames) {
  const std::string folder = qvtest::PageTempFolder("dropped");
  const std::string gif = WinePath(QV_GIF_320x200);
  HostedWallpaperPage host(live);
  host.Drop({folder, "C:\\", folder + "\\x.pcx", folder + "\\x.jpeg", folder + "\\x.tif", "a.bmp", gif});
  ASSERT_EQ(host.List().Count(), 3);
  EXPECT_EQ(host.List().Text(0, 5), "Yes");
  EXPECT_EQ(host.page().Record(0)->fields.isFolder, 1);
  EXPECT_EQ(host.List().Text(1, 0), "C:\\");
  EXPECT_EQ(host.List().Text(1, 1), "");
  std::string root;
  ASSERT_TRUE(host.page().GetRowPath(1, &root));
  EXPECT_EQ(root, "C:\\");
  EXPECT_EQ(host.List().Text(2, 2), "320");
  EXPECT_EQ(host.List().Text(2, 3), "200");
  EXPECT_EQ(host.List().Text(2, 4), "8 bit");
  EXPECT_EQ(host.List().Text(2, 5), "");
  // A double click opens the first selected row with the shell; a drive root as a folder.
  host.SelectRows({false, true, false});
  NMHDR click{host.List().Handle(), IDC_LIST, static_cast<UINT>(NM_DBLCLK)};
  SendMessageA(host.Window(), WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(Page().opened, (std::vector<std::string>{std::to_string(SW_SHOWDEFAULT) + "|C:\\"}));
}

TEST_F(WallpaperPageTest, AddFilesAndFolderThroughTheirDialogs) {
  HostedWallpaperPage host(live);
  Page().files = {WinePath(QV_GIF_320x200), "C:\\pictures\\x.pcx"};  // the dialog's names are not filtered
  host.Command(ID_ADD_FILES);
  Page().folder = "C:\\windows\\";
  Page().includeSubFolders = false;
  host.Command(ID_ADD_FOLDER);
  ASSERT_EQ(host.List().Count(), 3);
  EXPECT_EQ(host.List().Text(1, 0), "x.pcx");
  EXPECT_EQ(host.List().Text(2, 0), "windows");
  EXPECT_EQ(host.List().Text(2, 5), "No");
  host.page().Commit(live);
  EXPECT_EQ(live.wallpaper.items[2].path, "C:\\windows");
  EXPECT_EQ(live.wallpaper.items[2].includeSubFolders, 0);
  EXPECT_EQ(live.wallpaper.items[0].width, 320);
  EXPECT_EQ(live.wallpaper.items[0].depth, 8);
}

TEST_F(WallpaperPageTest, TimerControlsFollowUseTimerAndTheIntervalIsChecked) {
  live.wallpaper.changeMode = qv::kModeEachDay;
  live.wallpaper.interval = 30;
  HostedWallpaperPage host(live);
  widgets::Window edit(GetDlgItem(host.Window(), IDC_INTERVAL));
  widgets::ComboBox mode(GetDlgItem(host.Window(), IDC_CHANGE_MODE));
  EXPECT_EQ(edit.Text(), "30");
  EXPECT_EQ(mode.Count(), 6);
  EXPECT_EQ(mode.ItemText(5), "use timer");
  EXPECT_FALSE(edit.IsEnabled());
  mode.Select(5);
  SendMessageA(host.Window(), WM_COMMAND, MAKEWPARAM(IDC_CHANGE_MODE, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(mode.Handle()));
  EXPECT_TRUE(edit.IsEnabled());
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(host.Window(), IDC_TIMER_UNIT)));
  for (const char* bad : {"0", "1000001", ""}) {
    edit.SetText(bad);
    EXPECT_FALSE(host.page().Validate()) << bad;
  }
  EXPECT_EQ(Page().messages.back(), "range|1|1000000");
  edit.SetText("1000000");
  EXPECT_TRUE(host.page().Validate());
  host.page().Commit(live);
  EXPECT_EQ(live.wallpaper.interval, 1000000);
  EXPECT_EQ(live.wallpaper.changeMode, qv::kModeUseTimer);
}

TEST_F(WallpaperPageTest, SetAsCurrentWithARealPictureSetsTheWallpaper) {
  Page().modifyWallpaper = &qv::ModifyWallpaper;
  HostedWallpaperPage host(live);
  const std::string jpeg = WinePath(QV_JPEG_PICTURE);
  host.page().AddFileRow(jpeg);
  host.Command(IDC_SET_CURRENT);  // posts 32781 to the page
  HostedWallpaperPage::Pump(200);
  EXPECT_TRUE(Page().wallpapers.empty());
  host.SelectRows({true});
  host.Command(IDC_SET_CURRENT);
  HostedWallpaperPage::Pump(300);
  ASSERT_EQ(Page().wallpapers.size(), 1u);
  char wallpaper[MAX_PATH] = "";
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, wallpaper, 0);
  EXPECT_NE(std::string(wallpaper).find("qvwallpa.bmp"), std::string::npos) << wallpaper;
  EXPECT_EQ(Page().messages, (std::vector<std::string>{"0003", "0020"}));
  Page().modifyWallpaper = [](const std::string&, int) { return false; };
  host.Command(ID_SET_CURRENT);
  EXPECT_EQ(Page().messages.back(), "0019|" + jpeg);
}

TEST_F(WallpaperPageTest, ContextMenuOnlyFromTheListAndItsCommandsGoToThePage) {
  HostedWallpaperPage host(live);
  FourRows(host);
  host.SelectRows({false, true, false, false});
  RECT list = host.List().WindowRect();
  const LPARAM inside = MAKELPARAM((list.left + list.right) / 2, (list.top + list.bottom) / 2);
  MenuPick elsewhere;
  elsewhere.keys = {VK_ESCAPE};
  elsewhere.Run(host.Window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.Window()), inside);
  EXPECT_FALSE(elsewhere.seen) << "a context menu outside the list opens nothing";

  MenuPick pick;
  pick.keys = {VK_UP, VK_RETURN};  // from no item, up is the last: "Invert Selection"
  pick.Run(host.Window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.List().Handle()), inside);
  ASSERT_TRUE(pick.seen);
  std::vector<UINT> commands;
  for (const auto& item : pick.items) commands.push_back(item.first);
  EXPECT_EQ(commands, (std::vector<UINT>{ID_ADD_FILES, ID_ADD_FOLDER, ID_REMOVE, ID_CLEAR, ID_SET_CURRENT,
                                         ID_SELECT_ALL, ID_INVERT_SELECTION}));
  for (const auto& item : pick.items) std::printf("context menu: %u \"%s\"\n", item.first, item.second.c_str());
  EXPECT_EQ(host.List().SelectedRows(), (std::vector<int>{0, 2, 3})) << "the chosen command ran on the page";

  ASSERT_TRUE(qvtest::LoadProgramLanguage("qvdeu.lng"));
  MenuPick german;
  german.keys = {VK_ESCAPE};
  german.Run(host.Window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.List().Handle()), inside);
  ASSERT_EQ(german.items.size(), pick.items.size());
  for (size_t i = 0; i < pick.items.size(); ++i)
    EXPECT_NE(german.items[i].second, pick.items[i].second) << "not translated: " << pick.items[i].second;
  EXPECT_EQ(host.List().SelectedRows(), (std::vector<int>{0, 2, 3})) << "escape chooses nothing";
}

TEST_F(WallpaperPageTest, GetMoreListsTheSitesAndOpensTheChosenOneMaximised) {
  live.wallpaper.siteLinks = {{"First Site", "http://first.example/", "", ""},
                              {"Second Site", "http://second.example/pictures", "", ""}};
  HostedWallpaperPage host(live);
  MenuPick pick;
  pick.keys = {VK_DOWN, VK_DOWN, VK_RETURN};
  pick.Run(host.Window(), WM_COMMAND, MAKEWPARAM(IDC_GET_MORE, BN_CLICKED), 0);
  ASSERT_TRUE(pick.seen);
  EXPECT_EQ(pick.items, (std::vector<std::pair<UINT, std::string>>{{37100, "First Site"}, {37101, "Second Site"}}));
  EXPECT_EQ(Page().opened, std::vector<std::string>{"3|http://second.example/pictures"});  // SW_SHOWMAXIMIZED

  // A command past the list opens nothing; an empty list is filled with the built-in sites.
  host.Command(37102);
  EXPECT_EQ(Page().opened.size(), 1u);
  live.wallpaper.siteLinks.clear();
  HostedWallpaperPage empty(live);
  MenuPick builtIn;
  builtIn.keys = {VK_ESCAPE};
  builtIn.Run(empty.Window(), WM_COMMAND, MAKEWPARAM(IDC_GET_MORE, BN_CLICKED), 0);
  const std::vector<qv::SiteLink> sites = qv::BuiltInSiteLinks("wallpaper");
  ASSERT_FALSE(sites.empty());
  ASSERT_EQ(builtIn.items.size(), std::min<size_t>(sites.size(), 26));
  for (size_t i = 0; i < builtIn.items.size(); ++i) {
    EXPECT_EQ(builtIn.items[i].first, 37100 + i);
    EXPECT_EQ(builtIn.items[i].second, sites[i].name);
  }
}

}  // namespace
