#include "tests/wizard/WinScript.h"

#include "i18n/LanguageManager.h"
#include "tests/support/WinTestSupport.h"

namespace qvtest {

bool LoadShippedLanguage(const char* fileName) {
  std::string folder = DistFolder() + "language";
  if (!qv::Languages().ScanLanguages(folder, "qv*.lng")) return false;
  return qv::Languages().LoadLanguage(folder + "\\" + fileName);
}

}  // namespace qvtest
