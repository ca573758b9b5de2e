#include "pages/ThumbnailGenerator.h"

#include "changers/LoadModuleBitmap.h"
#include "i18n/MessageKeys.h"
#include "pages/ImageRows.h"
#include "platform/Log.h"

namespace qv {

ThumbnailGenerator& ThumbnailGenerator::Shared() {
  static ThumbnailGenerator generator;
  return generator;
}

ThumbnailGenerator::~ThumbnailGenerator() {
  if (library_) ::FreeLibrary(library_);
}

bool ThumbnailGenerator::Load(const std::string& fullPath, int (*showMessage)(const char*, UINT)) {
  if (generate_) return true;
  HMODULE library = ::LoadLibraryA(fullPath.c_str());
  if (!library) {
    if (showMessage) showMessage(msg::kThumbnailLibrary, MB_OK | MB_ICONSTOP);
    QV_LOG_MSG(fullPath.c_str());
    return false;
  }
  auto generate = reinterpret_cast<GenerateThumbnail2Fn>(::GetProcAddress(library, "fn_b_GenerateThumbnail2"));
  // Never called, but part of the library's contract: a library without it is not ours.
  FARPROC toDC = ::GetProcAddress(library, "fn_b_GenerateThumbnailToDC");
  if (!generate || !toDC) {
    QV_LOG_MSG("kz.dll lacks an export");
    ::FreeLibrary(library);
    return false;
  }
  library_ = library;
  generate_ = generate;
  return true;
}

bool ThumbnailGenerator::Generate(const std::string& path, int width, int height, HBITMAP* bitmap,
                                  int size[2]) {
  if (!generate_) return false;
  ++calls_;
  *bitmap = nullptr;
  return generate_(path.c_str(), width, height, bitmap, size) != 0 && *bitmap;
}

ThumbnailResult MakeRowThumbnail(const ThumbnailJob& job) {
  ThumbnailResult result;
  HBITMAP bitmap = nullptr;
  if (IsProgramFileName(job.path)) {
    bitmap = LoadModuleBitmap(job.path, MAKEINTRESOURCEA(100), job.width, job.height);
    if (!bitmap) bitmap = LoadModuleBitmap(job.path, MAKEINTRESOURCEA(1), job.width, job.height);
  } else {
    int size[2] = {0, 0};
    if (ThumbnailGenerator::Shared().Generate(job.path, job.width, job.height, &bitmap, size)) {
      result.pictureWidth = size[0];
      result.pictureHeight = size[1];
    }
  }
  result.ok = bitmap != nullptr;
  result.bitmap = reinterpret_cast<uintptr_t>(bitmap);
  return result;
}

}  // namespace qv
