#include "core/ScreenSaverItemData.h"

#include "platform/Log.h"
#include "platform/Platform.h"

namespace qv {
namespace {

class ScreenSaverCollector final : public platform::FolderVisitor {
 public:
  ScreenSaverCollector(const std::string& folder, std::vector<ScreenSaverItemData>& list)
      : folder_(folder), list_(list) {}
  bool Visit(const char* name, bool isFolder) override {
    const std::string entry(name);
    if (isFolder || entry == "." || entry == "..") return true;
    list_.push_back(ScreenSaverItemData::FromPath(folder_ + entry));
    return true;
  }

 private:
  const std::string& folder_;
  std::vector<ScreenSaverItemData>& list_;
};

}  // namespace

std::string FileNameWithoutExtension(const std::string& path) {
  std::string::size_type slash = path.find_last_of("\\/:");
  std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string::size_type dot = file.find_last_of('.');
  if (dot != std::string::npos && dot + 1 < file.size()) file.erase(dot);
  return file;
}

ScreenSaverItemData ScreenSaverItemData::FromPath(const std::string& path) {
  ScreenSaverItemData item;
  item.path = path;
  item.name = ScreenSaverResourceName(path);
  if (item.name.empty()) item.name = FileNameWithoutExtension(path);
  return item;
}

void ScanScreenSavers(const std::string& folder, std::vector<ScreenSaverItemData>& list) {
  if (folder.empty()) {
    QV_LOG();
    return;
  }
  std::string prefix = folder;
  if (prefix.back() != '\\') prefix += '\\';
  ScreenSaverCollector collector(prefix, list);
  platform::ListFolder(prefix + "*.scr", collector);
}

}  // namespace qv
