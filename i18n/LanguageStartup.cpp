// Start-up of the language manager: the folder "language" beside the program.
#include "i18n/LanguageStartup.h"

#include "i18n/LanguageManager.h"
#include "platform/ProgramFolder.h"

namespace qv {

bool InitLanguages() {
  LanguageManager& languages = Languages();
  if (!languages.ScanLanguages(ProgramFolderFile("language"), "qv*.lng")) return false;
  // The language of default settings, until the settings name their own (which then switch
  // with LoadLanguageOrFirst); otherwise the first language of the list that loads.
  return languages.LoadLanguageOrFirst(languages.DefaultLanguagePath());
}

}  // namespace qv
