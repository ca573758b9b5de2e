// Every list page's context menu read through the real menu in English and then in German:
// each entry, the page's own ones included, must change with the language.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "boot/ui/BootScreenPage.h"
#include "imageinfo/InfoPickers.h"
#include "pages/IESkinPage.h"
#include "pages/LogonScreenPage.h"
#include "pages/ScreenSaverPage.h"
#include "tests/pages/PageTestSupport.h"

namespace {

using qvtest::MenuPick;

template <class P>
void ExpectContextMenuInGerman(const char* page) {
  SCOPED_TRACE(page);
  ASSERT_TRUE(qvtest::LoadProgramLanguage("qveng.lng"));
  qv::PVoptionData live;
  qvtest::HostedPage<P> host(live);
  MenuPick english;
  english.keys = {VK_ESCAPE};
  english.RunContextMenu(host);
  ASSERT_TRUE(english.seen);
  ASSERT_TRUE(qvtest::LoadProgramLanguage("qvdeu.lng"));
  MenuPick german;
  german.keys = {VK_ESCAPE};
  german.RunContextMenu(host);
  ASSERT_EQ(german.items.size(), english.items.size());
  for (size_t i = 0; i < english.items.size(); ++i) {
    EXPECT_EQ(german.items[i].first, english.items[i].first);
    EXPECT_NE(german.items[i].second, english.items[i].second)
        << "command " << english.items[i].first << " stays \"" << english.items[i].second << "\"";
  }
}

TEST(PageMenus, EveryPagesContextMenuIsGermanInGerman) {
  qv::InitInfoPickers();
  qvtest::Page() = qvtest::PageRecord();
  ExpectContextMenuInGerman<qv::WallpaperPage>("wallpaper");
  ExpectContextMenuInGerman<qv::IESkinPage>("IE skin");
  ExpectContextMenuInGerman<qv::LogonScreenPage>("logon screen");
  ExpectContextMenuInGerman<qv::ScreenSaverPage>("screen saver");
  ExpectContextMenuInGerman<qv::BootScreenPage>("boot screen");
}

}  // namespace
