#include "pages/IESkinPage.h"

#include "core/PVoptionData.h"
#include "i18n/MessageKeys.h"
#include "pages/PagesRes.h"

namespace qv {
namespace {

const char kSection[] = "IE Skin Page";

const ControlText kTexts[] = {
    {IDC_CHANGE_MODE_LABEL, kSection, "001"},
    {IDC_RESTORE, kSection, "002"},
    {IDC_GET_MORE, kSection, "003"},
    {IDC_SET_CURRENT, kSection, "006"},
    {IDC_ORDER_LABEL, "Common Dialogs", "Sequence"},
};

const ControlText kMenuTexts[] = {
    {ID_ADD_FILES, kSection, "004"},
    {ID_ADD_FOLDER, kSection, "005"},
    {ID_SET_CURRENT, kSection, "006"},
};

// This page's change modes keep the English texts of its dialog data in every language.
const char* const kChangeModes[] = {"disable",    "each startup", "each day",
                                    "each week",  "each month",   "use timer"};

const ImagePageSettings kSettings = {
    {IDD_IESKIN_PAGE, "ie_skin_changer.htm", IDR_IESKIN_CONTEXT, true},
    IDR_IESKIN_ADD,
    200,
    34,
    kMenuTexts,
    sizeof kMenuTexts / sizeof kMenuTexts[0],
    PreviewKind::kSkinStrip,
};

}  // namespace

IESkinPage::IESkinPage(const PageServices& services)
    : ImageSetupPage(services, kSettings), timer_(services) {}

void IESkinPage::TakeWorkingCopy(const PVoptionData& live) { working_.Assign(live.ieSkin); }

bool IESkinPage::OnInit() {
  ImageSetupPage::OnInit();
  timer_.Attach(Handle());
  return true;
}

void IESkinPage::Localize() {
  ImageSetupPage::Localize();
  SetTexts(kTexts, sizeof kTexts / sizeof kTexts[0]);
  timer_.Localize(working_);
}

void IESkinPage::FillChangeModeCombo() {
  FillChangeModeEntries(kChangeModes, sizeof kChangeModes / sizeof kChangeModes[0], false);
}

std::vector<int> IESkinPage::BottomControlIds() const {
  std::vector<int> ids = ImageSetupPage::BottomControlIds();
  TimerControls::AddBottomControlIds(&ids);
  return ids;
}

void IESkinPage::LoadControls() {
  ImageSetupPage::LoadControls();
  timer_.Load(working_, changeMode_.Selection());
}

bool IESkinPage::ValidateControls() {
  return timer_.Validate();
}

void IESkinPage::CommitTo(PVoptionData& live) {
  working_.CopyRunState(live.ieSkin);
  StoreListControls();
  timer_.Store(working_);
  live.ieSkin.Assign(working_);
  // Folder items may have changed: the live rotation lists its pictures again.
  live.ieSkin.flatList.clear();
}

void IESkinPage::SetAsCurrent() {
  if (!RequireSelection()) return;
  std::string path;
  if (!GetRowPath(list_.NextSelected(), &path)) return;
  HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  // The list's own apply: the changer reports its own failures.
  const bool done = working_.ApplyItem(path);
  ::SetCursor(previous);
  if (done) services_.showMessage(msg::kIESkinSet, MB_OK | MB_ICONINFORMATION);
}

void IESkinPage::RemoveSkin() {
  const bool removed = services_.removeIESkin();
  // No skin any more, so none may come back by the schedule either: whatever the result.
  changeMode_.Select(0);
  timer_.EnableFor(changeMode_.Selection());
  if (removed) services_.showMessage(msg::kIESkinRemoved, MB_OK | MB_ICONINFORMATION);
}

bool IESkinPage::OnCommand(int code, int id, HWND control) {
  if (id == IDC_CHANGE_MODE && code == CBN_SELCHANGE) {
    if (!Loading()) timer_.EnableFor(changeMode_.Selection());
    return true;
  }
  if (id == ID_SET_CURRENT) {
    SetAsCurrent();
    return true;
  }
  if (id == IDC_RESTORE && code == BN_CLICKED) {
    RemoveSkin();
    return true;
  }
  return ImageSetupPage::OnCommand(code, id, control);
}

}  // namespace qv
