#include "pages/SetupPage.h"

#include "platform/Log.h"
#include "widgets/Menu.h"

namespace qv {

SetupPage::SetupPage(const PageServices& services, int templateId, const char* helpTopic)
    : services_(services), templateId_(templateId), helpTopic_(helpTopic) {}

SetupPage::~SetupPage() = default;

bool SetupPage::Create(HWND parent, const PVoptionData& live) {
  TakeWorkingCopy(live);
  return widgets::Page::Create(::GetModuleHandleA(nullptr), templateId_, parent);
}

void SetupPage::Load() {
  ++loading_;
  try {
    LoadControls();
  } catch (...) {
    --loading_;
    throw;
  }
  --loading_;
}

INT_PTR SetupPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HELP) {
    services_.openHelp(Handle(), helpTopic_);
    return TRUE;
  }
  return widgets::Page::OnMessage(message, wParam, lParam);
}

std::string PageText(const PageServices& services, const char* section, const char* key) {
  std::string text;
  if (!services.lookup(section, key, &text)) text.clear();
  return text;
}

bool CheckNumber(const PageServices& services, const widgets::NumberEdit& edit, int* value) {
  if (edit.Value(value)) return true;
  services.showRangeMessage(edit.Low(), edit.High());
  ::SetFocus(edit.Edit());
  ::SendMessageA(edit.Edit(), EM_SETSEL, 0, -1);
  return false;
}

void SetupPage::SetTexts(const ControlText* texts, size_t count) const {
  for (size_t i = 0; i < count; ++i)
    widgets::Window(Item(texts[i].control)).SetText(Text(texts[i].section, texts[i].key));
}

void SetupPage::SetMenuTexts(HMENU menu, const ControlText* texts, size_t count) const {
  if (!menu) return;
  for (size_t i = 0; i < count; ++i)
    widgets::SetMenuItemText(menu, static_cast<UINT>(texts[i].control),
                             Text(texts[i].section, texts[i].key));
}

}  // namespace qv
