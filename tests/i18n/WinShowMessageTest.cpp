#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/ShowMessage.h"
#include "i18n/LanguageManager.h"
#include "tests/i18n/WinDialogText.h"
#include "tests/support/LogCapture.h"
#include "tests/support/WinTestSupport.h"

namespace {

// Loads a small language into the process-wide manager from a scratch file.
void LoadTestLanguage() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string path = std::string(temp) + "qvmsgtest.lng";
  const std::string bytes =
      "[info]\r\nlang name=Test\r\n[Strings]\r\n0003=Select\\tan item\r\n0011=Cannot load:\\n%s\r\n";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_TRUE(qv::Languages().LoadLanguage(path));
  DeleteFileA(path.c_str());
}

// Runs one message on a thread of its own (with its own owner window when asked), so that this
// thread can look at the box and press a button.
struct MessageRun {
  const char* key;
  const char* path;  // nullptr: ShowMessage, else ShowMessageWithPath
  UINT style;
  bool withOwner;
  HWND owner = nullptr;
  HANDLE ownerReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  int result = 0;

  static DWORD WINAPI Thread(void* param) {
    auto* run = static_cast<MessageRun*>(param);
    if (run->withOwner) {
      run->owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                   nullptr, nullptr, nullptr, nullptr);
      qv::SetMessageOwner(run->owner);
    }
    SetEvent(run->ownerReady);
    run->result = run->path ? qv::ShowMessageWithPath(run->key, run->path, run->style)
                            : qv::ShowMessage(run->key, run->style);
    qv::SetMessageOwner(nullptr);
    if (run->owner) DestroyWindow(run->owner);
    return 0;
  }
};

TEST(WinShowMessage, ShowsTheLanguageTextAndReturnsTheButton) {
  LoadTestLanguage();
  struct Row {
    const char* key;
    const char* path;
    UINT style;
    bool withOwner;
    const char* text;
    int button;
  } rows[] = {
      {"0003", nullptr, MB_OK | MB_ICONINFORMATION, false, "Select\tan item", IDOK},
      {"0003", nullptr, MB_YESNO, true, "Select\tan item", IDNO},
      {"0011", "C:\\pics\\100%s.bmp", MB_OK, false, "Cannot load:\nC:\\pics\\100%s.bmp", IDOK},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.key);
    MessageRun run{r.key, r.path, r.style, r.withOwner};
    HANDLE thread = CreateThread(nullptr, 0, MessageRun::Thread, &run, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(run.ownerReady, 10000);
    HWND box = qvtest::WaitForWindow("Quorvex", GetCurrentProcessId(), 30000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(qvtest::WaitForStaticTexts(box, 10000), r.text);
    EXPECT_EQ(GetWindow(box, GW_OWNER), run.owner);
    PostMessageA(box, WM_COMMAND, r.button, 0);
    ASSERT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
    EXPECT_EQ(run.result, r.button);
    CloseHandle(thread);
    CloseHandle(run.ownerReady);
  }
}

TEST(WinShowMessage, MissingKeyShowsNothing) {
  LoadTestLanguage();
  qvtest::LogCapture log;
  EXPECT_EQ(qv::ShowMessage("0099", MB_OK), -1);
  EXPECT_EQ(qv::ShowMessageWithPath("0098", "C:\\x", MB_OK), -1);
  ASSERT_EQ(log.lines().size(), 2u);
  EXPECT_NE(log.lines()[0].find("ShowMessage.cpp"), std::string::npos);
  EXPECT_NE(log.lines()[0].find("0099"), std::string::npos);
}

}  // namespace
