#include "pages/AboutPage.h"

#include <vector>

#include "platform/Log.h"
#include "core/ProgramVersion.h"
#include "i18n/LanguageFile.h"
#include "i18n/MessageKeys.h"
#include "net/WebLinks.h"
#include "pages/PagesRes.h"
#include "res/resource.h"

namespace qv {
namespace {

const char kSection[] = "About Page";

const ControlText kTexts[] = {
    {IDC_ABOUT_COPYRIGHT, kSection, "002"},
    {IDC_ABOUT_THANKS_LABEL, kSection, "003"},
    {IDC_ABOUT_HOMEPAGE, msg::kSection, msg::kHomePage},
    {IDC_ABOUT_FEEDBACK, msg::kSection, msg::kFeedback},
};

constexpr int kIconButtonSide = 40;  // pixels: the 32-pixel icon with a margin

}  // namespace

bool ProgramFileVersion(uint32_t* version) {
  char path[MAX_PATH] = "";
  if (!::GetModuleFileNameA(nullptr, path, MAX_PATH)) return false;
  DWORD ignored = 0;
  DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return false;
  std::vector<char> block(size);
  if (!::GetFileVersionInfoA(path, 0, size, block.data())) return false;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof *info)
    return false;
  // FILEVERSION major, minor, revision, build: the build number has no place in the program's.
  *version = (HIWORD(info->dwFileVersionMS) << 16) | ((LOWORD(info->dwFileVersionMS) & 0xFF) << 8) |
             (HIWORD(info->dwFileVersionLS) & 0xFF);
  return true;
}

std::string LibraryNotices() {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(IDR_ABOUT_NOTICES), MAKEINTRESOURCEA(10));
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
  const char* bytes = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
  if (!bytes) {
    QV_LOG();
    return std::string();
  }
  const DWORD size = ::SizeofResource(module, found);
  std::string text;
  text.reserve(size + size / 32);
  for (DWORD i = 0; i < size; ++i) {
    // The edit control breaks lines only at CR LF.
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) text += '\r';
    text += bytes[i];
  }
  return text;
}

AboutPage::AboutPage(const PageServices& services) : SetupPage(services, IDD_ABOUT_PAGE, nullptr) {}

bool AboutPage::OnInit() {
  HICON icon = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr),
                                               MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 32, 32,
                                               LR_DEFAULTCOLOR | LR_SHARED));
  icon_.Attach(Item(IDC_ABOUT_ICON), widgets::BitmapsOfIcon(icon, kIconButtonSide));
  homePage_.Attach(Item(IDC_ABOUT_HOMEPAGE));
  feedback_.Attach(Item(IDC_ABOUT_FEEDBACK));
  MakeNameFont();
  widgets::Window(Item(IDC_ABOUT_THANKS)).SetText(LibraryNotices());
  return true;
}

void AboutPage::MakeNameFont() {
  widgets::Window name(Item(IDC_ABOUT_NAME));
  LOGFONTA font{};
  if (!::GetObjectA(name.Font(), sizeof font, &font)) return;
  font.lfWeight = FW_BOLD;
  font.lfHeight = font.lfHeight * 3 / 2;
  nameFont_.Reset(::CreateFontIndirectA(&font));
  if (nameFont_) name.SetFont(nameFont_.Get());
}

void AboutPage::Localize() {
  SetTexts(kTexts, sizeof kTexts / sizeof kTexts[0]);
  uint32_t version = kProgramVersion;
  if (!ProgramFileVersion(&version)) QV_LOG_MSG("no version resource");
  std::string format = Text(kSection, "001");
  widgets::Window(Item(IDC_ABOUT_VERSION))
      .SetText(format.empty() ? VersionText(version) : FormatWithPath(format, VersionText(version)));
  std::string name = "Quorvex";
  char resource[64];
  if (::LoadStringA(::GetModuleHandleA(nullptr), IDS_INSTANCE_NAME, resource, sizeof resource) > 0)
    name = resource;
  widgets::Window(Item(IDC_ABOUT_NAME)).SetText(name);
}

bool AboutPage::OnCommand(int code, int id, HWND control) {
  if (code != BN_CLICKED) return SetupPage::OnCommand(code, id, control);
  switch (id) {
    case IDC_ABOUT_ICON:
    case IDC_ABOUT_HOMEPAGE:
      OpenHomePage(Handle());
      return true;
    case IDC_ABOUT_FEEDBACK:
      OpenFeedbackPage(Handle());
      return true;
  }
  return SetupPage::OnCommand(code, id, control);
}

INT_PTR AboutPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (icon_.Draw(item)) return TRUE;
  }
  return SetupPage::OnMessage(message, wParam, lParam);
}

}  // namespace qv
