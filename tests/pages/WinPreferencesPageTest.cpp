// The preferences and about pages through their real controls under Wine: the language combo
// and its fall-back, the hotkeys and check boxes into the settings, message 3024, the web pages
// opened through the shell, the hyperlink labels and the icon's picture button.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/PrivateMessages.h"
#include "core/PVoptionData.h"
#include "i18n/LanguageManager.h"
#include "net/WebLinks.h"
#include "pages/AboutPage.h"
#include "pages/PagesRes.h"
#include "pages/PreferencesPage.h"
#include "tests/pages/PageTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace {

int g_languageChanges = 0;
std::vector<std::string> g_opened;  // "verb|show|url"
int g_sounds = 0;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == QV_MSG_LANGUAGE_CHANGED) ++g_languageChanges;
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RecordOpen(HWND, const char* verb, const char* url, int show) {
  g_opened.push_back(std::string(verb) + "|" + std::to_string(show) + "|" + url);
  return true;
}

bool RecordSound(const unsigned char* wave, std::size_t size) {
  ++g_sounds;
  return size > 44 && std::string(reinterpret_cast<const char*>(wave), 4) == "RIFF";
}

// A top-level window holding one page over live, as the configuration window's frame does it.
template <typename PageT>
class Hosted {
 public:
  explicit Hosted(const qv::PVoptionData& live) {
    WNDCLASSA kind{};
    kind.lpfnWndProc = &HostProc;
    kind.hInstance = GetModuleHandleA(nullptr);
    kind.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    kind.lpszClassName = "QvPreferencesHost";
    RegisterClassA(&kind);
    host_ = CreateWindowExA(0, "QvPreferencesHost", "Quorvex page test",
                            WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 560, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    page_ = std::make_unique<PageT>(qvtest::TestPageServices());
    if (!page_->Create(host_, live)) return;
    page_->Localize();
    page_->Load();
    RECT client{};
    GetClientRect(host_, &client);
    MoveWindow(page_->Handle(), 8, 8, client.right - 16, client.bottom - 16, TRUE);
    ShowWindow(page_->Handle(), SW_SHOW);
    UpdateWindow(host_);
  }
  ~Hosted() {
    page_.reset();
    DestroyWindow(host_);
  }
  PageT& page() { return *page_; }
  HWND Item(int id) const { return GetDlgItem(page_->Handle(), id); }
  std::string Text(int id) const {
    char text[512] = "";
    GetWindowTextA(Item(id), text, sizeof text);
    return text;
  }
  void Command(int id, int code = BN_CLICKED) const {
    SendMessageA(page_->Handle(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
  }
  void ChooseLanguage(int index) const {
    SendMessageA(Item(IDC_LANGUAGE_COMBO), CB_SETCURSEL, index, 0);
    Command(IDC_LANGUAGE_COMBO, CBN_SELCHANGE);
  }

 private:
  HWND host_ = nullptr;
  std::unique_ptr<PageT> page_;
};

std::string ComboText(HWND combo, int index) {
  char text[256] = "";
  SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
  return text;
}

int ComboIndexOf(HWND combo, const std::string& name) {
  for (int i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i)
    if (ComboText(combo, i) == name) return i;
  return -1;
}

// The program folder's language files copied into a fresh folder, which is then scanned.
std::string ScannedCopy(const char* name) {
  const std::string folder = qvtest::PageTempFolder(name);
  for (const char* file : {"qveng.lng", "qvdeu.lng"})
    CopyFileA((qvtest::DistFolder() + "language\\" + file).c_str(), (folder + "\\" + file).c_str(), FALSE);
  EXPECT_TRUE(qv::Languages().ScanLanguages(folder, "qv*.lng"));
  return folder;
}

class PreferencesPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = ScannedCopy("languages");
    ASSERT_TRUE(qv::Languages().LoadLanguage(folder + "\\qveng.lng"));
    g_languageChanges = 0;
    g_opened.clear();
    previousOpen = qv::SetShellOpen(&RecordOpen);
  }
  void TearDown() override { qv::SetShellOpen(previousOpen); }
  std::string folder;
  qv::PVoptionData live;
  qv::ShellOpen previousOpen = nullptr;
};

TEST_F(PreferencesPageTest, ChoosingALanguageMakesItCurrentAndAsksForNewTextsAtOnce) {
  live.languageFile = folder + "\\qveng.lng";
  Hosted<qv::PreferencesPage> host(live);
  HWND combo = host.Item(IDC_LANGUAGE_COMBO);
  ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(ComboText(combo, 0), "Deutsch") << "the manager's sorted order";
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(host.Text(IDC_RELOAD_LANGUAGES), "Reload");
  EXPECT_EQ(host.Text(IDC_LABEL_PREV_WALLPAPER), "Previous Wallpaper:");
  EXPECT_EQ(host.Text(IDC_AUTHOR), "Quorvex");
  EXPECT_EQ(host.Text(IDC_LANGUAGE_VERSION), "1.04");

  host.ChooseLanguage(0);
  EXPECT_EQ(g_languageChanges, 1);
  std::string path;
  ASSERT_TRUE(qv::Languages().GetCurrentPath(&path));
  EXPECT_EQ(path, folder + "\\qvdeu.lng");
  host.page().Localize();  // what the configuration window does for message 3024
  EXPECT_EQ(host.Text(IDC_RELOAD_LANGUAGES), "Neu laden");
  EXPECT_EQ(host.Text(IDC_LABEL_PREV_WALLPAPER), "Vorheriges Hintergrundbild:");
  // Only applying remembers it.
  EXPECT_EQ(live.languageFile, folder + "\\qveng.lng");
  host.page().Commit(live);
  EXPECT_EQ(live.languageFile, folder + "\\qvdeu.lng");
}

TEST_F(PreferencesPageTest, AMissingCurrentFileShowsTheEnglishEntryAndAFileThatWillNotLoadKeepsTheLanguage) {
  // The current language comes from a folder that is not the scanned one.
  const std::string elsewhere = qvtest::PageTempFolder("elsewhere");
  CopyFileA((folder + "\\qvdeu.lng").c_str(), (elsewhere + "\\qvdeu.lng").c_str(), FALSE);
  ASSERT_TRUE(qv::Languages().LoadLanguage(elsewhere + "\\qvdeu.lng"));
  Hosted<qv::PreferencesPage> host(live);
  HWND combo = host.Item(IDC_LANGUAGE_COMBO);
  EXPECT_EQ(ComboText(combo, static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0))), "English");
  EXPECT_EQ(host.Text(IDC_AUTHOR), "Quorvex") << "the current language's own descriptor";

  // The German file goes after the scan: choosing it keeps the German texts of the other folder.
  ASSERT_TRUE(DeleteFileA((folder + "\\qvdeu.lng").c_str()));
  host.ChooseLanguage(0);
  std::string path;
  ASSERT_TRUE(qv::Languages().GetCurrentPath(&path));
  EXPECT_EQ(path, elsewhere + "\\qvdeu.lng");
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0) << "the chosen name stays shown";
}

TEST_F(PreferencesPageTest, HotkeysAndCheckBoxesReachTheSettingsOnlyWhenApplied) {
  live.hotkeys[qv::kPreviousWallpaper] = qv::HotkeySetting('P', HOTKEYF_CONTROL | HOTKEYF_ALT);
  live.hotkeys[qv::kNextIESkin] = qv::HotkeySetting(VK_F9, HOTKEYF_SHIFT);
  live.agentEnabled = 1;
  live.checkNewVersion = 0;
  Hosted<qv::PreferencesPage> host(live);
  EXPECT_EQ(SendMessageA(host.Item(IDC_HOTKEY_PREV_WALLPAPER), HKM_GETHOTKEY, 0, 0),
            MAKEWORD('P', HOTKEYF_CONTROL | HOTKEYF_ALT));
  EXPECT_EQ(SendMessageA(host.Item(IDC_HOTKEY_NEXT_IESKIN), HKM_GETHOTKEY, 0, 0), MAKEWORD(VK_F9, HOTKEYF_SHIFT));
  EXPECT_EQ(SendMessageA(host.Item(IDC_AGENT_ENABLED), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(host.Item(IDC_CHECK_NEW_VERSION), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  SendMessageA(host.Item(IDC_HOTKEY_NEXT_WALLPAPER), HKM_SETHOTKEY, MAKEWORD('N', HOTKEYF_CONTROL), 0);
  SendMessageA(host.Item(IDC_HOTKEY_NEXT_IESKIN), HKM_SETHOTKEY, 0, 0);
  SendMessageA(host.Item(IDC_AGENT_ENABLED), BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageA(host.Item(IDC_CHECK_NEW_VERSION), BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(live.agentEnabled, 1);
  host.page().Commit(live);
  EXPECT_EQ(live.hotkeys[qv::kPreviousWallpaper], qv::HotkeySetting('P', HOTKEYF_CONTROL | HOTKEYF_ALT));
  EXPECT_EQ(live.hotkeys[qv::kNextWallpaper], qv::HotkeySetting('N', HOTKEYF_CONTROL));
  EXPECT_EQ(live.hotkeys[qv::kNextIESkin].keyCode, 0);
  EXPECT_EQ(live.agentEnabled, 0);
  EXPECT_EQ(live.checkNewVersion, 1);
  EXPECT_EQ(g_languageChanges, 0);
}

TEST_F(PreferencesPageTest, ReloadFindsNewFilesAndReadsTheCurrentOneAgain) {
  Hosted<qv::PreferencesPage> host(live);
  {
    std::ofstream extra(folder + "\\qvtst.lng", std::ios::binary);
    extra << "[info]\r\nlang name=Testing\r\nauthor=Tester\r\nqv ver=1.03\r\n";
  }
  {
    std::ofstream edit(folder + "\\qveng.lng", std::ios::binary | std::ios::app);
    edit << "\r\n[Preferences Page]\r\n012=Read again\r\n";
  }
  host.Command(IDC_RELOAD_LANGUAGES);
  EXPECT_EQ(g_languageChanges, 1);
  HWND combo = host.Item(IDC_LANGUAGE_COMBO);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(ComboText(combo, static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0))), "English");
  host.page().Localize();
  EXPECT_EQ(host.Text(IDC_RELOAD_LANGUAGES), "Read again");
  host.ChooseLanguage(ComboIndexOf(combo, "Testing"));
  host.page().Localize();
  EXPECT_EQ(host.Text(IDC_AUTHOR), "Tester");
  EXPECT_EQ(host.Text(IDC_LANGUAGE_VERSION), "1.03");
  EXPECT_EQ(host.Text(IDC_RELOAD_LANGUAGES), "") << "a key the file lacks shows empty";
}

TEST_F(PreferencesPageTest, TheLanguagePackPageOpensMaximisedThroughTheShellAndF1ItsTopic) {
  Hosted<qv::PreferencesPage> host(live);
  qvtest::Page() = qvtest::PageRecord();
  HELPINFO help{sizeof help, HELPINFO_WINDOW, IDC_LANGUAGE_COMBO, host.Item(IDC_LANGUAGE_COMBO), 0, {0, 0}};
  SendMessageA(host.page().Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
  EXPECT_EQ(qvtest::Page().opened, std::vector<std::string>{"help|preferences.htm"});
  host.Command(IDC_LANGUAGE_PACK);
  ASSERT_EQ(g_opened.size(), 1u);
  const std::string prefix = "open|" + std::to_string(SW_SHOWMAXIMIZED) + "|";
  EXPECT_EQ(g_opened[0].substr(0, prefix.size()), prefix);
  EXPECT_EQ(g_opened[0].substr(g_opened[0].size() - 20), "/qv_localization.htm");
}

class AboutPageTest : public PreferencesPageTest {};

TEST_F(AboutPageTest, NameVersionFromTheResourceAndTheLibrariesNotices) {
  uint32_t version = 0;
  ASSERT_TRUE(qv::ProgramFileVersion(&version));
  EXPECT_EQ(version, 0x10400u);
  Hosted<qv::AboutPage> host(live);
  EXPECT_EQ(host.Text(IDC_ABOUT_NAME), "Quorvex");
  EXPECT_EQ(host.Text(IDC_ABOUT_VERSION), "Version 1.04");
  EXPECT_EQ(host.Text(IDC_ABOUT_HOMEPAGE), "Home Page");
  const std::string notices = qv::LibraryNotices();
  for (const char* needed :
       {"libjpeg-turbo", "based in part on the work of the Independent JPEG Group", "D. R. Commander",
        "libpng", "PNG Reference Library License version 2", "libtiff", "Sam Leffler",
        "Silicon Graphics", "zlib", "Jean-loup Gailly and Mark Adler"})
    EXPECT_NE(notices.find(needed), std::string::npos) << needed;
  EXPECT_EQ(notices.find("\n\n"), std::string::npos) << "every line ends in CR LF";
  char shown[64] = "";
  GetWindowTextA(host.Item(IDC_ABOUT_THANKS), shown, sizeof shown);
  EXPECT_EQ(notices.substr(0, strlen(shown)), shown);

  ASSERT_TRUE(qv::Languages().LoadLanguage(folder + "\\qvdeu.lng"));
  host.page().Localize();
  EXPECT_EQ(host.Text(IDC_ABOUT_HOMEPAGE), "Homepage");
  EXPECT_EQ(host.Text(IDC_ABOUT_THANKS_LABEL), "Danksagungen:");
}

TEST_F(AboutPageTest, LinksAndTheIconOpenTheirPagesMaximisedByMouseAndKeyboard) {
  Hosted<qv::AboutPage> host(live);
  HWND home = host.Item(IDC_ABOUT_HOMEPAGE), feedback = host.Item(IDC_ABOUT_FEEDBACK);
  SendMessageA(home, WM_KEYDOWN, VK_RETURN, 0);
  SendMessageA(feedback, WM_KEYDOWN, VK_SPACE, 0);
  // A click as the mouse gives it: the static's own notice.
  SendMessageA(feedback, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageA(feedback, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  SendMessageA(host.Item(IDC_ABOUT_ICON), BM_CLICK, 0, 0);
  qv::WebAddresses addresses = qv::ProgramWebAddresses();
  const std::string maximised = "open|" + std::to_string(SW_SHOWMAXIMIZED) + "|";
  ASSERT_GE(g_opened.size(), 4u);
  EXPECT_EQ(g_opened.front(), maximised + addresses.HomePage());
  EXPECT_EQ(g_opened[1], maximised + addresses.FeedbackPage());
  EXPECT_EQ(g_opened[2], maximised + addresses.FeedbackPage());
  EXPECT_EQ(g_opened.back(), maximised + addresses.HomePage());
  EXPECT_EQ(g_opened.size(), 4u) << "one page per click";
}

TEST_F(AboutPageTest, LinksTakeTheFocusShowTheHandAndWantEnter) {
  Hosted<qv::AboutPage> host(live);
  HWND home = host.Item(IDC_ABOUT_HOMEPAGE);
  EXPECT_NE(GetWindowLongPtrA(home, GWL_STYLE) & WS_TABSTOP, 0);
  EXPECT_EQ(GetNextDlgTabItem(host.page().Handle(), host.Item(IDC_ABOUT_THANKS), FALSE), home);
  SetFocus(home);
  EXPECT_EQ(GetFocus(), home);
  SendMessageA(home, WM_SETCURSOR, reinterpret_cast<WPARAM>(home), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
  MSG enter{home, WM_KEYDOWN, VK_RETURN, 0};
  EXPECT_NE(SendMessageA(home, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTMESSAGE, 0);
  EXPECT_TRUE(host.page().HomePageLink().LinkFont() != nullptr);
  LOGFONTA font{};
  GetObjectA(host.page().HomePageLink().LinkFont(), sizeof font, &font);
  EXPECT_TRUE(font.lfUnderline);
  // Drawn in the link colour, which stands out from the face whatever the colour scheme.
  RedrawWindow(home, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  RECT r{};
  GetClientRect(home, &r);
  HDC dc = GetDC(home);
  const COLORREF link = GetNearestColor(dc, widgets::LinkColour());
  int linkPixels = 0;
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) linkPixels += GetPixel(dc, x, y) == link;
  ReleaseDC(home, dc);
  EXPECT_GT(linkPixels, 20);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_GT(std::abs(GetGValue(face) + GetRValue(face) - GetGValue(link) - GetRValue(link)), 150);
}

TEST_F(AboutPageTest, TheIconButtonDrawsItsHoverStateAndPlaysOneSoundOnEntering) {
  widgets::SoundPlayer previous = widgets::SetSoundPlayer(&RecordSound);
  g_sounds = 0;
  {
    Hosted<qv::AboutPage> host(live);
    HWND button = host.Item(IDC_ABOUT_ICON);
    const widgets::PictureButton& picture = host.page().IconButton();
    EXPECT_EQ(picture.StateOf(0), widgets::PictureButton::State::Normal);
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
    EXPECT_TRUE(picture.Hovering());
    EXPECT_EQ(g_sounds, 1) << "once on entering, not on every move";
    EXPECT_EQ(picture.StateOf(0), widgets::PictureButton::State::Hover);
    EXPECT_EQ(picture.StateOf(ODS_SELECTED), widgets::PictureButton::State::Pressed);
    EXPECT_EQ(picture.StateOf(ODS_DISABLED | ODS_SELECTED), widgets::PictureButton::State::Disabled);
    // The hover bitmap has a frame in the highlight colour at its edge.
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT r{};
    GetClientRect(button, &r);
    const int left = (r.right - 40) / 2, top = (r.bottom - 40) / 2;
    HDC dc = GetDC(button);
    const COLORREF edge = GetPixel(dc, left, top + 20);
    const COLORREF frame = GetNearestColor(dc, GetSysColor(COLOR_HIGHLIGHT));
    ReleaseDC(button, dc);
    EXPECT_EQ(edge, frame);
    SendMessageA(button, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(picture.Hovering());
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(g_sounds, 2);
    SendMessageA(button, WM_MOUSELEAVE, 0, 0);
  }
  widgets::SetSoundPlayer(previous);
  // With the system's player, where this machine has no sound device, entering still works.
  Hosted<qv::AboutPage> host(live);
  SendMessageA(host.Item(IDC_ABOUT_ICON), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(host.page().IconButton().Hovering());
  SendMessageA(host.Item(IDC_ABOUT_ICON), BM_CLICK, 0, 0);
  EXPECT_EQ(g_opened.size(), 1u);
}

}  // namespace
