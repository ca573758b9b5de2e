#include "i18n/LanguageManager.h"

#include <algorithm>

#include "core/Log.h"
#include "platform/Platform.h"

namespace qv {

int CompareIgnoringCase(const std::string& a, const std::string& b) {
  std::string la = LowerAscii(a), lb = LowerAscii(b);
  return la < lb ? -1 : (lb < la ? 1 : 0);
}

LanguageManager& Languages() {
  static LanguageManager manager;
  return manager;
}

bool LanguageManager::ScanLanguages(const std::string& folder, const std::string& pattern) {
  folder_ = folder;
  pattern_ = pattern;
  languages_.clear();
  if (folder.empty()) return false;

  std::vector<std::string> names;
  if (!platform::FindFiles(folder, pattern.c_str(), &names)) {
    QV_LOG_MSG(("cannot search " + folder).c_str());
    return false;
  }
  for (const std::string& name : names) {
    LanguageInfo info;
    std::string path = platform::JoinPath(folder, name);
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

bool LanguageManager::LoadLanguageOrFirst(const std::string& path) {
  return (!path.empty() && LoadLanguage(path)) || LoadFirstLanguage();
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
  auto s = current_->sections.find(LowerAscii(section));
  if (s == current_->sections.end()) return false;
  auto k = s->second.find(LowerAscii(key));
  if (k == s->second.end()) return false;
  *out = ResolveEscapes(k->second.second);
  return true;
}

std::string LanguageManager::DefaultLanguagePath() const {
  return platform::JoinPath(folder_, "qveng.lng");
}

}  // namespace qv
