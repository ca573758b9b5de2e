// The flat list rebuild on real folders: listing order, sub folders, the cap and the pattern bound.
#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/ChangeLists.h"
#include "tests/core/ListTestSupport.h"
#include "tests/support/LogCapture.h"

namespace {

namespace fs = std::filesystem;

class TempTree {
 public:
  TempTree() {
    char pattern[] = "/tmp/qv-flat-XXXXXX";
    root_ = mkdtemp(pattern);
  }
  ~TempTree() { fs::remove_all(root_); }
  const std::string& Root() const { return root_; }
  void File(const std::string& relative) {
    fs::create_directories(fs::path(root_ + "/" + relative).parent_path());
    std::ofstream(root_ + "/" + relative).put('x');
  }
  void Folder(const std::string& relative) { fs::create_directories(root_ + "/" + relative); }

 private:
  std::string root_;
};

class ListUnderTest final : public qv::ImageSetupData {
 public:
  void FillDefaultSiteLinks() override {}
  bool ApplyItem(const std::string&) override { return true; }
  void Add(const std::string& path, bool folder, bool sub = true) {
    qv::SetupItem item;
    item.path = path;
    item.isFolder = folder ? 1 : 0;
    item.includeSubFolders = sub ? 1 : 0;
    items.push_back(item);
  }
};

// What the list must hold for a folder: its pictures and sub folders in the order readdir gives,
// sub folders expanded where they come, paths joined with "\" as the list joins them.
void Expected(const std::string& folder, bool sub, std::vector<std::string>& out) {
  std::string posix = folder;
  for (char& c : posix)
    if (c == '\\') c = '/';
  DIR* dir = opendir(posix.c_str());
  ASSERT_NE(dir, nullptr) << posix;
  while (dirent* e = readdir(dir)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    std::string path = folder + "\\" + name;
    if (e->d_type == DT_DIR) {
      if (sub) Expected(path, sub, out);
    } else if (qv::BaseSetupData::IsSupportedPictureName(path)) {
      out.push_back(path);
    }
  }
  closedir(dir);
}

TEST(FlatList, KeepsItemOrderAndTheListingOrderWithinFolders) {
  TempTree tree;
  for (const char* f : {"a.jpg", "b.txt", "c.PNG", "d.jpeg", "e.tif", "sub/f.bmp", "sub/deeper/g.gif",
                        "sub/h.doc", "other/i.jpg"})
    tree.File(f);
  tree.Folder("folder.jpg");  // a folder with a picture's name is not a picture

  for (bool sub : {true, false}) {
    ListUnderTest list;
    list.Add("C:\\first.bmp", false);
    list.Add(tree.Root(), true, sub);
    list.Add("not checked at all.xyz", false);
    list.RebuildFlatList();

    std::vector<std::string> expected{"C:\\first.bmp"};
    Expected(tree.Root(), sub, expected);
    expected.push_back("not checked at all.xyz");
    EXPECT_EQ(list.flatList, expected) << "sub folders " << sub;
    EXPECT_EQ(list.flatList.size(), sub ? 9u : 6u);
  }
}

TEST(FlatList, FoldersYieldAtMost51840PathsAndLaterFileItemsStillCome) {
  TempTree tree;
  tree.Folder("many");
  for (int i = 0; i < 60000; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/many/IMG_%05d.jpg", i);
    std::ofstream(tree.Root() + name);
  }
  ListUnderTest list;
  list.Add("C:\\before.jpg", false);
  list.Add(tree.Root() + "\\many", true);
  list.Add(tree.Root() + "\\many", true);  // a second folder item finds the list full
  list.Add("C:\\after.jpg", false);
  list.RebuildFlatList();
  ASSERT_EQ(list.flatList.size(), qv::kFlatListCap + 1);
  EXPECT_EQ(list.flatList.front(), "C:\\before.jpg");
  EXPECT_EQ(list.flatList.back(), "C:\\after.jpg");

  std::vector<std::string> all;
  Expected(tree.Root() + "\\many", true, all);
  ASSERT_EQ(all.size(), 60000u);
  all.resize(qv::kFlatListCap - 1);
  EXPECT_TRUE(std::equal(all.begin(), all.end(), list.flatList.begin() + 1));
}

TEST(FlatList, SubFoldersWhosePatternWouldReach260CharactersAreNotScanned) {
  TempTree tree;
  const std::string root = tree.Root();  // "/tmp/qv-flat-XXXXXX": 19 characters
  // Sub folder paths of 255 and 256 characters: their patterns ("\*.*" added) are 259 and 260.
  const std::string shortName(255 - root.size() - 1, 's');
  const std::string longName(256 - root.size() - 1, 'l');
  tree.File(shortName + "/in.jpg");
  tree.File(longName + "/out.jpg");
  ListUnderTest list;
  list.Add(root, true);
  list.RebuildFlatList();
  ASSERT_EQ(list.flatList.size(), 1u);
  EXPECT_EQ(list.flatList[0], root + "\\" + shortName + "\\in.jpg");
}

TEST(FlatList, BadFolderItemsAreLoggedAndSkipped) {
  TempTree tree;
  tree.File("x.jpg");
  ListUnderTest list;
  list.Add("", true);
  list.Add(tree.Root() + "/missing", true);
  list.Add(tree.Root() + "\\", true);  // a folder that ends in "\" gets no second one
  qvtest::LogCapture log;
  list.RebuildFlatList();
  EXPECT_EQ(list.flatList, std::vector<std::string>{tree.Root() + "\\x.jpg"});
  ASSERT_EQ(log.lines().size(), 2u);
  EXPECT_NE(log.lines()[0].find("error filename: BaseSetupData.cpp  line: "), std::string::npos);
  EXPECT_NE(log.lines()[1].find("missing"), std::string::npos);
}

TEST(FlatList, RebuildStartsFromEmpty) {
  ListUnderTest list;
  list.flatList = {"stale"};
  list.Add("C:\\a.jpg", false);
  list.RebuildFlatList();
  list.RebuildFlatList();
  EXPECT_EQ(list.flatList, std::vector<std::string>{"C:\\a.jpg"});
}

}  // namespace

namespace {

// The preview's picture of a folder row is the one the rotation would show first.
TEST(FlatList, FirstFolderPictureIsTheFlatListsFirst) {
  TempTree tree;
  tree.File("notes.txt");
  tree.Folder("empty");
  for (bool sub : {true, false}) {
    ListUnderTest list;
    list.Add(tree.Root(), true, sub);
    list.RebuildFlatList();
    EXPECT_TRUE(list.flatList.empty());
    EXPECT_EQ(qv::FirstFolderPicture(tree.Root(), sub), "") << "no picture anywhere";
  }
  for (const char* f : {"sub/deep/a.gif", "sub/b.png", "c.jpg", "d.bmp"}) tree.File(f);
  for (bool sub : {true, false}) {
    ListUnderTest list;
    list.Add(tree.Root(), true, sub);
    list.RebuildFlatList();
    ASSERT_FALSE(list.flatList.empty());
    EXPECT_EQ(qv::FirstFolderPicture(tree.Root(), sub), list.flatList.front()) << "sub folders " << sub;
  }
  EXPECT_EQ(qv::FirstFolderPicture(tree.Root() + "/missing", true), "");
  EXPECT_EQ(qv::FirstFolderPicture("", true), "");
}

}  // namespace
