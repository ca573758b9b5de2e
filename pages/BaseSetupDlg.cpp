#include "pages/BaseSetupDlg.h"

#include "i18n/MessageKeys.h"
#include "pages/PagesRes.h"
#include "platform/Log.h"
#include "widgets/Menu.h"

namespace qv {
namespace {

const ControlText kButtonTexts[] = {
    {IDC_ADD, "Command Button", "Add"},       {IDC_REMOVE, "Command Button", "Remove"},
    {IDC_CLEAR, "Command Button", "Clear"},   {IDC_TOP, "Command Button", "Top"},
    {IDC_UP, "Command Button", "Up"},         {IDC_DOWN, "Command Button", "Down"},
    {IDC_BOTTOM, "Command Button", "Bottom"},
};

const ControlText kContextTexts[] = {
    {ID_REMOVE, "Menu", "Remove"},
    {ID_CLEAR, "Menu", "Clear"},
    {ID_SELECT_ALL, "Menu", "Select All"},
    {ID_INVERT_SELECTION, "Menu", "Invert Selection"},
};

const ControlText kListModeTexts[] = {
    {ID_VIEW_DETAILS, "List Mode Button", "Details"},
    {ID_VIEW_THUMBNAILS, "List Mode Button", "Thumbnail"},
};

}  // namespace

BaseSetupDlg::BaseSetupDlg(const PageServices& services, const ListPageSettings& settings)
    : SetupPage(services, settings.templateId, settings.helpTopic), settings_(settings) {}

BaseSetupDlg::~BaseSetupDlg() = default;

bool BaseSetupDlg::OnInit() {
  listMode_.Attach(Item(IDC_LIST_MODE));
  changeMode_.Attach(Item(IDC_CHANGE_MODE));
  order_.Attach(Item(IDC_ORDER));
  getMore_.Attach(Item(IDC_GET_MORE));
  if (settings_.hasRestoreButton) restore_.Attach(Item(IDC_RESTORE));
  RememberLayout();
  return true;
}

void BaseSetupDlg::LoadControls() {
  if (!listBound_) {
    list_.Attach(Item(IDC_LIST));
    listBound_ = true;
    SetupList();
  }
  LoadPage();
  changeMode_.Select(IndexFromChangeMode(GetChangeList().changeMode));
  order_.Select(GetChangeList().order);
}

void BaseSetupDlg::StoreListControls() {
  SavePage();
  BaseSetupData& changeList = GetChangeList();
  if (changeMode_.Selection() >= 0) changeList.changeMode = ChangeModeFromIndex(changeMode_.Selection());
  if (order_.Selection() >= 0) changeList.order = order_.Selection();
}

void BaseSetupDlg::Localize() {
  SetTexts(kButtonTexts, sizeof kButtonTexts / sizeof kButtonTexts[0]);
  FillOrderCombo();
  FillChangeModeCombo();
}

void BaseSetupDlg::FillChangeModeEntries(const char* const* entries, size_t count, bool fromLanguage) {
  const int selected = changeMode_.Count() > 0 ? changeMode_.Selection()
                                               : IndexFromChangeMode(GetChangeList().changeMode);
  changeMode_.Clear();
  for (size_t i = 0; i < count; ++i)
    changeMode_.Add(fromLanguage ? Text("Change Mode Combobox", entries[i]) : std::string(entries[i]));
  changeMode_.Select(selected);
}

void BaseSetupDlg::FillOrderCombo() {
  const int selected = order_.Count() > 0 ? order_.Selection() : GetChangeList().order;
  order_.Clear();
  order_.Add(Text("Sequence Combobox", "Normalize"));
  order_.Add(Text("Sequence Combobox", "Randomize"));
  order_.Select(selected);
}

void BaseSetupDlg::LocalizeListModeMenu(HMENU menu) {
  SetMenuTexts(menu, kListModeTexts, sizeof kListModeTexts / sizeof kListModeTexts[0]);
}

void BaseSetupDlg::LocalizeContextMenu(HMENU menu) {
  SetMenuTexts(menu, kContextTexts, sizeof kContextTexts / sizeof kContextTexts[0]);
}

INT_PTR BaseSetupDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) != list_.Handle()) return FALSE;
      ShowContextMenu();
      return TRUE;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return TRUE;
    case WM_DRAWITEM: {
      const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item && item->hwndItem == listMode_.Handle()) {
        listMode_.Draw(*item);
        return TRUE;
      }
      break;
    }
  }
  return SetupPage::OnMessage(message, wParam, lParam);
}

bool BaseSetupDlg::OnCommand(int code, int id, HWND control) {
  if (Loading() && code != 0) return true;
  if (id >= ID_SITE_FIRST && id <= ID_SITE_LAST) {
    OpenSite(id - ID_SITE_FIRST);
    return true;
  }
  switch (id) {
    case IDC_GET_MORE: ShowSitesMenu(); return true;
    case IDC_TOP: MoveRows(&MoveRowsTop, true, false); return true;
    case IDC_UP: MoveRows(&MoveRowsUp, false, false); return true;
    case IDC_DOWN: MoveRows(&MoveRowsDown, false, false); return true;
    case IDC_BOTTOM: MoveRows(&MoveRowsBottom, false, true); return true;
    case ID_REMOVE: Remove(); return true;
    case ID_CLEAR: Clear(); return true;
    case ID_SELECT_ALL: SelectAll(); return true;
    case ID_INVERT_SELECTION: InvertSelection(); return true;
    // The button and the menu item of the same name run the one handler of the derived page.
    case IDC_SET_CURRENT: Post(WM_COMMAND, MAKEWPARAM(ID_SET_CURRENT, 0), 0); return true;
  }
  return false;
}

bool BaseSetupDlg::OnNotify(int id, NMHDR* header, LRESULT* result) {
  if (header->hwndFrom != list_.Handle()) return false;
  switch (header->code) {
    case LVN_KEYDOWN:
      return OnKeyDown(*reinterpret_cast<NMLVKEYDOWN*>(header));
    case LVN_DELETEITEM:
      RowDeleted(reinterpret_cast<NMLISTVIEW*>(header)->lParam);
      return true;
    case LVN_DELETEALLITEMS:
      *result = FALSE;  // one LVN_DELETEITEM per row, so that every record is freed
      return true;
  }
  return false;
}

bool BaseSetupDlg::OnKeyDown(const NMLVKEYDOWN& key) {
  const bool control = ::GetKeyState(VK_CONTROL) < 0;
  const bool shift = ::GetKeyState(VK_SHIFT) < 0;
  if (key.wVKey == VK_DELETE) {
    Remove();
  } else if (key.wVKey == 'A' && control) {
    SelectAll();
  } else if (key.wVKey == 'A' && shift) {
    if (list_.SelectedCount() > 0)
      for (int row = 0; row < list_.Count(); ++row) list_.Select(row, false);
  } else if (key.wVKey == 'Q' && control) {
    InvertSelection();
  } else {
    return false;
  }
  return true;
}

bool BaseSetupDlg::OnSize(UINT type, int width, int height) {
  Relayout(width, height);
  return false;
}

}  // namespace qv
