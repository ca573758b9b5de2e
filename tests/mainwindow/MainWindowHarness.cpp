#include "tests/mainwindow/MainWindowHarness.h"

#include "core/mainwindow/MainWindowRes.h"
#include "platform/PrivateMessages.h"
#include "platform/Threads.h"

namespace qvtest {
namespace {

constexpr UINT kRunOnUi = WM_APP + 77;

LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunOnUi) {
    (*reinterpret_cast<const std::function<void()>*>(lParam))();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool Wallpaper(const std::string& path, int) {
  Record().wallpapers.push_back(path);
  return true;
}
bool IESkin(const std::string& path) {
  Record().ieSkins.push_back(path);
  return true;
}
bool BootScreen(const std::string& path) {
  Record().bootScreens.push_back(path);
  return true;
}
bool NotRunning() { return false; }

bool Lookup(const std::string&, const std::string& key, std::string* out) {
  if (!Record().translate) return false;
  *out = "<" + key + ">";
  return true;
}
int Message(const char* key, UINT) {
  Record().messages.push_back(key);
  return Record().messageAnswer;
}
bool Reassert(int) {
  ++Record().reassertCalls;
  return Record().reassertResult;
}
bool Active() { return Record().screenSaverActive; }
std::string QvLogo() { return Record().qvLogoPath; }
std::string QvUiHost() { return Record().qvUiHostPath; }
std::string BootLogo() { return Record().bootLogoPath; }
void Timeout(int minutes) { Record().timeouts.push_back(minutes); }
void Help(HWND, const char* topic) { Record().helpTopics.push_back(topic ? topic : "<contents>"); }
void BootIniSetup(HWND) { ++Record().bootIniSetups; }

// The harness never reaches the network: the checks' entries only record.
void UpdateStart(HWND, int refreshDay) { Record().updateStarts.push_back(refreshDay); }
void UpdateRetry(HWND) { ++Record().updateRetries; }
void SiteListRetry(HWND, int refreshDay) { Record().siteListRetries.push_back(refreshDay); }
void NewVersion(HWND, const std::string& text) { Record().newVersionTexts.push_back(text); }
void HomePage(HWND) { ++Record().homePages; }
void EndUpdateChecks() { ++Record().endChecks; }

}  // namespace

Recorder& Record() {
  static Recorder recorder;
  return recorder;
}

MainWindowHarness::MainWindowHarness() {
  Record() = Recorder();
  qv::ListServices services = qv::DefaultServices();
  services.modifyWallpaper = &Wallpaper;
  services.modifyIESkin = &IESkin;
  services.changeBootScreen = &BootScreen;
  services.screenSaverRunning = &NotRunning;
  previous_ = qv::SetServices(services);
  settings.Reset();
  settings.wallpaper.items.clear();
  settings.ieSkin.items.clear();
  settings.bootScreen.items.clear();
  settings.wallpaper.flatList.clear();
  settings.ieSkin.flatList.clear();
  settingsPath = TempFolder("settings") + "\\qv.dat";
  WNDCLASSA helperClass{};
  helperClass.lpfnWndProc = &HelperProc;
  helperClass.hInstance = GetModuleHandleA(nullptr);
  helperClass.lpszClassName = "QvHarnessHelper";
  RegisterClassA(&helperClass);
  helper_ = CreateWindowExA(0, "QvHarnessHelper", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
}

MainWindowHarness::~MainWindowHarness() {
  DestroyWindow(helper_);
  qv::SetServices(previous_);
}

void MainWindowHarness::OnUi(const std::function<void()>& fn) {
  SendMessageA(helper_, kRunOnUi, 0, reinterpret_cast<LPARAM>(&fn));
}

bool MainWindowHarness::WaitFor(const std::function<bool()>& cond, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    bool done = false;
    OnUi([&] { done = cond(); });
    if (done) return true;
    if (GetTickCount() - start > ms) return false;
    Sleep(25);
  }
}

INT_PTR MainWindowHarness::Run(bool startupRun,
                               const std::function<void(MainWindowHarness&)>& script) {
  qv::MainWindowServices services = qv::ProgramMainWindowServices();
  if (!programTexts) services.lookup = &Lookup;
  services.showMessage = &Message;
  services.reassertWallpaper = &Reassert;
  services.screenSaverActive = &Active;
  services.qvLogoPath = &QvLogo;
  services.qvUiHostPath = &QvUiHost;
  services.bootLogoPath = &BootLogo;
  services.setScreenSaverTimeout = &Timeout;
  services.openHelp = &Help;
  services.setupBootIni = &BootIniSetup;
  services.startUpdateChecks = &UpdateStart;
  services.retryUpdateCheck = &UpdateRetry;
  services.retrySiteList = &SiteListRetry;
  services.showNewVersion = &NewVersion;
  services.openHomePage = &HomePage;
  services.endUpdateChecks = &EndUpdateChecks;
  qv::PivoraDlg dialog(settings, settingsPath, startupRun, services, pages, timings);
  dialog_ = &dialog;
  ended_ = false;
  std::atomic<bool> scriptDone{false};
  platform::Thread driver;
  driver.Start([&] {
    WaitFor([&] { return dialog.Initialised(); }, 20000);
    OnUi([&] { window_ = dialog.Handle(); });
    script(*this);
    OnUi([&] {
      if (dialog.Handle()) dialog.Post(QV_MSG_QUIT_AGENT);
    });
    scriptDone = true;
  });
  INT_PTR result = dialog.RunWindow(GetModuleHandleA(nullptr));
  ended_ = true;
  // A window that ended by itself: the script may still be talking to this thread. The quit
  // message of the agent's end is taken here too, so that it cannot end the next test's window.
  MSG msg;
  while (!scriptDone) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
  driver.Join();
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  dialog_ = nullptr;
  return result;
}

std::string TempFolder(const std::string& name) {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  // Wine reuses process ids: the tick count keeps a folder of an earlier run from being reused.
  static int serial = 0;
  std::string path = std::string(base) + "qvmain-" + std::to_string(GetTickCount()) + "-" +
                     std::to_string(++serial) + "-" + name;
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

std::string TouchFile(const std::string& folder, const std::string& name) {
  std::string path = folder + "\\" + name;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, "x", 1, &written, nullptr);
  CloseHandle(file);
  return path;
}

}  // namespace qvtest
