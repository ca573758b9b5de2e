#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "boot/ui/BootINISetupDlg.h"
#include "boot/ui/BootIniRes.h"
#include "boot/ui/NewBootIniDlg.h"
#include "core/WindowsGeneration.h"
#include "tests/support/LogCapture.h"
#include "tests/wizard/WinScript.h"
#include "widgets/ListView.h"

namespace {

using qvtest::Click;
using qvtest::ControlText;
using qvtest::Script;

const std::string kXp = "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS";
const std::string kW2k = "multi(0)disk(0)rdisk(0)partition(2)\\WINNT";

// The messages the dialogs would show, recorded instead.
std::vector<std::string> g_messages;
int RecordMessage(const char* key, UINT) {
  g_messages.push_back(key);
  return IDOK;
}
std::vector<std::string> g_topics;
HWND RecordHelp(HWND, const char* topic) {
  g_topics.push_back(topic ? topic : "");
  return nullptr;
}

std::string TempPath(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + name;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::ofstream(path, std::ios::binary) << bytes;
}
std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
void Remove(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
  DeleteFileA((path + ".qvbak").c_str());
}

std::string OsFile(std::initializer_list<std::string> lines) {
  std::string text = "[boot loader]\r\ntimeout=30\r\ndefault=" + kXp + "\r\n[operating systems]\r\n";
  for (const std::string& l : lines) text += l + "\r\n";
  return text;
}

// What the setup dialog's list shows: one "name|full line" per row, the selected row marked "*".
std::vector<std::string> ListRows(HWND dialog) {
  widgets::ListView list(GetDlgItem(dialog, IDC_OS_LIST));
  std::vector<std::string> rows;
  for (int i = 0; i < list.Count(); ++i) {
    bool selected = list.IsSelected(i);
    rows.push_back(std::string(selected ? "*" : "") + list.Text(i, 0) + "|" + list.Text(i, 1));
  }
  return rows;
}

struct SetupRun {
  INT_PTR result = 0;
  std::vector<std::string> rows;
  std::string title, prompt, save, column0;
};

// Opens the setup dialog over path, reads what it shows, then presses Save (or Cancel).
SetupRun RunSetup(const std::string& path, int generation, int button = IDOK) {
  SetupRun run;
  qv::BootINISetupDlg dialog(generation, &RecordMessage, &RecordHelp, path);
  Script script({[&] {
    if (!dialog.IsWindow()) return false;
    run.rows = ListRows(dialog);
    run.title = qvtest::WindowCaption(dialog);
    run.prompt = ControlText(dialog, IDC_BOOTINI_PROMPT);
    run.save = ControlText(dialog, IDOK);
    char column[64] = "";
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT;
    c.pszText = column;
    c.cchTextMax = sizeof column;
    ListView_GetColumn(GetDlgItem(dialog, IDC_OS_LIST), 0, &c);
    run.column0 = column;
    Click(dialog, button);
    return true;
  }});
  run.result = dialog.Show(nullptr);
  return run;
}

class WinBootIniDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(qvtest::LoadShippedLanguage("qveng.lng"));
    g_messages.clear();
    g_topics.clear();
    Remove(path_);
  }
  void TearDown() override { Remove(path_); }
  std::string path_ = TempPath("qv-dialog-boot.ini");
};

TEST_F(WinBootIniDialogs, XpEntryAndDriveRootEntryListOnlyXpPreselectedThenMarkOnce) {
  WriteFile(path_, OsFile({kXp + "=\"Microsoft Windows XP Professional\" /fastdetect",
                           "C:\\=\"Microsoft Windows\""}));
  SetupRun first = RunSetup(path_, qv::kWinXP);
  EXPECT_EQ(first.result, IDOK);
  ASSERT_EQ(first.rows, std::vector<std::string>{
                            "*Microsoft Windows XP Professional|" + kXp +
                            "=\"Microsoft Windows XP Professional\" /fastdetect"});
  EXPECT_EQ(first.title, "BOOT.INI Setup");
  EXPECT_EQ(first.save, "Save");
  EXPECT_EQ(first.column0, "Operating System");
  EXPECT_NE(first.prompt.find("Please select"), std::string::npos);
  std::string marked = ReadFile(path_);
  EXPECT_NE(marked.find(kXp + "=\"Microsoft Windows XP Professional\" /fastdetect /KERNEL=QVLOGO.EXE\r\n"),
            std::string::npos);
  EXPECT_NE(marked.find("(Backuped by Quorvex)Microsoft Windows XP Professional"), std::string::npos);

  // Reopened: the marked entry once, without the switch, and no backup entry.
  SetupRun second = RunSetup(path_, qv::kWinXP, IDCANCEL);
  EXPECT_EQ(second.result, IDCANCEL);
  EXPECT_EQ(second.rows, first.rows);
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(WinBootIniDialogs, On2000TheFirst2000EntryIsPreselected) {
  WriteFile(path_, OsFile({kXp + "=\"Microsoft Windows XP\" /fastdetect",
                           kW2k + "=\"Windows 2000 Professional\" /fastdetect",
                           kW2k + "=\"Windows 2000 Server\" /fastdetect"}));
  SetupRun run = RunSetup(path_, qv::kWin2000, IDCANCEL);
  ASSERT_EQ(run.rows.size(), 3u);
  EXPECT_EQ(run.rows[0][0], 'M');
  EXPECT_EQ(run.rows[1].substr(0, 10), "*Windows 2");
  EXPECT_EQ(run.rows[2][0], 'W');
  WriteFile(path_, OsFile({kXp + "=\"Microsoft Windows XP\" /fastdetect"}));
  run = RunSetup(path_, qv::kWin2000, IDCANCEL);
  EXPECT_EQ(run.rows, std::vector<std::string>{"Microsoft Windows XP|" + kXp +
                                               "=\"Microsoft Windows XP\" /fastdetect"});
}

TEST_F(WinBootIniDialogs, SaveWithoutSelectionShows0006AndStaysOpen) {
  std::string before = OsFile({kXp + "=\"Some Other System\" /fastdetect"});
  WriteFile(path_, before);
  qv::BootINISetupDlg dialog(qv::kWinXP, &RecordMessage, &RecordHelp, path_);
  bool stayed = false, focused = false;
  Script script({[&] {
                   if (!dialog.IsWindow()) return false;
                   Click(dialog, IDOK);  // nothing is preselected
                   stayed = dialog.IsWindow();
                   focused = GetFocus() == GetDlgItem(dialog, IDC_OS_LIST);
                   SendMessageA(dialog, WM_HELP, 0, 0);
                   return true;
                 },
                 [&] {
                   Click(dialog, IDCANCEL);
                   return true;
                 }});
  EXPECT_EQ(dialog.Show(nullptr), IDCANCEL);
  EXPECT_TRUE(stayed);
  EXPECT_TRUE(focused);
  EXPECT_EQ(g_messages, std::vector<std::string>{"0006"});
  EXPECT_EQ(g_topics, std::vector<std::string>{"boot_ini_setup.htm"});
  EXPECT_EQ(ReadFile(path_), before);
}

TEST_F(WinBootIniDialogs, AnUnreadableFileClosesTheDialogAsCancelled) {
  qvtest::LogCapture log;
  WriteFile(path_, "[operating systems]\r\n=nothing before the equals sign\r\n");
  qv::BootINISetupDlg dialog(qv::kWinXP, &RecordMessage, &RecordHelp, path_);
  EXPECT_EQ(dialog.Show(nullptr), IDCANCEL);
  EXPECT_TRUE(g_messages.empty());
}

struct NewRun {
  INT_PTR result = 0;
  std::string shown, title, prompt;
  DWORD selection = 1;  // EM_GETSEL: start in the low word, end in the high word
};

// Opens the new boot.ini dialog with texts, optionally replaces the edit's text, presses Save.
NewRun RunNew(const qv::NewBootIniTexts& texts, const std::string& path, const char* edited,
              int button = IDOK) {
  NewRun run;
  qv::NewBootIniDlg dialog(texts, &RecordHelp, path);
  Script script({[&] {
    if (!dialog.IsWindow()) return false;
    run.shown = ControlText(dialog, IDC_NEWBOOTINI_TEXT);
    run.selection = static_cast<DWORD>(SendDlgItemMessageA(dialog, IDC_NEWBOOTINI_TEXT, EM_GETSEL, 0, 0));
    run.title = qvtest::WindowCaption(dialog);
    run.prompt = ControlText(dialog, IDC_NEWBOOTINI_PROMPT);
    if (edited) SetDlgItemTextA(dialog, IDC_NEWBOOTINI_TEXT, edited);
    Click(dialog, button);
    return true;
  }});
  run.result = dialog.Show(nullptr);
  return run;
}

TEST_F(WinBootIniDialogs, NewFileForXpInCWindowsIsTheSixLinesWithItsAttributes) {
  qv::NewBootIniTexts texts = qv::MakeNewBootIniTexts("C:\\WINDOWS", qv::kWinXP);
  NewRun run = RunNew(texts, path_, nullptr);
  EXPECT_EQ(run.result, IDOK);
  EXPECT_EQ(run.shown, texts.mainText);
  EXPECT_EQ(run.selection, 0u) << "the caret at the start, nothing selected";
  EXPECT_EQ(run.title, "New BOOT.INI");
  EXPECT_EQ(run.prompt, "Quorvex will generate the BOOT.INI file for you:");
  EXPECT_EQ(ReadFile(path_),
            "[boot loader]\r\ntimeout=5\r\ndefault=" + kXp + "\r\n[operating systems]\r\n" + kXp +
                "=\"Microsoft Windows XP\" /fastdetect /KERNEL=QVLOGO.EXE\r\n" + kXp +
                "=\"(Backuped by Quorvex)Microsoft Windows XP\" /fastdetect\r\n");
  DWORD attributes = GetFileAttributesA(path_.c_str());
  EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                          FILE_ATTRIBUTE_ARCHIVE),
            DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                  FILE_ATTRIBUTE_ARCHIVE));
}

TEST_F(WinBootIniDialogs, LinesAddedAfterTheSystemLineGetTheSwitchOnTheLastLine) {
  qv::NewBootIniTexts texts = qv::MakeNewBootIniTexts("C:\\WINDOWS", qv::kWinXP);
  std::string edited = texts.mainText + "\r\nC:\\=\"Previous Windows\"\r\n";
  RunNew(texts, path_, edited.c_str());
  std::string written = ReadFile(path_);
  EXPECT_NE(written.find("/fastdetect\r\nC:\\=\"Previous Windows\" /KERNEL=QVLOGO.EXE\r\n" + kXp +
                         "=\"(Backuped by Quorvex)"),
            std::string::npos)
      << written;
}

TEST_F(WinBootIniDialogs, WindowsOnDriveDShowsAnEmptyTextAndSaveWritesNothing) {
  qvtest::LogCapture log;
  NewRun run = RunNew(qv::MakeNewBootIniTexts("D:\\WINNT", qv::kWin2000), path_, nullptr);
  EXPECT_EQ(run.result, IDOK);
  EXPECT_EQ(run.shown, "");
  EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
  // Cancel writes nothing either.
  run = RunNew(qv::MakeNewBootIniTexts("C:\\WINDOWS", qv::kWinXP), path_, nullptr, IDCANCEL);
  EXPECT_EQ(run.result, IDCANCEL);
  EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(WinBootIniDialogs, TheMenuCommandByGenerationAndFile) {
  // Not Windows 2000 or XP: nothing opens, and the command reports success.
  for (int generation : {qv::kWin95, qv::kWin98, qv::kWinMe, qv::kWinNT4, qv::kWinUnknown})
    EXPECT_TRUE(qv::SetupBootIni(nullptr, generation, &RecordMessage, path_)) << generation;
  // No file: the new dialog; Cancel reports failure, Save success.
  for (int button : {IDCANCEL, IDOK}) {
    std::string caption;
    Script script({[&] {
      HWND dialog = GetActiveWindow();
      if (!dialog) return false;
      caption = qvtest::WindowCaption(dialog);
      Click(dialog, button);
      return true;
    }});
    EXPECT_EQ(qv::SetupBootIni(nullptr, qv::kWin2000, &RecordMessage, path_), button == IDOK);
    EXPECT_EQ(caption, "New BOOT.INI");
  }
  // The file now exists: the setup dialog, success whatever the user does.
  ASSERT_NE(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
  std::string caption;
  Script script({[&] {
    HWND dialog = GetActiveWindow();
    if (!dialog) return false;
    caption = qvtest::WindowCaption(dialog);
    Click(dialog, IDCANCEL);
    return true;
  }});
  EXPECT_TRUE(qv::SetupBootIni(nullptr, qv::kWinXP, &RecordMessage, path_));
  EXPECT_EQ(caption, "BOOT.INI Setup");
}

}  // namespace
