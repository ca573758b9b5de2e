// The byte-buffer readers that a user-picked kernel or logon program reaches, over real programs
// nobody here wrote: every .exe and .dll that Wine installs for Windows. Each must be read or
// refused cleanly, and whatever the resource reader finds must lie inside the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "changers/PEChecksum.h"
#include "changers/PEResources.h"
#include "tests/support/TempDir.h"

namespace {

std::vector<std::string> WinePrograms() {
  std::vector<std::string> files;
  for (const char* dir : {"/usr/lib/i386-linux-gnu/wine/i386-windows", "/usr/lib/x86_64-linux-gnu/wine/i386-windows",
                          "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows"}) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
      const std::string ext = entry.path().extension().string();
      if (ext == ".exe" || ext == ".dll") files.push_back(entry.path().string());
    }
  }
  return files;
}

TEST(RealPrograms, WinesProgramsAreReadOrRefusedCleanly) {
  const std::vector<std::string> files = WinePrograms();
  ASSERT_GE(files.size(), 300u) << "Wine's Windows programs missing";
  int pe = 0, withBitmaps = 0;
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    const std::string bytes = qvtest::TempDir::Slurp(path);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    std::uint32_t stored = 0, computed = 0;
    if (qv::ReadPEChecksums(data, bytes.size(), &stored, &computed)) pe++;
    for (const qv::PEResourceId& type : {qv::PEResourceId(qv::kResourceTypeBitmap), qv::PEResourceId("UIFILE")}) {
      std::vector<qv::PEResourceData> found;
      if (!qv::FindPEResource(data, bytes.size(), type, 1, &found)) continue;
      for (const qv::PEResourceData& r : found) {
        EXPECT_GE(r.data, data);
        EXPECT_LE(r.data + r.size, data + bytes.size());
      }
      if (!found.empty() && type.name.empty()) withBitmaps++;
    }
    // None of them is a patched kernel copy: the check refuses with a reason.
    std::string why;
    EXPECT_FALSE(qv::CheckPatchedImage(data, bytes.size(), {{qv::kResourceTypeBitmap, 1, 0x409, {1, 2, 3}, 1}}, &why));
    EXPECT_FALSE(why.empty());
  }
  // Wine builds every one of them as a PE image; some carry bitmap 1.
  EXPECT_EQ(pe, int(files.size()));
  EXPECT_GT(withBitmaps, 0);
}

}  // namespace
