#include "core/ShowMessage.h"

#include "i18n/LanguageFile.h"
#include "i18n/LanguageManager.h"
#include "i18n/MessageKeys.h"
#include "platform/Log.h"
#include "res/resource.h"

namespace qv {
namespace {

HWND g_owner = nullptr;

std::string Caption() {
  char text[64];
  int n = LoadStringA(GetModuleHandleA(nullptr), IDS_INSTANCE_NAME, text, sizeof text);
  return n > 0 ? std::string(text, n) : std::string("Quorvex");
}

int Show(const std::string& text, UINT style) {
  HWND owner = (g_owner && IsWindow(g_owner)) ? g_owner : nullptr;
  return MessageBoxA(owner, text.c_str(), Caption().c_str(), style);
}

bool MessageText(const char* key, std::string* text) {
  if (Languages().Lookup(msg::kSection, key, text)) return true;
  QV_LOG_MSG((std::string("no message ") + key).c_str());
  return false;
}

}  // namespace

void SetMessageOwner(HWND owner) { g_owner = owner; }

HWND MessageOwner() { return g_owner; }

int ShowMessage(const char* key, UINT style) {
  std::string text;
  if (!MessageText(key, &text)) return -1;
  return Show(text, style);
}

int ShowMessageWithPath(const char* key, const std::string& path, UINT style) {
  std::string text;
  if (!MessageText(key, &text)) return -1;
  return Show(FormatWithPath(text, path), style);
}

}  // namespace qv
