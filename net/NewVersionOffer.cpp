#include "net/NewVersionOffer.h"

#include "net/WebLinks.h"
#include "platform/Log.h"
#include "res/resource.h"

namespace qv {
namespace {

int SystemBox(HWND owner, const char* text, const char* caption, UINT style) {
  return MessageBoxA(owner, text, caption, style);
}

NewVersionBox g_box = &SystemBox;

std::string Caption() {
  char text[256];
  int n = LoadStringA(GetModuleHandleA(nullptr), IDS_NEW_VERSION, text, sizeof text);
  if (n > 0) return std::string(text, n);
  QV_LOG();
  return std::string("New Quorvex Available");
}

}  // namespace

int OfferNewVersion(HWND owner, const std::string& whatsNew) {
  int answer = g_box(owner, whatsNew.c_str(), Caption().c_str(), MB_YESNO | MB_ICONINFORMATION);
  if (answer == IDYES) OpenDownloadPage(owner);
  return answer;
}

NewVersionBox SetNewVersionBox(NewVersionBox box) {
  NewVersionBox previous = g_box;
  g_box = box ? box : &SystemBox;
  return previous;
}

}  // namespace qv
