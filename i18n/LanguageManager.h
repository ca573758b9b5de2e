// The language manager: the languages found in the language folder, sorted by name, and the
// one loaded language through which every page, dialog and message looks up its texts.
// User-interface thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "i18n/LanguageFile.h"

namespace qv {

class LanguageManager {
 public:
  LanguageManager() = default;
  LanguageManager(const LanguageManager&) = delete;
  LanguageManager& operator=(const LanguageManager&) = delete;

  // Lists the files of folder matching pattern that have an "info" section, sorted by language
  // name without regard to case, and remembers folder and pattern. False when the folder text
  // is empty or no usable file is found (the list is then empty).
  bool ScanLanguages(const std::string& folder, const std::string& pattern);

  // Reads the whole file at path; on success it becomes the current language. On failure
  // (cannot be read, no "info", an empty key) the current language stays and the result is false.
  bool LoadLanguage(const std::string& path);
  // LoadLanguage with the path at index of the sorted list; false (logged) outside the list.
  bool LoadLanguageAt(int index);
  // The first language of the sorted list that loads; when the first one cannot be loaded the
  // next ones are tried in order, so that a single broken file does not leave the program
  // without any text. False when none loads.
  bool LoadFirstLanguage();
  // The settings' language file if it loads, else the language whose name begins with
  // "English" (as the language combo boxes choose when the current file is not in the list),
  // else LoadFirstLanguage.
  bool LoadLanguageOrFirst(const std::string& path);
  // The index of the first language whose name begins with "English" (any case), or -1.
  int EnglishIndex() const;

  // Replaces names with the language names in list order.
  void GetLanguageNames(std::vector<std::string>* names) const;
  // The list index of the current language (paths compared without regard to case), or -1.
  int GetCurrentIndex() const;
  // False when no language is loaded.
  bool GetCurrentPath(std::string* path) const;
  // The current language's descriptor; false (logged) when none is loaded.
  bool GetCurrentInfo(LanguageInfo* info) const;

  // Scans the remembered folder again and, when a language is loaded, loads it again from its
  // path (an edited file shows its new texts). False when the scan or the reload fails; a
  // failed reload keeps the language as it was.
  bool Rescan();

  // The value of key in section (both without regard to case) with its escapes resolved.
  // False when not found (out unchanged), or when no language is loaded (also logged).
  bool Lookup(const std::string& section, const std::string& key, std::string* out) const;

  const std::vector<LanguageInfo>& languages() const { return languages_; }
  bool HasLanguage() const { return current_ != nullptr; }
  const std::string& folder() const { return folder_; }
  // The default language file of the settings: "<language folder>\\qveng.lng".
  std::string DefaultLanguagePath() const;

 private:
  std::string folder_;
  std::string pattern_;
  std::vector<LanguageInfo> languages_;
  std::unique_ptr<LanguageText> current_;  // owned; replaced only by a successful load
};

// The process-wide language manager.
LanguageManager& Languages();

// Compares two texts with the letters A to Z folded to lower case.
int CompareIgnoringCase(const std::string& a, const std::string& b);

// True when a file name matches a search pattern ("*" any run, "?" one character, letters
// without regard to case). The scan checks the long names with it, because the system's search
// also matches the short 8.3 names ("qveng.lngx" is found as QVENG~1.LNG).
bool MatchesFilePattern(const char* name, const char* pattern);

// folder + "\" + name ("\" is not doubled); the native build reads "\" as a separator too.
std::string JoinLanguagePath(const std::string& folder, const std::string& name);

}  // namespace qv
