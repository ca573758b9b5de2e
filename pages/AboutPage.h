// The about page: the program's icon as a picture button that opens the home page, the
// program's name and its version from the version resource, the notices of the libraries it is
// built with (as their licences ask, in their own words), and the links "Home Page" and
// "Feedback", which open in the web browser through the shell, maximised.
#pragma once

#include <cstdint>
#include <string>

#include "pages/SetupPage.h"
#include "platform/Handles.h"
#include "widgets/HyperlinkLabel.h"
#include "widgets/PictureButton.h"

namespace qv {

// The version of the running program's version resource in the program's encoding (major,
// minor, revision); false when the program has none.
bool ProgramFileVersion(uint32_t* version);

// The libraries' notices of the program's resources, with CR LF line ends ("" when missing).
std::string LibraryNotices();

class AboutPage : public SetupPage {
 public:
  explicit AboutPage(const PageServices& services);

  void Localize() override;
  const widgets::PictureButton& IconButton() const { return icon_; }
  const widgets::HyperlinkLabel& HomePageLink() const { return homePage_; }
  const widgets::HyperlinkLabel& FeedbackLink() const { return feedback_; }

 protected:
  void TakeWorkingCopy(const PVoptionData&) override {}
  void LoadControls() override {}
  void CommitTo(PVoptionData&) override {}

  bool OnInit() override;
  bool OnCommand(int code, int id, HWND control) override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void MakeNameFont();

  widgets::PictureButton icon_;
  widgets::HyperlinkLabel homePage_;
  widgets::HyperlinkLabel feedback_;
  qv::ScopedGdiObj<HFONT> nameFont_;
};

}  // namespace qv
