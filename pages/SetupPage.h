// The one base of every page of the configuration window: a child dialog made from its template,
// the load / validate / commit cycle with a guard that silences change notices while the
// controls are filled, texts from (control, section, key) tables, and the page's help topic.
#pragma once

#include <windows.h>

#include <string>

#include "core/mainwindow/ConfigPage.h"
#include "pages/PageServices.h"
#include "widgets/ControlTexts.h"
#include "widgets/Controls.h"
#include "widgets/Dialog.h"

namespace qv {

// One control text: the control (or menu command) and its language section and key.
using widgets::ControlText;

// The language text through services, "" when missing (a missing key shows as an empty text).
std::string PageText(const PageServices& services, const char* section, const char* key);
// Reads a number from edit; outside its range: the range message, focus to the edit, false.
bool CheckNumber(const PageServices& services, const widgets::NumberEdit& edit, int* value);

class SetupPage : public widgets::Page, public ConfigPage {
 public:
  SetupPage(const PageServices& services, int templateId, const char* helpTopic);
  ~SetupPage() override;

  bool Create(HWND parent, const PVoptionData& live) final;
  HWND Handle() const override { return widgets::Page::Handle(); }
  void Load() final;
  bool Validate() override { return ValidateControls(); }
  void Commit(PVoptionData& live) final { CommitTo(live); }

  const char* HelpTopic() const { return helpTopic_; }

 protected:
  // Takes the working copy from the live settings (before the window exists).
  virtual void TakeWorkingCopy(const PVoptionData& live) = 0;
  // Fills the controls from the working copy (inside the load guard).
  virtual void LoadControls() = 0;
  // Checks the controls; false after a message. Nothing is stored.
  virtual bool ValidateControls() { return true; }
  // Stores the controls into the working copy and hands it to live.
  virtual void CommitTo(PVoptionData& live) = 0;

  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // True while LoadControls runs: change notices then do nothing.
  bool Loading() const { return loading_ > 0; }
  // PageText and CheckNumber through this page's services.
  std::string Text(const char* section, const char* key) const {
    return PageText(services_, section, key);
  }
  // Sets the texts of controls (or, with menu, of menu commands) from a table.
  void SetTexts(const ControlText* texts, size_t count) const;
  void SetMenuTexts(HMENU menu, const ControlText* texts, size_t count) const;
  bool CheckNumber(const widgets::NumberEdit& edit, int* value) const {
    return qv::CheckNumber(services_, edit, value);
  }

  const PageServices& services_;  // not owned; outlives the page

 private:
  int templateId_;
  const char* helpTopic_;
  int loading_ = 0;
};

}  // namespace qv
