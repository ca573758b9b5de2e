#include "core/app/Pivora.h"

#include <commctrl.h>

#include "changers/ProgramPatch.h"
#include "core/CommandLine.h"
#include "core/RotationRandom.h"
#include "core/StartupRun.h"
#include "core/app/MainWindowSeam.h"
#include "core/app/ProgramChangers.h"
#include "i18n/LanguageManager.h"
#include "i18n/LanguageStartup.h"
#include "platform/AgentWindow.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/PrivateMessages.h"
#include "res/resource.h"

namespace qv {
namespace {

std::string LoadResourceString(HINSTANCE instance, UINT id) {
  char buffer[260];
  int n = LoadStringA(instance, id, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? n : 0);
}

// A first instance that holds the mutex may still be starting (reading settings, its start-up
// run, the first-run wizard): wait a while for its window, as long as it still runs.
HWND WaitForRunningAgent(const std::string& instanceName) {
  constexpr DWORD kWaitMs = 20000, kStepMs = 100;
  for (DWORD waited = 0; waited < kWaitMs; waited += kStepMs) {
    if (HWND running = platform::FindAgentWindow()) return running;
    HANDLE stillThere = OpenMutexA(SYNCHRONIZE, FALSE, instanceName.c_str());
    if (!stillThere) return nullptr;
    CloseHandle(stillThere);
    Sleep(kStepMs);
  }
  return nullptr;
}

}  // namespace

Pivora::Pivora(QuickSetupWizard wizard) : wizard_(wizard) {
  SeedRotationRandom();
  InstallProgramChangers();
}

Pivora::~Pivora() {
  if (mutex_) CloseHandle(mutex_);
}

int Pivora::Run(HINSTANCE instance, const char* commandLine) {
  instance_ = instance;
  commandLine_ = commandLine ? commandLine : "";

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  instanceName_ = LoadResourceString(instance_, IDS_INSTANCE_NAME);

  StartMode mode = ParseStartMode(commandLine_);
  if (mode == StartMode::Undo) {
    RunUndo();
    return 0;
  }
  if (HandOverToRunningInstance()) return 0;
  return RunFirstInstance();
}

void Pivora::RunUndo() {
  RestoreSystemAppearance();
  if (HWND running = platform::FindAgentWindow()) SendMessageA(running, QV_MSG_QUIT_AGENT, 0, 0);
}

bool Pivora::HandOverToRunningInstance() {
  // Creating is the test: of two starts close together exactly one creates the mutex, where an
  // open-then-create pair let both pass as first instances.
  mutex_ = CreateMutexA(nullptr, FALSE, instanceName_.c_str());
  DWORD error = GetLastError();
  if (!mutex_) {
    QV_LOG();
    return false;
  }
  if (error != ERROR_ALREADY_EXISTS) return false;
  CloseHandle(mutex_);
  mutex_ = nullptr;
  if (HWND running = WaitForRunningAgent(instanceName_)) PostMessageA(running, WM_COMMAND, ID_CONFIGURE, 0);
  return true;
}

int Pivora::RunFirstInstance() {
  LoadChecksumService();
  if (!InitLanguages()) {
    MessageBoxA(nullptr, LoadResourceString(instance_, IDS_LANGUAGE_FAILED).c_str(),
                instanceName_.c_str(), MB_OK | MB_ICONSTOP);
    return 1;
  }
  settingsPath_ = SettingsFilePath(platform::AppDataFolder(), instanceName_, platform::ProgramFilePath());
  InitialiseSettings(settings_, settingsPath_, wizard_);
  // The settings name the user's language; a file that no longer loads gives the first one.
  Languages().LoadLanguageOrFirst(settings_.languageFile);

  bool startupRun = ParseStartMode(commandLine_) == StartMode::StartupRun;
  if (startupRun && !RunStartupChanges()) return 0;
  return RunMainWindow(instance_, settings_, settingsPath_, startupRun);
}

bool Pivora::RunStartupChanges() {
  ChangeEveryListIfDue(settings_);
  settings_.Save(settingsPath_);
  return settings_.agentEnabled != 0;
}

}  // namespace qv
