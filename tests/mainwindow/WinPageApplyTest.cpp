// Applying the configuration with the real wallpaper page: an interval out of range refuses
// with the page's message and leaves the live settings and qv.dat as they were, also for a page
// that was opened before it and agreed.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/mainwindow/MainWindowRes.h"
#include "pages/PagesRes.h"
#include "pages/WallpaperPage.h"
#include "tests/mainwindow/DialogTemplate.h"
#include "tests/mainwindow/MainWindowHarness.h"
#include "widgets/TreeView.h"

namespace {

std::vector<std::string>& Ranges() {
  static std::vector<std::string> ranges;
  return ranges;
}

const qv::PageServices& Services() {
  static const qv::PageServices services = [] {
    qv::PageServices s{};
    s.lookup = [](const std::string&, const std::string& key, std::string* out) {
      *out = key;
      return true;
    };
    s.showMessage = [](const char*, UINT) { return IDOK; };
    s.showMessageWithPath = [](const char*, const std::string&, UINT) { return IDOK; };
    s.showRangeMessage = [](int low, int high) {
      Ranges().push_back(std::to_string(low) + ".." + std::to_string(high));
    };
    s.openHelp = [](HWND, const char*) {};
    s.shellOpen = [](HWND, const std::string&, int) { return true; };
    s.pickFolder = [](HWND, std::string*, bool*) { return false; };
    s.pickFiles = [](HWND, const std::string&, std::vector<std::string>*) { return false; };
    s.modifyWallpaper = [](const std::string&, int) { return true; };
    return s;
  }();
  return services;
}

// A boot screen page that agrees and commits a new interval.
class AgreeingBootPage : public qv::ConfigPage, public widgets::Page {
 public:
  bool Create(HWND parent, const qv::PVoptionData&) override {
    static qvtest::DialogTemplate dialogTemplate(WS_CHILD, 100, 100);
    return CreateIndirect(GetModuleHandleA(nullptr), dialogTemplate.Get(), parent);
  }
  HWND Handle() const override { return widgets::Page::Handle(); }
  void Load() override {}
  bool Validate() override { return true; }
  void Commit(qv::PVoptionData& live) override { live.bootScreen.interval = 11; }
  void Localize() override {}
};

std::unique_ptr<qv::ConfigPage> Pages(qv::PageKind kind) {
  if (kind == qv::PageKind::BootScreen) return std::make_unique<AgreeingBootPage>();
  if (kind == qv::PageKind::Wallpaper) return std::make_unique<qv::WallpaperPage>(Services());
  return nullptr;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(PageApply, AnIntervalOutOfRangeChangesNothingInTheSettingsFile) {
  qvtest::MainWindowHarness h;
  h.pages = &Pages;
  h.settings.bootScreen.interval = 2;
  h.settings.wallpaper.interval = 3;
  ASSERT_TRUE(h.settings.Save(h.settingsPath));
  const std::string before = FileBytes(h.settingsPath);
  Ranges().clear();
  h.Run(false, [&](qvtest::MainWindowHarness& h) {
    h.OnUi([&] {
      SendMessageA(h.Window(), WM_COMMAND, ID_CONFIGURE, 0);
      widgets::TreeView tree(GetDlgItem(h.Window(), IDC_PAGE_TREE));
      for (qv::PageKind kind : {qv::PageKind::BootScreen, qv::PageKind::Wallpaper})
        tree.Select(tree.FindByValue(static_cast<LPARAM>(kind)));
      HWND edit = nullptr;
      for (HWND child = GetWindow(h.Window(), GW_CHILD); child && !edit; child = GetWindow(child, GW_HWNDNEXT))
        edit = GetDlgItem(child, IDC_INTERVAL);
      ASSERT_NE(edit, nullptr) << "the wallpaper page's interval edit";
      SetWindowTextA(edit, "0");
      SendMessageA(h.Window(), WM_CLOSE, 0, 0);
      EXPECT_TRUE(IsWindowVisible(h.Window()));
      EXPECT_EQ(Ranges(), std::vector<std::string>{"1..1000000"});
      EXPECT_EQ(h.settings.bootScreen.interval, 2) << "the page opened before it did not commit";
      EXPECT_EQ(h.settings.wallpaper.interval, 3);
      EXPECT_EQ(FileBytes(h.settingsPath), before);
      SetWindowTextA(edit, "25");
      SendMessageA(h.Window(), WM_CLOSE, 0, 0);
      EXPECT_EQ(h.settings.bootScreen.interval, 11);
      EXPECT_EQ(h.settings.wallpaper.interval, 25);
    });
  });
  qv::PVoptionData saved;
  ASSERT_TRUE(saved.Load(h.settingsPath));
  EXPECT_EQ(saved.wallpaper.interval, 25);
}

}  // namespace
