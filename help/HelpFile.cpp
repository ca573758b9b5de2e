#include "help/HelpFile.h"

#include <htmlhelp.h>

#include "platform/Log.h"
#include "platform/ProgramFolder.h"
#include "platform/SystemFunctions.h"

namespace qv {
namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// The viewer library stays loaded once used: its windows live in it until CloseHelp.
HtmlHelpFunction Viewer() {
  auto found = platform::LoadSystemFunction<HtmlHelpFunction>(platform::SystemFunction::kHtmlHelpA);
  if (!found) QV_LOG();
  return found;
}

bool used = false;

}  // namespace

std::string HelpFilePath() {
  return ProgramFolderFile("Quorvex.chm");
}

std::string HelpTarget(const std::string& helpFile, const char* topic) {
  if (!topic || !*topic) return helpFile;
  return helpFile + "::/" + topic;
}

HWND OpenHelp(HWND owner, const char* topic) { return OpenHelpFile(owner, HelpFilePath(), topic); }

HWND OpenHelpFile(HWND owner, const std::string& helpFile, const char* topic) {
  HtmlHelpFunction viewer = Viewer();
  if (!viewer) return nullptr;
  used = true;
  std::string target = HelpTarget(helpFile, topic);
  bool contents = !topic || !*topic;
  HWND window = viewer(owner, target.c_str(), contents ? HH_DISPLAY_TOC : HH_DISPLAY_TOPIC, 0);
  if (!window) QV_LOG_MSG(target.c_str());
  return window;
}

void CloseHelp() {
  if (used) {
    if (HtmlHelpFunction viewer = Viewer()) viewer(nullptr, nullptr, HH_CLOSE_ALL, 0);
  }
  used = false;
}

}  // namespace qv
