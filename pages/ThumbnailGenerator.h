// The thumbnail generator of the picture pages: kz.dll, loaded once at start-up from the
// program's own folder by its full path (never from the search path, where a planted library of
// that name could be taken), and the making of one row's thumbnail on the worker thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "pages/ThumbnailQueue.h"
#include "thumbs/KzThumbnail.h"

namespace qv {

class ThumbnailGenerator {
 public:
  // The one process-wide generator.
  static ThumbnailGenerator& Shared();

  // Loads the library at fullPath and looks up both exports. Missing library: "0004" with the
  // stop icon (through showMessage when given), a log line and false; a missing export: a log
  // line and false. A second call after success does nothing and is true.
  bool Load(const std::string& fullPath, int (*showMessage)(const char* key, UINT style));
  bool Loaded() const { return generate_ != nullptr; }
  // The library's thumbnail of path in a box; false when it is not loaded or fails. Safe on the
  // worker thread: it touches nothing of the page.
  bool Generate(const std::string& path, int width, int height, HBITMAP* bitmap, int size[2]);
  // How many times Generate reached the library (tests and benchmarks).
  long Calls() const { return calls_.load(); }

 private:
  ThumbnailGenerator() = default;
  ~ThumbnailGenerator();

  HMODULE library_ = nullptr;  // owned; released at exit
  GenerateThumbnail2Fn generate_ = nullptr;
  std::atomic<long> calls_{0};
};

// The worker's job: program files (exe, dll, cpl, scr) from their bitmap resource 100, else 1;
// pictures through the generator.
ThumbnailResult MakeRowThumbnail(const ThumbnailJob& job);

}  // namespace qv
