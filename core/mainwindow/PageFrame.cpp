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

void PageFrame::Create(HWND dialog, int generation, const PVoptionData* live, bool openFirst) {
  dialog_ = dialog;
  live_ = live;
  tree_.Attach(GetDlgItem(dialog, IDC_PAGE_TREE));
  caption_.Attach(GetDlgItem(dialog, IDC_PAGE_CAPTION));
  area_.Attach(GetDlgItem(dialog, IDC_PAGE_AREA));
  slots_.clear();
  tree_.Clear();
  for (PageKind kind : PagesForGeneration(generation)) {
    Slot slot{kind, factory_ ? factory_(kind) : nullptr, false};
    slots_.push_back(std::move(slot));
    tree_.Add(PageName(kind), static_cast<LPARAM>(kind));
  }
  const PageKind first = slots_.empty() ? PageKind::Wallpaper : slots_.front().kind;
  // The tree gets its selection either way: a tree without one selects its first item when it
  // gets the focus, and that notice would make the page's window.
  if (openFirst) Select(first); else Choose(first);
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
    if (slot.page && slot.open) slot.page->Localize();
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
    if (slot.page && slot.open) widgets::Window(slot.page->Handle()).Move(area);
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
  if (slot.open) return true;
  if (!live_) return false;
  if (!slot.page->Create(dialog_, *live_)) {
    QV_LOG();
    return false;
  }
  slot.open = true;
  slot.page->Localize();
  slot.page->Load();
  return true;
}

bool PageFrame::Select(PageKind kind) {
  Slot* slot = Find(kind);
  if (!slot) return false;
  selected_ = kind;
  Open(*slot);
  for (Slot& other : slots_) {
    if (!other.page || !other.open) continue;
    widgets::Window window(other.page->Handle());
    window.Show(&other == slot ? SW_SHOW : SW_HIDE);
  }
  Layout();
  Choose(kind);
  return true;
}

void PageFrame::Choose(PageKind kind) {
  if (!Find(kind)) return;
  selected_ = kind;
  caption_.SetText(PageName(kind));
  if (HTREEITEM item = tree_.FindByValue(static_cast<LPARAM>(kind))) {
    if (tree_.Selection() != item) {
      selecting_ = true;
      tree_.Select(item);
      selecting_ = false;
    }
  }
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
  return slot && slot->page && slot->open;
}

void PageFrame::Committed(PageKind kind, PVoptionData& live) {
  if (kind != PageKind::ScreenSaver) return;
  // A waiting time of 0 or less becomes the default in the list as well as in the system.
  live.screenSaver.timeoutMinutes = live.screenSaver.EffectiveTimeoutMinutes();
  services_.setScreenSaverTimeout(live.screenSaver.timeoutMinutes);
}

bool PageFrame::ApplyPages(PVoptionData& live) {
  std::vector<Slot*> open;
  for (PageKind kind : kApplyOrder) {
    Slot* slot = Find(kind);
    if (slot && slot->page && slot->open) open.push_back(slot);
  }
  // Every page agrees first, so that a refusal leaves every live list as it was.
  for (Slot* slot : open)
    if (!slot->page->Validate()) return false;
  for (Slot* slot : open) {
    slot->page->Commit(live);
    Committed(slot->kind, live);
  }
  return true;
}

bool PageFrame::TakeOverList(PageKind kind, PVoptionData& live) {
  Slot* slot = Find(kind);
  if (!slot || !slot->page || !slot->open) return true;
  if (!slot->page->Validate()) return false;
  slot->page->Commit(live);
  Committed(kind, live);
  return true;
}

std::vector<std::string> PageFrame::TreeTexts() const {
  std::vector<std::string> texts;
  for (HTREEITEM item = tree_.First(); item; item = tree_.Next(item))
    texts.push_back(tree_.ItemText(item));
  return texts;
}

std::string PageFrame::CaptionText() const { return caption_.Text(); }

}  // namespace qv
