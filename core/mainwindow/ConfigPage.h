// The one interface between the configuration window's frame and its pages. A page keeps its own
// working copy of what it edits, taken from the live settings when its window is first created.
// Applying the configuration first asks every open page to validate, and only when all agree
// does each page commit its working copy into the live settings, so that one page's refusal
// leaves every live list as it was.
#pragma once

#include <windows.h>

#include <memory>

#include "core/mainwindow/PageKind.h"

namespace qv {

class PVoptionData;

class ConfigPage {
 public:
  virtual ~ConfigPage() = default;

  // Creates the page's window as a child of parent and takes the working copy of what the page
  // edits from live. False when the window cannot be created.
  virtual bool Create(HWND parent, const PVoptionData& live) = 0;
  virtual HWND Handle() const = 0;
  // Fills the controls from the working copy; change notices during the fill do nothing.
  virtual void Load() = 0;
  // Checks the controls without storing anything; false after showing the page's own message.
  virtual bool Validate() = 0;
  // After Validate agreed: stores the controls into the working copy, which takes over the live
  // run state (current index, last change time, site links) and then replaces the live values.
  virtual void Commit(PVoptionData& live) = 0;
  // Sets every text of the page again from the language in use.
  virtual void Localize() = 0;
};

// Makes the page of a kind; nullptr while that page does not exist in the program yet, which
// leaves the page area empty.
using PageFactory = std::unique_ptr<ConfigPage> (*)(PageKind kind);

}  // namespace qv
