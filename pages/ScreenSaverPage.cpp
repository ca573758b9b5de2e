#include "pages/ScreenSaverPage.h"

#include <shellapi.h>

#include "changers/ScreenSaverChanger.h"
#include "core/PVoptionData.h"
#include "i18n/MessageKeys.h"
#include "pages/ImageRows.h"
#include "pages/ImageSetupPage.h"
#include "pages/PagesRes.h"
#include "platform/Log.h"

namespace qv {
namespace {

const char kSection[] = "Screen Saver Page";

const ControlText kTexts[] = {
    {IDC_CHANGE_MODE_LABEL, kSection, "001"},
    {IDC_SAVER_WAIT_LABEL, kSection, "002"},
    {IDC_GET_MORE, kSection, "003"},
    {IDC_SET_CURRENT, kSection, "004"},
    {IDC_SETTINGS, kSection, "006"},
    {IDC_PREVIEW, kSection, "007"},
    {IDC_MINUTES_LABEL, "Timer Unit Combobox", "minutes"},
    {IDC_ORDER_LABEL, "Common Dialogs", "Sequence"},
};

const ControlText kMenuTexts[] = {
    {ID_SET_CURRENT, kSection, "004"},
    {IDC_ADD, kSection, "005"},
    {ID_SETTINGS, kSection, "006"},
    {ID_PREVIEW, kSection, "007"},
};

const ControlText kViewTexts[] = {
    {ID_VIEW_DETAILS, "List Mode Button", "Details"},
    {ID_VIEW_THUMBNAILS, "List Mode Button", "Large Icons"},
};

const char* const kChangeModeKeys[] = {"001", "002", "003", "004", "005", "006"};
constexpr int kEachRunIndex = 5;
constexpr int kColumnWidth = 100;
const char kSaverFilter[] = "Screen Saver(*.scr)|*.scr|";

const ListPageSettings kSettings = {IDD_SCREENSAVER_PAGE, "screen_saver_changer.htm",
                                    IDR_SCREENSAVER_CONTEXT, false};

int ShellIcon(const std::string& path) {
  SHFILEINFOA info{};
  ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  return info.iIcon;
}

}  // namespace

ScreenSaverPage::ScreenSaverPage(const PageServices& services) : BaseSetupDlg(services, kSettings) {}

ScreenSaverPage::~ScreenSaverPage() {
  // While this class's handlers still exist: they free the row items.
  if (IsWindow()) Destroy();
}

void ScreenSaverPage::TakeWorkingCopy(const PVoptionData& live) {
  working_.Assign(live.screenSaver);
  // The waiting time shown is the one the system uses now.
  working_.timeoutMinutes = SystemScreenSaverMinutes();
}

bool ScreenSaverPage::OnInit() {
  BaseSetupDlg::OnInit();
  wait_.Attach(Item(IDC_SAVER_WAIT), Item(IDC_SAVER_WAIT_SPIN));
  wait_.SetRange(kWaitLow, kWaitHigh);
  viewMenu_.Reset(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_SCREENSAVER_VIEW)));
  listMode_.SetMenu(viewMenu_.Get());
  return true;
}

void ScreenSaverPage::OnDestroy() {
  list_.DeleteAll();  // frees the items while this page is whole
  BaseSetupDlg::OnDestroy();
}

void ScreenSaverPage::Localize() {
  BaseSetupDlg::Localize();
  SetTexts(kTexts, sizeof kTexts / sizeof kTexts[0]);
  listMode_.SetText(Text("List Mode Button", IconView() ? "Large Icons" : "Details"));
  if (list_.Handle()) {
    list_.SetColumnTitle(0, Text("Item List Column", "Name"));
    list_.SetColumnTitle(1, Text("Item List Column", "Location"));
  }
}

void ScreenSaverPage::FillChangeModeCombo() {
  FillChangeModeEntries(kChangeModeKeys, sizeof kChangeModeKeys / sizeof kChangeModeKeys[0], true);
}

int ScreenSaverPage::IndexFromChangeMode(int mode) const {
  return mode >= kModeUseTimer ? kEachRunIndex : mode;
}

int ScreenSaverPage::ChangeModeFromIndex(int index) const {
  return index == kEachRunIndex ? kModeEachRun : index;
}

void ScreenSaverPage::LocalizeListModeMenu(HMENU menu) {
  SetMenuTexts(menu, kViewTexts, sizeof kViewTexts / sizeof kViewTexts[0]);
}

void ScreenSaverPage::LocalizeContextMenu(HMENU menu) {
  BaseSetupDlg::LocalizeContextMenu(menu);
  SetMenuTexts(menu, kMenuTexts, sizeof kMenuTexts / sizeof kMenuTexts[0]);
}

void ScreenSaverPage::MoveButtonColumn(int dx) {
  BaseSetupDlg::MoveButtonColumn(dx);
  MoveControlX(IDC_LIST_MODE, dx);
}

std::vector<int> ScreenSaverPage::BottomControlIds() const {
  std::vector<int> ids = BaseSetupDlg::BottomControlIds();
  ids.insert(ids.end(), {IDC_SAVER_WAIT, IDC_SAVER_WAIT_SPIN, IDC_SAVER_WAIT_LABEL, IDC_MINUTES_LABEL, IDC_PREVIEW, IDC_SETTINGS});
  return ids;
}

void ScreenSaverPage::SetupList() {
  list_.SetImageList(SystemImageList(false), LVSIL_SMALL);
  list_.SetImageList(SystemImageList(true), LVSIL_NORMAL);
  ::DragAcceptFiles(Handle(), TRUE);
  list_.InsertColumn(0, Text("Item List Column", "Name"), kColumnWidth);
  list_.InsertColumn(1, Text("Item List Column", "Location"), kColumnWidth);
  const int mode = working_.viewMode;
  working_.viewMode = -1;  // so that the switch always takes place
  if (mode == 1) ShowIcons(); else ShowDetails();
  list_.AddStyle(LVS_AUTOARRANGE);
  list_.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_INFOTIP);
}

void ScreenSaverPage::LoadControls() {
  BaseSetupDlg::LoadControls();
  wait_.SetValue(working_.timeoutMinutes);
}

bool ScreenSaverPage::ValidateControls() {
  int minutes = 0;
  return CheckNumber(wait_, &minutes);
}

void ScreenSaverPage::CommitTo(PVoptionData& live) {
  working_.CopyRunState(live.screenSaver);
  StoreListControls();
  int minutes = working_.timeoutMinutes;
  if (wait_.Value(&minutes)) working_.timeoutMinutes = minutes;
  live.screenSaver.Assign(working_);
}

ScreenSaverItemData* ScreenSaverPage::RecordAt(int row) const {
  if (row < 0 || row >= list_.Count()) return nullptr;
  return reinterpret_cast<ScreenSaverItemData*>(list_.Data(row));
}

const ScreenSaverItemData* ScreenSaverPage::RowItem(int row) const { return RecordAt(row); }

void ScreenSaverPage::AddItem(const ScreenSaverItemData& item) {
  auto* record = new ScreenSaverItemData(item);
  const int row = list_.InsertRow(list_.Count(), record->name, ShellIcon(record->path),
                                  reinterpret_cast<LPARAM>(record));
  if (row < 0) {
    QV_LOG();
    delete record;
    return;
  }
  RefreshRow(row);
}

void ScreenSaverPage::RefreshRow(int row) {
  const ScreenSaverItemData* item = RecordAt(row);
  if (!item) {
    QV_LOG();
    return;
  }
  std::string name, location;
  SplitFilePath(item->path, &name, &location);
  list_.SetText(row, 0, item->name);
  list_.SetText(row, 1, location);
}

void ScreenSaverPage::RowDeleted(LPARAM data) { delete reinterpret_cast<ScreenSaverItemData*>(data); }

void ScreenSaverPage::LoadPage() {
  list_.DeleteAll();
  for (const ScreenSaverItemData& item : working_.items) AddItem(item);
  SetColumnWidths();
}

void ScreenSaverPage::SavePage() {
  std::vector<ScreenSaverItemData> items;
  for (int row = 0; row < list_.Count(); ++row) {
    const ScreenSaverItemData* item = RecordAt(row);
    if (item) items.push_back(*item); else QV_LOG();
  }
  working_.items = items;
}

void ScreenSaverPage::AddPath(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  if (LowerExtension(path) != "scr") return;
  AddItem(ScreenSaverItemData::FromPath(path));
  SetColumnWidths();
}

void ScreenSaverPage::AddFiles() {
  std::vector<std::string> paths;
  if (!services_.pickFiles(Handle(), kSaverFilter, &paths)) return;
  HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  for (const std::string& path : paths) AddItem(ScreenSaverItemData::FromPath(path));
  ::SetCursor(previous);
  SetColumnWidths();
}

void ScreenSaverPage::ShowIcons() {
  if (working_.viewMode == 1) return;
  working_.viewMode = 1;
  listMode_.SetText(Text("List Mode Button", "Large Icons"));
  list_.SetView(LVS_ICON);
  list_.Repaint();
}

void ScreenSaverPage::ShowDetails() {
  if (working_.viewMode == 0) return;
  working_.viewMode = 0;
  listMode_.SetText(Text("List Mode Button", "Details"));
  list_.SetView(LVS_REPORT);
  SetColumnWidths();
  list_.Repaint();
}

void ScreenSaverPage::SetColumnWidths() {
  if (IconView()) return;
  const bool rows = list_.Count() > 0;
  list_.SetColumnWidth(0, rows ? LVSCW_AUTOSIZE : kColumnWidth);
  list_.SetColumnWidth(1, rows ? LVSCW_AUTOSIZE : kColumnWidth);
}

bool ScreenSaverPage::SelectedPath(std::string* path) const {
  if (!RequireSelection()) return false;
  const ScreenSaverItemData* item = RecordAt(list_.NextSelected());
  if (!item) {
    QV_LOG();
    return false;
  }
  *path = item->path;
  return true;
}

void ScreenSaverPage::SetAsCurrent() {
  std::string path;
  if (!SelectedPath(&path)) return;
  // The waiting time as it stands on the page, refused like the page's own check.
  int minutes = 0;
  if (!CheckNumber(wait_, &minutes)) return;
  working_.timeoutMinutes = minutes;
  working_.ApplyItem(path);
  services_.showMessage(msg::kScreenSaverSet, MB_OK | MB_ICONINFORMATION);
}

bool ScreenSaverPage::OnCommand(int code, int id, HWND control) {
  if (Loading() && code != 0) return true;
  std::string path;
  switch (id) {
    case IDC_ADD: AddFiles(); return true;
    case IDC_LIST_MODE:
      if (listMode_.ClickOnArrow()) {
        LocalizeListModeMenu(listMode_.DropDown());
        listMode_.ShowMenu(Handle());
      } else if (IconView()) {
        ShowDetails();
      } else {
        ShowIcons();
      }
      return true;
    case ID_VIEW_DETAILS: ShowDetails(); return true;
    case ID_VIEW_THUMBNAILS: ShowIcons(); return true;
    case ID_SET_CURRENT: SetAsCurrent(); return true;
    case ID_PREVIEW:
      if (SelectedPath(&path)) services_.previewScreenSaver(path);
      return true;
    case ID_SETTINGS:
      if (SelectedPath(&path)) services_.configureScreenSaver(path);
      return true;
  }
  return BaseSetupDlg::OnCommand(code, id, control);
}

}  // namespace qv
