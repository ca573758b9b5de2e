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
  if (HWND running = FindWindowA(nullptr, instanceName_.c_str()))
    SendMessageA(running, QV_MSG_QUIT_AGENT, 0, 0);
}

bool Pivora::HandOverToRunningInstance() {
  HANDLE existing = OpenMutexA(SYNCHRONIZE, FALSE, instanceName_.c_str());
  if (!existing) return false;
  CloseHandle(existing);
  if (HWND running = FindWindowA(nullptr, instanceName_.c_str()))
    PostMessageA(running, WM_COMMAND, ID_CONFIGURE, 0);
  return true;
}

int Pivora::RunFirstInstance() {
  LoadChecksumService();
  if (!InitLanguages()) {
    MessageBoxA(nullptr, LoadResourceString(instance_, IDS_LANGUAGE_FAILED).c_str(),
                instanceName_.c_str(), MB_OK | MB_ICONSTOP);
    return 1;
  }
  mutex_ = CreateMutexA(nullptr, FALSE, instanceName_.c_str());
  if (!mutex_) QV_LOG();

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
