// The boot screen page through its real controls under Wine: its texts in both languages, the
// apply and preview buttons side by side, kernel files in the add-files dialog, and apply,
// restore and preview with the real boot screen changer on the fake kernel.
#include <gtest/gtest.h>

#include <cstdio>

#include "boot/ModifyBootScreen.h"
#include "changers/LoadModuleBitmap.h"
#include "changers/ProgramPatch.h"
#include "core/WindowsGeneration.h"
#include "imageinfo/InfoPickers.h"
#include "pages/PagesRes.h"
#include "tests/boot/WinBootPageSupport.h"
#include "tests/boot/WinSystemFiles.h"
#include "tests/wizard/WinScript.h"

namespace {

using qvtest::HostedBootPage;
using qvtest::Page;

class BootScreenPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(qvtest::LoadProgramLanguage("qveng.lng"));
    qv::InitInfoPickers();
    Page() = qvtest::PageRecord();
    ASSERT_TRUE(kernel_.Install("ntoskrnl.exe"));
    qvtest::Remove(qv::KernelCopyPath());
    ASSERT_TRUE(qv::LoadChecksumService());
    generation_ = qv::WindowsGeneration;
    qv::WindowsGeneration = qv::kWinXP;
  }
  void TearDown() override {
    qv::WindowsGeneration = generation_;
    qvtest::Remove(qv::KernelCopyPath());
  }
  static std::string Text(HWND page, int id) { return qvtest::ControlText(page, id); }
  static RECT Place(HWND page, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(page, id), &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  qv::PVoptionData live;
  qvtest::SystemFileSwap kernel_{"ntoskrnl.exe"};
  int generation_ = qv::kWinUnknown;
};

TEST_F(BootScreenPageTest, TextsInBothLanguagesAndApplyBesidePreview) {
  for (const char* language : {"qveng.lng", "qvdeu.lng"}) {
    ASSERT_TRUE(qvtest::LoadProgramLanguage(language));
    HostedBootPage host(live);
    const bool german = std::string(language) == "qvdeu.lng";
    EXPECT_EQ(Text(host.Window(), IDC_RESTORE), german ? "Standard-Startbildschirm wiederherstellen"
                                                       : "Restore Default Boot Screen");
    EXPECT_EQ(Text(host.Window(), IDC_SET_CURRENT), german ? "Als Startbildschirm festlegen"
                                                           : "Set As Current Boot Screen");
    EXPECT_EQ(Text(host.Window(), ID_PREVIEW), german ? "Vorschau des Startbildschirms"
                                                      : "Preview Boot Screen");
    EXPECT_EQ(Text(host.Window(), IDC_GET_MORE), german ? "Weitere Startbildschirme" : "Get More Boot Screens");
    EXPECT_EQ(Text(host.Window(), IDC_CHANGE_MODE_LABEL), german ? "Startbildschirm wechseln:"
                                                                 : "Change Boot Screen:");
    widgets::ComboBox mode(GetDlgItem(host.Window(), IDC_CHANGE_MODE));
    EXPECT_EQ(mode.Count(), 5) << "disable to each month; no timer for the boot screen";
    // After any size: apply on the left half, preview from the middle to the right edge, one row.
    for (int width : {700, 520, 900}) {
      SetWindowPos(host.Host(), nullptr, 0, 0, width, 560, SWP_NOZORDER | SWP_NOMOVE);
      host.Fit();
      RECT client{};
      GetClientRect(host.Window(), &client);
      const RECT apply = Place(host.Window(), IDC_SET_CURRENT), preview = Place(host.Window(), ID_PREVIEW);
      EXPECT_EQ(apply.left, 0);
      EXPECT_EQ(apply.right, client.right / 2);
      EXPECT_EQ(preview.left, client.right / 2);
      EXPECT_EQ(preview.right, client.right);
      EXPECT_EQ(apply.top, preview.top);
      const RECT restore = Place(host.Window(), IDC_RESTORE), more = Place(host.Window(), IDC_GET_MORE);
      EXPECT_GT(restore.top, apply.top);
      EXPECT_EQ(more.left, client.right / 2);
      EXPECT_LE(more.bottom, client.bottom);
    }
  }
}

TEST_F(BootScreenPageTest, AddFilesTakesKernelsWithBitmap1AndRefusesOtherPrograms) {
  HostedBootPage host(live);
  const std::string kernel = qvtest::FixtureFolder() + "ntoskrnl.exe";
  const std::string logon = qvtest::FixtureFolder() + "logonui.exe";  // bitmap 100, no bitmap 1
  const std::string jpeg = qvtest::WinePath(QV_JPEG_PICTURE);
  Page().files = {kernel, logon, jpeg};
  host.Command(ID_ADD_FILES);
  ASSERT_EQ(host.List().Count(), 2);
  EXPECT_EQ(Page().messages, (std::vector<std::string>{"0026|" + logon}));
  EXPECT_EQ(host.List().Text(0, 0), "ntoskrnl.exe");
  EXPECT_EQ(host.List().Text(0, 2), "640");
  EXPECT_EQ(host.List().Text(0, 3), "480");
  EXPECT_EQ(host.List().Text(0, 4), "4 bit");
  EXPECT_EQ(host.List().Text(1, 0), "bali.jpg");
  EXPECT_EQ(host.List().Text(1, 4), "24 bit");
  host.page().Commit(live);
  ASSERT_EQ(live.bootScreen.items.size(), 2u);
  EXPECT_EQ(live.bootScreen.items[0].path, kernel);
  EXPECT_EQ(live.bootScreen.items[0].depth, 4);
}

// Every program of the system folders offered as a kernel file: each becomes a row whose bitmap 1
// the preview can draw, or is refused with its path; none brings the page down.
TEST_F(BootScreenPageTest, EverySystemProgramIsTakenOrRefusedWithItsPath) {
  const std::vector<std::string> programs = qvtest::SystemPrograms();
  ASSERT_GE(programs.size(), 300u) << "the prefix's system programs are missing";
  HostedBootPage host(live);
  for (const std::string& path : programs) {
    const int rows = host.List().Count();
    const size_t messages = Page().messages.size();
    const bool taken = host.page().AddKernelFile(path);
    if (!taken) {
      ASSERT_EQ(Page().messages.size(), messages + 1) << path;
      EXPECT_EQ(Page().messages.back(), "0026|" + path);
      EXPECT_EQ(host.List().Count(), rows);
      continue;
    }
    EXPECT_EQ(host.List().Count(), rows + 1) << path;
    HBITMAP bitmap = qv::LoadModuleBitmap(path, MAKEINTRESOURCEA(1), 640, 480);
    EXPECT_NE(bitmap, nullptr) << path;
    if (bitmap) DeleteObject(bitmap);
  }
  // The fake kernel in the system folder is one of them.
  EXPECT_GE(host.List().Count(), 1);
  std::printf("kernel check: %d of %zu system programs taken\n", host.List().Count(), programs.size());
}

TEST_F(BootScreenPageTest, SetAsCurrentWritesTheKernelCopyAndLeavesBootIniAlone) {
  Page().changeBootScreen = &qv::ChangeBootScreen;
  Page().restoreBootScreen = &qv::RestoreBootScreen;
  const std::string bootIni = "C:\\boot.ini";
  const bool hadBootIni = qvtest::Exists(bootIni);
  const qvtest::Bytes bootIniBefore = qvtest::ReadAll(bootIni);
  HostedBootPage host(live);
  host.page().AddFileRow(qvtest::WinePath(QV_JPEG_PICTURE));
  host.Command(IDC_SET_CURRENT);  // posts 32781 to the page
  qvtest::HostedWallpaperPage::Pump(100);
  EXPECT_EQ(Page().messages, (std::vector<std::string>{"0003"}));
  EXPECT_FALSE(qvtest::Exists(qv::KernelCopyPath()));

  host.Select(0);
  host.Command(IDC_SET_CURRENT);
  qvtest::HostedWallpaperPage::Pump(300);
  ASSERT_EQ(Page().messages.size(), 2u);
  EXPECT_EQ(Page().messages[1], "0022");
  const qvtest::Bytes copy = qvtest::ReadAll(qv::KernelCopyPath());
  const qvtest::Bytes bitmap = qvtest::ResourceOf(copy, 2, 1);
  ASSERT_EQ(bitmap.size(), 40u + 64u + 153600u);
  EXPECT_EQ(qvtest::U32(bitmap, 4), 640u);
  EXPECT_EQ(qvtest::U16(bitmap, 14), 4u);
  EXPECT_NE(bitmap, qvtest::ResourceOf(qvtest::ReadAll(qv::KernelPath()), 2, 1));
  EXPECT_EQ(qvtest::Exists(bootIni), hadBootIni);
  EXPECT_EQ(qvtest::ReadAll(bootIni), bootIniBefore) << "marking is the boot.ini setup's work";

  // Restore puts the unchanged kernel back under the copy's name.
  host.Command(IDC_RESTORE);
  EXPECT_EQ(Page().messages.back(), "0008");
  EXPECT_EQ(qvtest::ReadAll(qv::KernelCopyPath()), qvtest::ReadAll(qv::KernelPath()));
}

bool Refuse(const std::string&) { return false; }
bool RefuseRestore() { return false; }

TEST_F(BootScreenPageTest, FailuresNameThePathOrSayRestoreFailed) {
  Page().changeBootScreen = &Refuse;
  Page().restoreBootScreen = &RefuseRestore;
  HostedBootPage host(live);
  host.page().AddFileRow("C:\\missing\\gone.bmp");
  host.Select(0);
  host.Command(ID_SET_CURRENT);
  host.Command(IDC_RESTORE);
  host.Command(ID_PREVIEW);  // the picture does not load: "0011", then "0019"
  EXPECT_EQ(Page().messages,
            (std::vector<std::string>{"0019|C:\\missing\\gone.bmp", "0009", "0011|C:\\missing\\gone.bmp",
                                      "0019|C:\\missing\\gone.bmp"}));
  EXPECT_EQ(Page().bootScreens, (std::vector<std::string>{"C:\\missing\\gone.bmp", "restore"}));
  host.Select(-1);
  host.Command(ID_PREVIEW);
  EXPECT_EQ(Page().messages.back(), "0003");
}

TEST_F(BootScreenPageTest, PreviewOfTheSelectedRowOpensModallyWithItsTitle) {
  HostedBootPage host(live);
  host.page().AddFileRow(qvtest::WinePath(QV_JPEG_PICTURE));
  host.Select(0);
  std::string title;
  RECT client{};
  HWND owner = nullptr;
  qvtest::Script script({[&] {
    HWND preview = FindWindowA(nullptr, "Preview Boot Screen (Alt+Enter: toggle full screen / window mode)");
    if (!preview) return false;
    title = qvtest::WindowCaption(preview);
    GetClientRect(preview, &client);
    owner = GetWindow(preview, GW_OWNER);
    PostMessageA(preview, WM_COMMAND, IDCANCEL, 0);
    return true;
  }});
  host.Command(ID_PREVIEW);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  EXPECT_EQ(owner, host.Host());
  EXPECT_TRUE(Page().messages.empty());
}

}  // namespace
