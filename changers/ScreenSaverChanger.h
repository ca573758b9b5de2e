// The screen saver changer and the screen saver commands of the tray menu and the page.
#pragma once

#include <windows.h>

#include <string>

namespace qv {

// Names the program (in its short form) as the system's screen saver in the registry and in
// SYSTEM.INI, switches screen saving on and sets the waiting time (0 or less: 300 seconds).
// False only when the desktop settings key can't be opened; then nothing is changed.
bool SetScreenSaver(const std::string& path, int seconds);

// Hands the waiting time to the system for this session (the profile is not updated). Returns
// the minutes used: 0 or less becomes 5, which the caller keeps in its list.
int ApplyScreenSaverTimeout(int minutes);

// The system's waiting time in whole minutes, 5 when it is below one minute.
int SystemScreenSaverMinutes();

// Starts the program for its preview ("/P") and for its settings ("/C"); false when it could not
// be started.
bool PreviewScreenSaver(const std::string& path);
bool ConfigureScreenSaver(const std::string& path);

bool ScreenSaverActive();
void ToggleScreenSaverActive();

// Switches screen saving on and starts the screen saver. eachRun: the screen saver list moves on
// at each run, so the main window (or, without one, the window captioned "Quorvex") is told that
// a screen saver started.
void StartScreenSaverNow(HWND mainWindow, bool eachRun);

}  // namespace qv
