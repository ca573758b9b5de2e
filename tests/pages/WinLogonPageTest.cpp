// The logon screen page through its real controls under Wine, over the fake logon programs of
// the test build in the prefix's system folder: pictures and logon programs added and put into
// effect, the restore, and the background colour picker with its palette and the system's colour
// dialog, read back from the bitmap that the next change writes.
#include <gtest/gtest.h>

#include <windows.h>
#include <colordlg.h>
#include <sddl.h>

#include "changers/ModifyLogonScreen.h"
#include "changers/ProgramPatch.h"
#include "core/app/ProgramChangers.h"
#include "i18n/LanguageKeys.h"
#include "image/CxImage.h"
#include "imageinfo/InfoPickers.h"
#include "pages/LogonScreenPage.h"
#include "pages/PagesRes.h"
#include "pages/ThumbnailGenerator.h"
#include "tests/boot/WinSystemFiles.h"
#include "tests/pages/PageTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace {

using qvtest::Bytes;
using qvtest::Page;
using HostedLogonPage = qvtest::HostedPage<qv::LogonScreenPage>;
using widgets::ColourPicker;

const std::string kSentinel = "C:\\sentinel\\host.exe";

// A picture four times as wide as high: on the screen it leaves bands of the background.
std::string WidePicture(const std::string& folder) {
  CxImage image(400, 100, 24);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 400; ++x) image.SetPixelColor(x, y, CxRgb(250, 250, 0));
  const std::string path = folder + "\\wide.bmp";
  EXPECT_TRUE(image.Save(path.c_str(), CXIMAGE_FORMAT_BMP)) << image.GetLastError();
  return path;
}

// The bottom-left pixel of bitmap 100 of the written logon copy, as 0x00BBGGRR.
uint32_t ComposedCorner() {
  const Bytes packed = qvtest::ResourceOf(qvtest::ReadAll(qv::LogonCopyPath()), qv::PEResourceId(2),
                                          qv::PEResourceId(100));
  if (packed.size() < 48) return 0xFFFFFFFF;
  const int bpp = qvtest::U16(packed, 14);
  const size_t at = 40 + (bpp <= 8 ? (size_t{1} << bpp) * 4 : 0);
  return CxRgb(packed[at + 2], packed[at + 1], packed[at]);
}

int IndexOfColour(const char* name) {
  for (int i = 0; i < ColourPicker::kPaletteSize; ++i)
    if (std::string(ColourPicker::kPalette[i].name) == name) return i;
  return -1;
}

class LogonPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(qvtest::LoadProgramLanguage("qveng.lng"));
    qv::InitInfoPickers();
    qv::InstallProgramChangers();
    ASSERT_TRUE(qv::LoadChecksumService());
    ASSERT_TRUE(logon_.Install("logonui.exe"));
    qvtest::Remove(qv::LogonCopyPath());
    qvtest::SetLogonHostValue(kSentinel);
    Page() = qvtest::PageRecord();
    live.logonScreen.items.clear();
    live.logonScreen.viewMode = 0;
    folder = qvtest::PageTempFolder("logon");
    picture = WidePicture(folder);
    program = folder + "\\mylogon.exe";
    plain = folder + "\\plain.exe";
    ASSERT_TRUE(CopyFileA((qvtest::FixtureFolder() + "mylogon.exe").c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((qvtest::FixtureFolder() + "nouifile.exe").c_str(), plain.c_str(), FALSE));
  }
  void TearDown() override { qvtest::Remove(qv::LogonCopyPath()); }

  qvtest::SystemFileSwap logon_{"logonui.exe"};
  qv::PVoptionData live;
  std::string folder, picture, program, plain;
};

TEST_F(LogonPageTest, SetAsCurrentPatchesTheLogonProgramOrNamesAProgram) {
  HostedLogonPage host(live);
  host.page().AddFileRow(picture);
  host.SelectRows({true});
  host.Command(IDC_SET_CURRENT);
  HostedLogonPage::Pump(300);
  EXPECT_EQ(qvtest::LogonHostValue(), qv::LogonCopyPath());
  ASSERT_TRUE(qvtest::Exists(qv::LogonCopyPath()));
  EXPECT_EQ(Page().messages, std::vector<std::string>{"0017"});

  // A ready-made logon program is named itself; one that has gone fails with its path.
  Page().files = {program};
  host.Command(ID_ADD_FILES);
  host.SelectRows({false, true});
  host.Command(ID_SET_CURRENT);
  EXPECT_EQ(qvtest::LogonHostValue(), program);
  DeleteFileA(program.c_str());
  host.Command(ID_SET_CURRENT);
  EXPECT_EQ(Page().messages, (std::vector<std::string>{"0017", "0017", "0016|" + program}));
  EXPECT_EQ(qvtest::LogonHostValue(), program) << "a failed program leaves the host as it was";

  // "Restore Default Logon Screen" names the system's program and says nothing on success.
  host.Command(IDC_RESTORE);
  EXPECT_EQ(qvtest::LogonHostValue(), qv::LogonProgramPath());
  EXPECT_EQ(Page().messages.size(), 3u);
  EXPECT_EQ(Page().logonRestores, 1);
}

// A failed "Set As Current" reaches the live list on apply, so that the agent's timer 1004 tries
// the logon change again; a flag the list had already stays, and a change that works clears it.
TEST_F(LogonPageTest, AFailedSetAsCurrentIsKeptForTheRetryOnApply) {
  live.logonScreen.lastApplyFailed = 1;
  {
    HostedLogonPage host(live);
    host.page().Commit(live);
    EXPECT_EQ(live.logonScreen.lastApplyFailed, 1) << "the failure of the start-up run stays";
  }
  live.logonScreen.lastApplyFailed = 0;
  HostedLogonPage host(live);
  Page().files = {program};
  host.Command(ID_ADD_FILES);
  host.SelectRows({true});
  ASSERT_TRUE(DeleteFileA(program.c_str()));
  host.Command(ID_SET_CURRENT);
  ASSERT_EQ(Page().messages, std::vector<std::string>{"0016|" + program});
  host.page().Commit(live);
  EXPECT_EQ(live.logonScreen.lastApplyFailed, 1);

  ASSERT_TRUE(CopyFileA((qvtest::FixtureFolder() + "mylogon.exe").c_str(), program.c_str(), FALSE));
  host.Command(ID_SET_CURRENT);
  host.page().Commit(live);
  EXPECT_EQ(live.logonScreen.lastApplyFailed, 0);
}

// The Winlogon key made read-only for as long as this lives, as a user without the right to
// write HKLM finds it: everyone may read it and change its permissions, nothing more. The key's
// own permissions come back afterwards, so that the prefix stays as it was.
class ReadOnlyWinlogonKey {
 public:
  ReadOnlyWinlogonKey() {
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, qvtest::kWinlogonKey, 0, READ_CONTROL | WRITE_DAC, &key_) !=
        ERROR_SUCCESS)
      return;
    DWORD size = 0;
    RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, nullptr, &size);
    saved_.resize(size);
    if (size == 0 || RegGetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data(), &size) != ERROR_SUCCESS)
      return;
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KRWD;;;WD)", SDDL_REVISION_1,
                                                              &readOnly, nullptr))
      return;
    locked_ = RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
    LocalFree(readOnly);
  }
  ~ReadOnlyWinlogonKey() {
    if (locked_) EXPECT_EQ(RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, saved_.data()), ERROR_SUCCESS);
    if (key_) RegCloseKey(key_);
  }
  ReadOnlyWinlogonKey(const ReadOnlyWinlogonKey&) = delete;
  ReadOnlyWinlogonKey& operator=(const ReadOnlyWinlogonKey&) = delete;

  // True when the key now refuses writes.
  bool Locked() const {
    HKEY probe = nullptr;
    if (!locked_) return false;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, qvtest::kWinlogonKey, 0, KEY_SET_VALUE, &probe) != ERROR_SUCCESS)
      return true;
    RegCloseKey(probe);
    return false;
  }

 private:
  HKEY key_ = nullptr;
  std::vector<BYTE> saved_;
  bool locked_ = false;
};

TEST_F(LogonPageTest, ARestoreThatCannotWriteTheHostShows0018) {
  HostedLogonPage host(live);
  {
    ReadOnlyWinlogonKey readOnly;
    ASSERT_TRUE(readOnly.Locked());
    host.Command(IDC_RESTORE);
  }
  EXPECT_EQ(Page().logonRestores, 1);
  EXPECT_EQ(Page().messages, std::vector<std::string>{"0018"});
  EXPECT_EQ(qvtest::LogonHostValue(), kSentinel) << "the refused write changed nothing";

  // Writable again, the same button names the system's program and says nothing.
  host.Command(IDC_RESTORE);
  EXPECT_EQ(qvtest::LogonHostValue(), qv::LogonProgramPath());
  EXPECT_EQ(Page().messages.size(), 1u);
}

TEST_F(LogonPageTest, ProgramFilesAreProbedWhenAddedOrDropped) {
  HostedLogonPage host(live);
  Page().files = {program, plain, picture};
  host.Command(ID_ADD_FILES);
  ASSERT_EQ(host.List().Count(), 2);
  EXPECT_EQ(host.Column(0), (std::vector<std::string>{"mylogon.exe", "wide.bmp"}));
  // The program shows the size and depth of its bitmap 100.
  EXPECT_EQ(host.List().Text(0, 2), "320");
  EXPECT_EQ(host.List().Text(0, 3), "240");
  EXPECT_EQ(host.List().Text(0, 4), "24 bit");
  EXPECT_EQ(host.List().Text(1, 2), "400");
  EXPECT_EQ(Page().messages, std::vector<std::string>{"0016|" + plain});

  // Dropped: a program without "UIFILE" is passed over silently, a text file too.
  const std::string text = folder + "\\notes.txt";
  ASSERT_TRUE(qvtest::WriteAll(text, Bytes{'h', 'i'}));
  host.Drop({plain, text, program, folder});
  ASSERT_EQ(host.List().Count(), 4);
  EXPECT_EQ(host.List().Text(2, 0), "mylogon.exe");
  EXPECT_EQ(host.page().Record(3)->fields.isFolder, 1);
  EXPECT_EQ(Page().messages.size(), 1u);
  host.page().Commit(live);
  ASSERT_EQ(live.logonScreen.items.size(), 4u);
  EXPECT_EQ(live.logonScreen.items[0].path, program);
  EXPECT_EQ(live.logonScreen.items[0].width, 320);
}

TEST_F(LogonPageTest, AProgramsThumbnailIsItsBitmap100) {
  ASSERT_TRUE(qv::ThumbnailGenerator::Shared().Load(qvtest::DistFolder() + "kz.dll", nullptr));
  live.logonScreen.viewMode = 1;
  HostedLogonPage host(live);
  host.Drop({program});
  ASSERT_EQ(host.List().Count(), 1);
  for (int i = 0; i < 200 && host.page().Record(0)->thumbState == qv::kThumbNotMade; ++i) {
    InvalidateRect(host.List().Handle(), nullptr, FALSE);
    UpdateWindow(host.List().Handle());
    HostedLogonPage::Pump(50);
  }
  ASSERT_EQ(host.page().Record(0)->thumbState, qv::kThumbReady);
  BITMAP bitmap{};
  ASSERT_TRUE(GetObjectA(host.page().Record(0)->thumbnail.Get(), sizeof bitmap, &bitmap));
  EXPECT_EQ(bitmap.bmWidth, 96) << "320 x 240 fitted into 96 x 96";
  EXPECT_EQ(bitmap.bmHeight, 72);
}

// The system's colour dialog, answered through its own red, green and blue boxes.
COLORREF g_dialogColour = 0;
bool g_dialogSeen = false;
BOOL CALLBACK AnswerIfColourDialog(HWND window, LPARAM) {
  if (!GetDlgItem(window, COLOR_RED) || !GetDlgItem(window, COLOR_BLUE)) return TRUE;
  g_dialogSeen = true;
  SetDlgItemInt(window, COLOR_RED, GetRValue(g_dialogColour), FALSE);
  SetDlgItemInt(window, COLOR_GREEN, GetGValue(g_dialogColour), FALSE);
  SetDlgItemInt(window, COLOR_BLUE, GetBValue(g_dialogColour), FALSE);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
  return FALSE;
}
void CALLBACK AnswerColourDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), &AnswerIfColourDialog, 0);
  if (g_dialogSeen) KillTimer(nullptr, timer);
}

TEST_F(LogonPageTest, TheColourPickerSetsTheBackgroundOfTheNextChange) {
  HostedLogonPage host(live);
  const ColourPicker& picker = host.page().BackgroundPicker();
  EXPECT_EQ(picker.Colour(), RGB(90, 126, 220)) << "the list's own colour is shown";
  host.page().AddFileRow(picture);
  host.SelectRows({true});

  // A named colour of the palette, as its menu entry sends it.
  host.Command(ColourPicker::kFirstColourCommand + IndexOfColour("Sea Green"));
  EXPECT_EQ(picker.Colour(), RGB(51, 153, 102));
  EXPECT_EQ(host.page().Working().backgroundColour, 0x00669933);
  host.Command(ID_SET_CURRENT);
  EXPECT_EQ(ComposedCorner(), CxRgb(51, 153, 102));

  // "More Colours...": the system's dialog, answered through its own controls.
  g_dialogColour = RGB(12, 200, 34);
  g_dialogSeen = false;
  SetTimer(nullptr, 0, 100, &AnswerColourDialog);
  host.Command(ColourPicker::kMoreColoursCommand);
  ASSERT_TRUE(g_dialogSeen);
  EXPECT_EQ(picker.Colour(), RGB(12, 200, 34));
  // The next change of the live list composes on the committed colour.
  host.page().Commit(live);
  EXPECT_EQ(live.logonScreen.backgroundColour, 0x0022C80C);
  qvtest::Remove(qv::LogonCopyPath());
  ASSERT_TRUE(live.logonScreen.ApplyItem(picture));
  EXPECT_EQ(ComposedCorner(), CxRgb(12, 200, 34));
}

TEST_F(LogonPageTest, PaletteEntriesAreTranslated) {
  // Every named colour and "More Colours..." is a registered key, so both language files carry it.
  const qv::LanguageKeyTable* table = qv::FindLanguageKeyTable("Colour Picker");
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->count, size_t{ColourPicker::kPaletteSize + 1});
  for (int i = 0; i < ColourPicker::kPaletteSize; ++i)
    EXPECT_STREQ(table->keys[i].key, ColourPicker::kPalette[i].name);
  EXPECT_STREQ(table->keys[ColourPicker::kPaletteSize].key, ColourPicker::kMoreColoursKey);
  ASSERT_TRUE(qvtest::LoadProgramLanguage("qvdeu.lng"));
  HostedLogonPage host(live);
  EXPECT_EQ(widgets::Window(GetDlgItem(host.Window(), IDC_BACKGROUND_LABEL)).Text(), "Hintergrundfarbe:");
  widgets::ComboBox mode(GetDlgItem(host.Window(), IDC_CHANGE_MODE));
  EXPECT_EQ(mode.Count(), 5);
  ASSERT_TRUE(qvtest::LoadProgramLanguage("qveng.lng"));
}

}  // namespace
