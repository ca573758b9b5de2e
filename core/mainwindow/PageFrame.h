// The frame of the configuration window: the tree of page names beside the page area, whose
// caption shows the selected page's name. It owns the pages, creates a page's window the first
// time it is selected, and applies the pages: all open pages validate before any commits.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "core/PVoptionData.h"
#include "core/mainwindow/ConfigPage.h"
#include "core/mainwindow/MainWindowKeys.h"
#include "core/mainwindow/MainWindowServices.h"
#include "widgets/TreeView.h"

namespace qv {

// The pages that a Windows generation offers, in tree order.
std::vector<PageKind> PagesForGeneration(int generation);

class PageFrame {
 public:
  PageFrame(const MainWindowServices& services, PageFactory factory);
  ~PageFrame();
  PageFrame(const PageFrame&) = delete;
  PageFrame& operator=(const PageFrame&) = delete;

  // Takes the frame controls of dialog (tree, caption, area), fills the tree with the pages of
  // the generation and selects the first. live seeds each page's working copy when its window is
  // created. Without openFirst the first page's window waits for the first Select: a window
  // that is never shown needs none.
  void Create(HWND dialog, int generation, const PVoptionData* live, bool openFirst = true);
  // The tree's and the caption's texts from section "Page Name".
  void Localize();
  // Tells every page whose window exists to translate its texts.
  void LocalizePages();
  // Lays the controls out over the dialog's client area.
  void Layout();
  // Selects the page of kind (when offered) and shows it; false when not offered.
  bool Select(PageKind kind);
  PageKind Selected() const { return selected_; }
  // A tree selection notice; true when it was the tree's.
  bool OnNotify(const NMHDR* header);

  // The page's window exists (it has been opened once).
  bool HasWindow(PageKind kind) const;
  // The apply of the configuration: every page whose window exists validates, in the apply
  // order; only when all agree does each commit into live. False (live unchanged) otherwise.
  bool ApplyPages(PVoptionData& live);
  // The take-over of one page's edits (next / previous): validate, then commit.
  bool TakeOverList(PageKind kind, PVoptionData& live);

  // Tests: the tree's item texts in order.
  std::vector<std::string> TreeTexts() const;
  std::string CaptionText() const;

 private:
  struct Slot {
    PageKind kind;
    std::unique_ptr<ConfigPage> page;
    bool open = false;  // the page's window exists
  };
  Slot* Find(PageKind kind);
  const Slot* Find(PageKind kind) const;
  bool Open(Slot& slot);
  // The selection in the tree and the caption, without any page window.
  void Choose(PageKind kind);
  std::string PageName(PageKind kind) const;
  // What the system takes over from a committed page (the screen saver's waiting time).
  void Committed(PageKind kind, PVoptionData& live);

  const MainWindowServices& services_;  // not owned
  PageFactory factory_;
  std::vector<Slot> slots_;
  const PVoptionData* live_ = nullptr;  // not owned
  HWND dialog_ = nullptr;               // not owned
  widgets::TreeView tree_;
  widgets::Window caption_;
  widgets::Window area_;
  PageKind selected_ = PageKind::Wallpaper;
  bool selecting_ = false;
};

}  // namespace qv
