#include "boot/ui/BootIniView.h"

#include <commctrl.h>

#include "boot/ui/BootIniRes.h"
#include "i18n/LanguageManager.h"
#include "i18n/MessageKeys.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/SafeFile.h"
#include "widgets/ControlTexts.h"
#include "widgets/ListView.h"

namespace qv {
namespace {

constexpr int kColumnWidth = 200;

const widgets::ControlText kSetupLabels[] = {
    {IDC_BOOTINI_PROMPT, "Boot.INI Setup Dialog", "002"},
};
const widgets::ControlText kNewLabels[] = {
    {IDC_NEWBOOTINI_NOTFOUND, "New Boot.INI Dialog", "002"},
    {IDC_NEWBOOTINI_PROMPT, "New Boot.INI Dialog", "003"},
};
const widgets::ControlText kDialogButtons[] = {
    {IDOK, "Boot.INI Setup Dialog", "003"},
    {IDCANCEL, "Common Dialogs", "Cancel"},
};

std::string Text(const char* section, const char* key) {
  std::string text;
  BootDialogText(section, key, &text);
  return text;
}

}  // namespace

bool BootDialogText(const std::string& section, const std::string& key, std::string* out) {
  return Languages().Lookup(section, key, out);
}

bool ReadBootIniIfPresent(BootINI& model, const std::string& path) {
  unsigned attributes = 0;
  model.Clear();
  if (!platform::GetFileAttributeBits(path, &attributes)) return true;
  return model.Read(path);
}

void FillBootEntryList(HWND control, const BootINI& model, int generation) {
  widgets::ListView list(control);
  list.DeleteAll();
  if (list.ColumnWidth(0) == 0) {
    list.InsertColumn(0, Text("OS List", "OS Name"), kColumnWidth);
    list.InsertColumn(1, Text("OS List", "Full Line"), kColumnWidth);
  }
  list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
  BootEntryChoice choice = OfferedBootEntries(model, generation);
  for (const BootEntryRow& row : choice.rows) {
    int index = list.InsertRow(list.Count(), row.name, -1, static_cast<LPARAM>(row.pairIndex));
    list.SetText(index, 1, row.fullLine);
  }
  if (choice.preselected >= 0) {
    list.Select(choice.preselected, true);
    list.Focus(choice.preselected);
  }
  if (list.Count() > 0) {
    list.SetColumnWidth(0, LVSCW_AUTOSIZE);
    list.SetColumnWidth(1, LVSCW_AUTOSIZE);
  }
}

void LocalizeBootEntryList(HWND control) {
  widgets::ListView list(control);
  list.SetColumnTitle(0, Text("OS List", "OS Name"));
  list.SetColumnTitle(1, Text("OS List", "Full Line"));
}

BootSaveStep SaveBootEntryChoice(HWND control, BootINI& model, const std::string& path,
                                 BootMessage message) {
  widgets::ListView list(control);
  int row = list.NextSelected();
  long pairIndex = row < 0 ? -1 : static_cast<long>(list.Data(row));
  switch (SaveBootEntry(model, pairIndex, path)) {
    case BootEntrySave::NoSelection:
      message(msg::kBootIniNoEntry, MB_OK | MB_ICONINFORMATION);
      ::SetFocus(control);
      return BootSaveStep::NoSelection;
    case BootEntrySave::InvalidIndex:
      return BootSaveStep::Invalid;
    case BootEntrySave::WriteFailed:
      message(msg::kBootIniWrite, MB_OK | MB_ICONINFORMATION);
      return BootSaveStep::Close;
    case BootEntrySave::Saved:
      break;
  }
  return BootSaveStep::Close;
}

NewBootIniTexts NewBootIniTextsForThisSystem(int generation) {
  char directory[MAX_PATH] = "";
  UINT n = ::GetWindowsDirectoryA(directory, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) {
    QV_LOG();
    return NewBootIniTexts{};
  }
  return MakeNewBootIniTexts(directory, generation);
}

NewBootIniWrite SaveNewBootIni(HWND edit, const NewBootIniTexts& texts, const std::string& path) {
  return WriteNewBootIni(path, widgets::Window(edit).Text(), texts.backupLine);
}

void LocalizeBootIniSetupLabels(HWND dialog) {
  widgets::SetControlTexts(dialog, kSetupLabels, &BootDialogText);
}

void LocalizeNewBootIniLabels(HWND dialog) {
  widgets::SetControlTexts(dialog, kNewLabels, &BootDialogText);
}

void LocalizeBootIniDialog(HWND dialog, const char* titleSection) {
  std::string title;
  if (BootDialogText(titleSection, "001", &title)) widgets::Window(dialog).SetText(title);
  widgets::SetControlTexts(dialog, kDialogButtons, &BootDialogText);
}

bool OpenBootIniHelpOn(UINT message, HWND dialog, HelpOpener help) {
  if (message != WM_HELP) return false;
  help(dialog, kBootIniHelpTopic);
  return true;
}

}  // namespace qv
