// The IE skin page through its real controls under Wine: "Set As Current" with a real picture
// through the skin list's own apply and the real changer, "Remove IE Skin", its untranslated
// change modes, and thumbnails of the toolbar's shape.
#include <gtest/gtest.h>

#include "changers/ImagePreparation.h"
#include "core/app/ProgramChangers.h"
#include "imageinfo/InfoPickers.h"
#include "pages/IESkinPage.h"
#include "pages/PagesRes.h"
#include "pages/ThumbnailGenerator.h"
#include "tests/pages/PageTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace {

using qvtest::Page;
using HostedSkinPage = qvtest::HostedPage<qv::IESkinPage>;

const char kToolbar[] = "Software\\Microsoft\\Internet Explorer\\Toolbar";

std::string BackBitmap() {
  char text[MAX_PATH] = "";
  DWORD size = sizeof text;
  if (RegGetValueA(HKEY_CURRENT_USER, kToolbar, "BackBitmap", RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS)
    return "(none)";
  return text;
}

void DeleteBackBitmap() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kToolbar, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
      ERROR_SUCCESS) {
    RegDeleteValueA(key, "BackBitmap");
    RegCloseKey(key);
  }
}

class IESkinPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(qvtest::LoadProgramLanguage("qveng.lng"));
    qv::InitInfoPickers();
    qv::InstallProgramChangers();
    Page() = qvtest::PageRecord();
    live.ieSkin.items.clear();
    live.ieSkin.viewMode = 0;
    picture = qvtest::WinePath(QV_GIF_PICTURE);
    ASSERT_NE(GetFileAttributesA(picture.c_str()), INVALID_FILE_ATTRIBUTES) << picture;
    DeleteBackBitmap();
  }
  qv::PVoptionData live;
  std::string picture;
};

TEST_F(IESkinPageTest, SetAsCurrentNamesTheSkinBitmap) {
  HostedSkinPage host(live);
  host.page().AddFileRow(picture);
  host.Command(IDC_SET_CURRENT);
  HostedSkinPage::Pump(100);
  EXPECT_EQ(Page().messages, std::vector<std::string>{"0003"});
  host.SelectRows({true});
  host.Command(IDC_SET_CURRENT);
  HostedSkinPage::Pump(200);
  const std::string output = qv::ChangerOutputPath("qvieskin.bmp");
  EXPECT_EQ(BackBitmap(), output);
  EXPECT_NE(output.find("qvieskin.bmp"), std::string::npos);
  int32_t width = 0, height = 0, depth = 0;
  qv::GetImageInfo(output.c_str(), width, height, depth);
  EXPECT_EQ(width, 290) << "the skin keeps the picture's own size";
  EXPECT_EQ(height, 48);
  EXPECT_EQ(Page().messages, (std::vector<std::string>{"0003", "0023"}));
  // A picture that cannot be read: the changer's own "0011" naming it, and no success message.
  const std::string gone = "C:\\no such folder\\gone.gif";
  host.page().AddFileRow(gone);
  host.SelectRows({false, true});
  qvtest::MessageBoxCloser boxes;
  host.Command(ID_SET_CURRENT);
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_NE(boxes.texts[0].find(gone), std::string::npos) << boxes.texts[0];
  EXPECT_EQ(Page().messages.size(), 2u) << Page().messages.back();
  EXPECT_EQ(BackBitmap(), output);
}

TEST_F(IESkinPageTest, RemoveIESkinAlwaysLeavesDisable) {
  live.ieSkin.changeMode = qv::kModeUseTimer;
  HostedSkinPage host(live);
  widgets::ComboBox mode(GetDlgItem(host.Window(), IDC_CHANGE_MODE));
  ASSERT_EQ(mode.Selection(), 5);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(host.Window(), IDC_INTERVAL)));
  // No skin was set: the removal fails, says nothing, and still disables the changes.
  host.Command(IDC_RESTORE);
  EXPECT_EQ(mode.Selection(), 0);
  EXPECT_TRUE(Page().messages.empty());
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(host.Window(), IDC_INTERVAL)));
  EXPECT_EQ(Page().skinRemovals, 1);

  host.page().AddFileRow(picture);
  host.SelectRows({true});
  host.Command(ID_SET_CURRENT);
  ASSERT_NE(BackBitmap(), "(none)");
  mode.Select(2);
  host.Command(IDC_RESTORE);
  EXPECT_EQ(mode.Selection(), 0);
  EXPECT_EQ(BackBitmap(), "(none)");
  EXPECT_EQ(Page().messages, (std::vector<std::string>{"0023", "0010"}));
  host.page().Commit(live);
  EXPECT_EQ(live.ieSkin.changeMode, qv::kModeDisable);
}

TEST_F(IESkinPageTest, TextsAreTranslatedButTheChangeModesStayEnglish) {
  ASSERT_TRUE(qvtest::LoadProgramLanguage("qvdeu.lng"));
  live.ieSkin.changeMode = qv::kModeEachWeek;
  HostedSkinPage host(live);
  widgets::ComboBox mode(GetDlgItem(host.Window(), IDC_CHANGE_MODE));
  ASSERT_EQ(mode.Count(), 6);
  EXPECT_EQ(mode.ItemText(0), "disable");
  EXPECT_EQ(mode.ItemText(5), "use timer");
  EXPECT_EQ(mode.Selection(), 3);
  EXPECT_EQ(widgets::Window(GetDlgItem(host.Window(), IDC_RESTORE)).Text(), "IE-Skin entfernen");
  EXPECT_EQ(widgets::Window(GetDlgItem(host.Window(), IDC_CHANGE_MODE_LABEL)).Text(), "IE-Skin wechseln:");
  widgets::ComboBox unit(GetDlgItem(host.Window(), IDC_TIMER_UNIT));
  EXPECT_EQ(unit.Count(), 4);
  EXPECT_EQ(unit.ItemText(1), "Minuten");
  // The interval is refused outside 1..1000000 with the shared range message.
  mode.Select(5);
  SendMessageA(host.Window(), WM_COMMAND, MAKEWPARAM(IDC_CHANGE_MODE, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(mode.Handle()));
  widgets::Window interval(GetDlgItem(host.Window(), IDC_INTERVAL));
  EXPECT_TRUE(interval.IsEnabled());
  interval.SetText("0");
  EXPECT_FALSE(host.page().Validate());
  EXPECT_EQ(Page().messages.back(), "range|1|1000000");
  interval.SetText("45");
  ASSERT_TRUE(host.page().Validate());
  host.page().Commit(live);
  EXPECT_EQ(live.ieSkin.interval, 45);
  EXPECT_EQ(live.ieSkin.changeMode, qv::kModeUseTimer);
}

TEST_F(IESkinPageTest, ThumbnailsHaveTheToolbarsShape) {
  ASSERT_TRUE(qv::ThumbnailGenerator::Shared().Load(qvtest::DistFolder() + "kz.dll", nullptr));
  live.ieSkin.viewMode = 1;
  HostedSkinPage host(live);
  host.page().AddFileRow(picture);
  ASSERT_TRUE(host.page().ThumbnailView());
  for (int i = 0; i < 200 && host.page().Record(0)->thumbState == qv::kThumbNotMade; ++i) {
    InvalidateRect(host.List().Handle(), nullptr, FALSE);
    UpdateWindow(host.List().Handle());
    HostedSkinPage::Pump(50);
  }
  const qv::ImageRowRecord* record = host.page().Record(0);
  ASSERT_EQ(record->thumbState, qv::kThumbReady);
  BITMAP bitmap{};
  ASSERT_TRUE(GetObjectA(record->thumbnail.Get(), sizeof bitmap, &bitmap));
  EXPECT_LE(bitmap.bmWidth, 200);
  EXPECT_LE(bitmap.bmHeight, 34);
  EXPECT_GE(bitmap.bmWidth, 199) << "a 290 x 48 picture fills the width of its cell";
  // The icon cells are made for the toolbar's shape: wider than high.
  RECT cell{};
  ASSERT_TRUE(host.List().ItemRect(0, LVIR_ICON, &cell));
  EXPECT_GE(cell.right - cell.left, 195);
  EXPECT_LT(cell.bottom - cell.top, 100);
}

}  // namespace
