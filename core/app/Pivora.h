// The application object: everything from process start until the main window runs, the
// command-line switches, and the single configuring instance.
#pragma once

#include <windows.h>

#include <string>

#include "core/PVoptionData.h"
#include "core/StartupRun.h"

namespace qv {

class Pivora {
 public:
  // Clears the mutex handle and seeds the rotation's random generator. wizard is what a first
  // start runs when there are no settings (the program hands in the quick setup wizard, so that
  // core/ does not link the pages; nullptr runs none).
  explicit Pivora(QuickSetupWizard wizard = nullptr);
  ~Pivora();
  Pivora(const Pivora&) = delete;
  Pivora& operator=(const Pivora&) = delete;

  // Runs the application and returns the process exit code.
  int Run(HINSTANCE instance, const char* commandLine);

  const std::string& InstanceName() const { return instanceName_; }
  const std::string& SettingsPath() const { return settingsPath_; }

 private:
  // "-u": restore the system appearance and end a running agent.
  void RunUndo();
  // Creates the instance mutex; when it existed already, this is a second start: bring the
  // running instance's configuration window up and return true.
  bool HandOverToRunningInstance();
  int RunFirstInstance();
  // "-r": every list changes if due, the settings are saved. True when the agent is to stay.
  bool RunStartupChanges();

  QuickSetupWizard wizard_;
  HINSTANCE instance_ = nullptr;
  HANDLE mutex_ = nullptr;  // owned; held for the life of the first instance
  std::string commandLine_;
  std::string instanceName_;
  std::string settingsPath_;
  // The settings root, until the main window that owns it exists.
  PVoptionData settings_;
};

}  // namespace qv
