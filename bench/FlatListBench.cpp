// Times the flat list rebuild of one folder item over a tree against `find` over the same tree,
// in the same run, and prints both with their ratio.
//   qv_flatlist_bench TREE [RUNS]      (RUNS 0: one rebuild only, for instruction counting)
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/BaseSetupData.h"

namespace {

class BenchList final : public qv::ImageSetupData {
 public:
  explicit BenchList(const std::string& folder) {
    qv::SetupItem item;
    item.path = folder;
    item.isFolder = 1;
    item.includeSubFolders = 1;
    items.push_back(item);
  }
  void FillDefaultSiteLinks() override {}
  bool ApplyItem(const std::string&) override { return true; }
};

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

double TimeRebuild(BenchList& list) {
  auto start = std::chrono::steady_clock::now();
  list.RebuildFlatList();
  return Seconds(std::chrono::steady_clock::now() - start);
}

double TimeFind(const std::string& command) {
  auto start = std::chrono::steady_clock::now();
  int status = std::system(command.c_str());
  double t = Seconds(std::chrono::steady_clock::now() - start);
  if (status != 0) {
    std::fprintf(stderr, "find failed\n");
    std::exit(1);
  }
  return t;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: qv_flatlist_bench TREE [RUNS]\n");
    return 2;
  }
  const std::string tree = argv[1];
  const int runs = argc > 2 ? std::atoi(argv[2]) : 15;
  BenchList list(tree);
  if (runs == 0) {
    list.RebuildFlatList();
    std::printf("flat list: %zu paths\n", list.flatList.size());
    return 0;
  }
  const std::string find = "find '" + tree + "' > /dev/null";
  TimeRebuild(list);  // warm the directory cache for both
  TimeFind(find);
  std::vector<double> ours, theirs;
  for (int i = 0; i < runs; ++i) {
    ours.push_back(TimeRebuild(list));
    theirs.push_back(TimeFind(find));
  }
  const double a = Median(ours), b = Median(theirs);
  std::printf("flat list rebuild: %zu paths, median %.2f ms (min %.2f ms) over %d runs\n",
              list.flatList.size(), a * 1e3, *std::min_element(ours.begin(), ours.end()) * 1e3, runs);
  std::printf("find:              median %.2f ms (min %.2f ms)\n", b * 1e3,
              *std::min_element(theirs.begin(), theirs.end()) * 1e3);
  std::printf("ratio rebuild / find: %.2f\n", a / b);
  return 0;
}
