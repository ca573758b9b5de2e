#include "core/mainwindow/PageFrame.h"

#include "core/WindowsGeneration.h"
#include "core/mainwindow/MainWindowRes.h"
#include "platform/Log.h"

namespace qv {
namespace {

// The order in which applying copies the pages back.
constexpr PageKind kApplyOrder[] = {PageKind::BootScreen, PageKind::Wallpaper, PageKind::IESkin,
                                    PageKind::ScreenSaver, PageKind::LogonScreen,
                                    PageKind::Preferences};

template <typename List>
bool TakeOver(List& live, List& working, ConfigPage& page) {
  working.CopyRunState(live);
  if (!page.Exchange(true)) return false;
  live.Assign(working);
  return true;
}

}  // namespace

std::vector<PageKind> PagesForGeneration(int generation) {
  std::vector<PageKind> pages;
  for (const PageEntry& entry : PageEntries()) {
    if (entry.kind == PageKind::BootScreen && generation == kWinNT4) continue;
    if (entry.kind == PageKind::LogonScreen && generation != kWinXP) continue;
    pages.push_back(entry.kind);
  }
  return pages;
}

PageFrame::PageFrame(const MainWindowServices& services, PageFactory factory)
    : services_(services), factory_(factory) {}

PageFrame::~PageFrame() = default;

void PageFrame::Create(HWND dialog, int generation, const PVoptionData* live) {
  dialog_ = dialog;
  live_ = live;
  tree_.Attach(GetDlgItem(dialog, IDC_PAGE_TREE));
  caption_.Attach(GetDlgItem(dialog, IDC_PAGE_CAPTION));
  area_.Attach(GetDlgItem(dialog, IDC_PAGE_AREA));
  slots_.clear();
  tree_.Clear();
  for (PageKind kind : PagesForGeneration(generation)) {
    Slot slot{kind, factory_ ? factory_(kind) : nullptr, nullptr};
    slots_.push_back(std::move(slot));
    tree_.Add(PageName(kind), static_cast<LPARAM>(kind));
  }
  Select(slots_.empty() ? PageKind::Wallpaper : slots_.front().kind);
}

std::string PageFrame::PageName(PageKind kind) const {
  std::string text = PageNameKey(kind);
  services_.lookup("Page Name", PageNameKey(kind), &text);
  return text;
}

void PageFrame::Localize() {
  for (const Slot& slot : slots_)
    if (HTREEITEM item = tree_.FindByValue(static_cast<LPARAM>(slot.kind)))
      tree_.SetItemText(item, PageName(slot.kind));
  caption_.SetText(PageName(selected_));
}

void PageFrame::LocalizePages() {
  for (Slot& slot : slots_)
    if (slot.page && slot.working) slot.page->Localize();
}

void PageFrame::Layout() {
  if (!dialog_) return;
  RECT client{};
  GetClientRect(dialog_, &client);
  RECT units{7, 7, 110, 14};  // margin, gap, tree width, caption height in dialog units
  MapDialogRect(dialog_, &units);
  const int margin = units.left, gap = units.top, treeWidth = units.right,
            captionHeight = units.bottom;
  const int bottom = client.bottom - margin;
  tree_.Move(margin, margin, treeWidth, bottom - margin);
  const int left = margin + treeWidth + gap;
  const int width = client.right - margin - left;
  caption_.Move(left, margin, width, captionHeight);
  RECT area{left, margin + captionHeight + gap, left + width, bottom};
  area_.Move(area);
  for (Slot& slot : slots_)
    if (slot.page && slot.working) widgets::Window(slot.page->Handle()).Move(area);
}

PageFrame::Slot* PageFrame::Find(PageKind kind) {
  for (Slot& slot : slots_)
    if (slot.kind == kind) return &slot;
  return nullptr;
}

const PageFrame::Slot* PageFrame::Find(PageKind kind) const {
  for (const Slot& slot : slots_)
    if (slot.kind == kind) return &slot;
  return nullptr;
}

bool PageFrame::Open(Slot& slot) {
  if (!slot.page) return false;
  if (slot.working) return true;
  if (!live_) return false;
  auto working = std::make_unique<PVoptionData>(*live_);
  if (!slot.page->Create(dialog_, *working)) {
    QV_LOG();
    return false;
  }
  slot.working = std::move(working);
  slot.page->Localize();
  slot.page->Exchange(false);
  return true;
}

bool PageFrame::Select(PageKind kind) {
  Slot* slot = Find(kind);
  if (!slot) return false;
  selected_ = kind;
  Open(*slot);
  for (Slot& other : slots_) {
    if (!other.page || !other.working) continue;
    widgets::Window window(other.page->Handle());
    window.Show(&other == slot ? SW_SHOW : SW_HIDE);
  }
  Layout();
  caption_.SetText(PageName(kind));
  if (HTREEITEM item = tree_.FindByValue(static_cast<LPARAM>(kind))) {
    if (tree_.Selection() != item) {
      selecting_ = true;
      tree_.Select(item);
      selecting_ = false;
    }
  }
  return true;
}

bool PageFrame::OnNotify(const NMHDR* header) {
  if (!header || header->hwndFrom != tree_.Handle()) return false;
  if (header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW) {
    const NMTREEVIEWA* change = reinterpret_cast<const NMTREEVIEWA*>(header);
    if (!selecting_ && change->itemNew.hItem)
      Select(static_cast<PageKind>(tree_.ItemValue(change->itemNew.hItem)));
  }
  return true;
}

bool PageFrame::HasWindow(PageKind kind) const {
  const Slot* slot = Find(kind);
  return slot && slot->page && slot->working;
}

bool PageFrame::ApplyOne(Slot& slot, PVoptionData& live) {
  PVoptionData& work = *slot.working;
  ConfigPage& page = *slot.page;
  switch (slot.kind) {
    case PageKind::BootScreen:
      if (!TakeOver(live.bootScreen, work.bootScreen, page)) return false;
      live.bootScreen.flatList.clear();
      return true;
    case PageKind::Wallpaper:
      if (!TakeOver(live.wallpaper, work.wallpaper, page)) return false;
      live.wallpaper.flatList.clear();
      return true;
    case PageKind::IESkin:
      if (!TakeOver(live.ieSkin, work.ieSkin, page)) return false;
      live.ieSkin.flatList.clear();
      return true;
    case PageKind::ScreenSaver:
      if (!TakeOver(live.screenSaver, work.screenSaver, page)) return false;
      // A waiting time of 0 or less becomes the default in the list as well as in the system.
      live.screenSaver.timeoutMinutes = live.screenSaver.EffectiveTimeoutMinutes();
      services_.setScreenSaverTimeout(live.screenSaver.timeoutMinutes);
      return true;
    case PageKind::LogonScreen:
      if (!TakeOver(live.logonScreen, work.logonScreen, page)) return false;
      live.logonScreen.lastApplyFailed = work.logonScreen.lastApplyFailed;
      live.logonScreen.backgroundColour = work.logonScreen.backgroundColour;
      return true;
    case PageKind::Preferences:
      if (!page.Exchange(true)) return false;
      live.agentEnabled = work.agentEnabled;
      live.checkNewVersion = work.checkNewVersion;
      live.languageFile = work.languageFile;
      for (int i = 0; i < kHotkeyCount; ++i) live.hotkeys[i] = work.hotkeys[i];
      return true;
    case PageKind::About:
      return true;
  }
  return true;
}

bool PageFrame::ApplyPages(PVoptionData& live) {
  for (PageKind kind : kApplyOrder) {
    Slot* slot = Find(kind);
    if (!slot || !slot->page || !slot->working) continue;
    if (!ApplyOne(*slot, live)) return false;
  }
  return true;
}

bool PageFrame::TakeOverList(PageKind kind, PVoptionData& live) {
  Slot* slot = Find(kind);
  if (!slot || !slot->page || !slot->working) return true;
  PVoptionData& work = *slot->working;
  switch (kind) {
    case PageKind::Wallpaper:
      return TakeOver(live.wallpaper, work.wallpaper, *slot->page);
    case PageKind::IESkin:
      return TakeOver(live.ieSkin, work.ieSkin, *slot->page);
    default:
      return true;
  }
}

std::vector<std::string> PageFrame::TreeTexts() const {
  std::vector<std::string> texts;
  for (HTREEITEM item = tree_.First(); item; item = tree_.Next(item))
    texts.push_back(tree_.ItemText(item));
  return texts;
}

std::string PageFrame::CaptionText() const { return caption_.Text(); }

}  // namespace qv
