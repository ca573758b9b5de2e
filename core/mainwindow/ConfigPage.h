// The one interface between the configuration window's frame and its pages. A page edits a
// working copy of the settings that the frame owns and hands in when the page's window is first
// created; the frame copies the working copy back into the live settings when it applies.
#pragma once

#include <windows.h>

#include <memory>

#include "core/mainwindow/PageKind.h"

namespace qv {

class PVoptionData;

class ConfigPage {
 public:
  virtual ~ConfigPage() = default;

  // Creates the page's window as a child of parent, over working (not owned; it outlives the
  // page). False when the window cannot be created.
  virtual bool Create(HWND parent, PVoptionData& working) = 0;
  virtual HWND Handle() const = 0;
  // Data exchange: save false fills the controls from the working copy; save true validates
  // the controls and stores them in the working copy, or refuses with false after showing the
  // page's own message (nothing then changes).
  virtual bool Exchange(bool save) = 0;
  // Sets every text of the page again from the language in use.
  virtual void Localize() = 0;
};

// Makes the page of a kind; nullptr while that page does not exist in the program yet, which
// leaves the page area empty.
using PageFactory = std::unique_ptr<ConfigPage> (*)(PageKind kind);

}  // namespace qv
