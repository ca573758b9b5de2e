#include <gtest/gtest.h>

#include <cstdio>

#include <string>
#include <vector>

#include "core/mainwindow/WatchFolders.h"

namespace {

using qv::WatchFolders;

TEST(WatchFolders, InsertKeepsByteOrderAndDropsDuplicates) {
  struct Row {
    std::vector<std::string> inserted;
    std::vector<std::string> expected;
  } rows[] = {
      {{"c:\\b", "c:\\a", "c:\\c"}, {"c:\\a", "c:\\b", "c:\\c"}},
      {{"c:\\a", "c:\\a"}, {"c:\\a"}},
      // Plain byte order: '\\' 0x5C before '_' 0x5F before 'a' 0x61.
      {{"c:\\pics_x", "c:\\pics\\x", "c:\\picsa"}, {"c:\\pics\\x", "c:\\pics_x", "c:\\picsa"}},
      {{"d:\\\xe9t\xe9", "d:\\zz"}, {"d:\\zz", "d:\\\xe9t\xe9"}},  // bytes above 0x7F sort last
      {{}, {}},
  };
  for (const Row& r : rows) {
    WatchFolders set;
    for (const auto& p : r.inserted) set.Insert(p);
    EXPECT_EQ(set.Folders(), r.expected);
  }
  WatchFolders set;
  EXPECT_TRUE(set.Insert("c:\\a"));
  EXPECT_FALSE(set.Insert("c:\\a"));
  set.Clear();
  EXPECT_EQ(set.Size(), 0u);
}

TEST(WatchFolders, GroupsServeEveryFolderWithinTheWaitLimit) {
  struct Row {
    std::size_t folders;
    std::vector<std::size_t> groupSizes;
  } rows[] = {
      {0, {}},  // nothing to wait for
      {1, {1}},
      {31, {31}},
      {32, {31, 1}},
      {62, {31, 31}},
      {100, {31, 31, 31, 7}},
  };
  for (const Row& r : rows) {
    WatchFolders set;
    for (std::size_t i = 0; i < r.folders; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "c:\\f%03zu", i);
      set.Insert(name);
    }
    auto groups = set.Groups();
    std::vector<std::size_t> sizes;
    std::vector<std::string> all;
    for (const auto& g : groups) {
      sizes.push_back(g.size());
      EXPECT_LE(2 * g.size() + 1, 64u) << "one wait takes at most 64 handles";
      all.insert(all.end(), g.begin(), g.end());
    }
    EXPECT_EQ(sizes, r.groupSizes) << r.folders;
    EXPECT_EQ(all, set.Folders()) << "every folder, in order, exactly once";
  }
}

TEST(WatchFolders, SlotsDecodeToStopFileAndFolderNotices) {
  struct Row {
    std::size_t index;
    bool stop;
    std::size_t folder;
    int kind;
  } rows[] = {
      {0, true, 0, 0}, {1, false, 0, 1}, {2, false, 0, 0},
      {3, false, 1, 1}, {4, false, 1, 0}, {62, false, 30, 0}, {61, false, 30, 1},
  };
  for (const Row& r : rows) {
    qv::WatchSlot slot = qv::DecodeWatchSlot(r.index);
    EXPECT_EQ(slot.stop, r.stop) << r.index;
    if (!r.stop) {
      EXPECT_EQ(slot.folder, r.folder) << r.index;
      EXPECT_EQ(slot.kind, r.kind) << r.index;
    }
  }
}

}  // namespace
