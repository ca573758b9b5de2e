#include "i18n/LanguageManager.h"

#include <algorithm>

#include "platform/AsciiText.h"
#include "platform/Log.h"
#include "platform/Log.h"
#include "platform/Platform.h"

namespace qv {

int CompareIgnoringCase(const std::string& a, const std::string& b) {
  std::string la = platform::LowerAscii(a), lb = platform::LowerAscii(b);
  return la < lb ? -1 : (lb < la ? 1 : 0);
}

bool MatchesFilePattern(const char* name, const char* pattern) {
  // Iterative, with one back-track point for the last "*": no recursion on long names.
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' || (*pattern && platform::LowerAscii(*pattern) == platform::LowerAscii(*name))) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

std::string JoinLanguagePath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  char last = folder.back();
  return (last == '\\' || last == '/') ? folder + name : folder + "\\" + name;
}

namespace {

// Collects the names of the files (not folders) that match the pattern.
class LanguageFileNames : public platform::FolderVisitor {
 public:
  explicit LanguageFileNames(const std::string& pattern) : pattern_(pattern) {}
  bool Visit(const char* name, bool isFolder) override {
    if (!isFolder && MatchesFilePattern(name, pattern_.c_str())) names.push_back(name);
    return true;
  }
  std::vector<std::string> names;

 private:
  std::string pattern_;
};

}  // namespace

LanguageManager& Languages() {
  static LanguageManager manager;
  return manager;
}

bool LanguageManager::ScanLanguages(const std::string& folder, const std::string& pattern) {
  folder_ = folder;
  pattern_ = pattern;
  languages_.clear();
  if (folder.empty()) return false;

  LanguageFileNames found(pattern);
  if (!platform::ListFolder(JoinLanguagePath(folder, pattern), found)) {
    QV_LOG_MSG(("cannot search " + folder).c_str());
    return false;
  }
  for (const std::string& name : found.names) {
    LanguageInfo info;
    std::string path = JoinLanguagePath(folder, name);
    std::string bytes;
    if (!ReadFileBytes(path, &bytes)) {
      QV_LOG_MSG(("cannot open " + path).c_str());
      continue;
    }
    if (!ParseLanguageInfo(bytes.data(), bytes.size(), &info)) {
      QV_LOG_MSG(("no [info] section in " + path).c_str());
      continue;
    }
    info.path = path;
    languages_.push_back(info);
  }
  // Stable, so that equal names keep the file system's order.
  std::stable_sort(languages_.begin(), languages_.end(),
                   [](const LanguageInfo& a, const LanguageInfo& b) {
                     return CompareIgnoringCase(a.name, b.name) < 0;
                   });
  return !languages_.empty();
}

bool LanguageManager::LoadLanguage(const std::string& path) {
  std::string bytes;
  if (!ReadFileBytes(path, &bytes)) {
    QV_LOG_MSG(("cannot open " + path).c_str());
    return false;
  }
  auto text = std::make_unique<LanguageText>();
  LanguageParseError error;
  if (!ParseLanguage(bytes.data(), bytes.size(), text.get(), &error)) {
    std::string message = path + ": " + error.reason;
    if (error.line > 0) message += " at line " + std::to_string(error.line);
    QV_LOG_MSG(message.c_str());
    return false;
  }
  text->info.path = path;
  current_ = std::move(text);
  return true;
}

bool LanguageManager::LoadLanguageAt(int index) {
  if (index < 0 || index >= static_cast<int>(languages_.size())) {
    QV_LOG();
    return false;
  }
  return LoadLanguage(languages_[index].path);
}

bool LanguageManager::LoadFirstLanguage() {
  for (const LanguageInfo& info : languages_)
    if (LoadLanguage(info.path)) return true;
  return false;
}

int LanguageManager::EnglishIndex() const {
  static const std::string kEnglish = "english";
  for (std::size_t i = 0; i < languages_.size(); ++i)
    if (platform::LowerAscii(languages_[i].name.substr(0, kEnglish.size())) == kEnglish)
      return static_cast<int>(i);
  return -1;
}

bool LanguageManager::LoadLanguageOrFirst(const std::string& path) {
  if (!path.empty() && LoadLanguage(path)) return true;
  int english = EnglishIndex();
  return (english >= 0 && LoadLanguageAt(english)) || LoadFirstLanguage();
}

void LanguageManager::GetLanguageNames(std::vector<std::string>* names) const {
  names->clear();
  for (const LanguageInfo& info : languages_) names->push_back(info.name);
}

int LanguageManager::GetCurrentIndex() const {
  if (!current_) return -1;
  for (std::size_t i = 0; i < languages_.size(); ++i)
    if (CompareIgnoringCase(languages_[i].path, current_->info.path) == 0)
      return static_cast<int>(i);
  return -1;
}

bool LanguageManager::GetCurrentPath(std::string* path) const {
  if (!current_) return false;
  *path = current_->info.path;
  return true;
}

bool LanguageManager::GetCurrentInfo(LanguageInfo* info) const {
  if (!current_) {
    QV_LOG();
    return false;
  }
  *info = current_->info;
  return true;
}

bool LanguageManager::Rescan() {
  std::string folder = folder_, pattern = pattern_;
  bool scanned = ScanLanguages(folder, pattern);
  if (!current_) return scanned;
  std::string path = current_->info.path;
  return LoadLanguage(path) && scanned;
}

bool LanguageManager::Lookup(const std::string& section, const std::string& key,
                             std::string* out) const {
  if (!current_) {
    QV_LOG_MSG(("no language loaded for [" + section + "] " + key).c_str());
    return false;
  }
  auto s = current_->sections.find(platform::LowerAscii(section));
  if (s == current_->sections.end()) return false;
  auto k = s->second.find(platform::LowerAscii(key));
  if (k == s->second.end()) return false;
  *out = ResolveEscapes(k->second.second);
  return true;
}

std::string LanguageManager::DefaultLanguagePath() const {
  return JoinLanguagePath(folder_, "qveng.lng");
}

}  // namespace qv
