// The wallpaper page's thumbnail view under Wine, measured the way a user feels it:
//   stall FOLDER   every .jpg of the folder as rows; while the worker makes their thumbnails
//                  (the list scrolled a page further each time the visible ones are done), a
//                  ticker thread posts a timestamped message to the user-interface thread every
//                  10 ms; prints the longest and the 99th-percentile delay until it was handled
//                  (QV_BENCH_TRACE=1: also the five longest and what the thread did meanwhile).
//   preview FOLDER the same, while the selection moves to the next row every 200 ms, so that the
//                  page's preview monitor decodes the photos (at its size) beside the thumbnails.
//   paint FOLDER   the same rows with every thumbnail made, then the time of scrolling a screen
//                  further and painting it (QV_BENCH_NOSCROLL=1: painting it again in place), with
//                  no worker; QV_BENCH_HOLD=SECONDS then keeps cells on screen for a screenshot.
//   first FILE...  the given pictures as rows; prints the time from switching to the thumbnail
//                  view until the first screen's thumbnails are all made, and per thumbnail.
//   decode FILE    the same ticks while a thread makes thumbnails of FILE over and over and no
//                  window is painted: whether decoding alone delays the window's thread.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "imageinfo/InfoPickers.h"
#include "pages/PagesRes.h"
#include "pages/ThumbnailGenerator.h"
#include "platform/Threads.h"
#include "tests/pages/PageTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace {

constexpr UINT kTick = WM_APP + 77;  // wParam: microseconds since the start when it was posted

double Now(const LARGE_INTEGER& start) {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - start.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

bool QueueIdle(qvtest::HostedWallpaperPage& host) {
  return host.page().Thumbnails().Pending() == 0 && !host.page().Thumbnails().WorkerRunning();
}

int RowsWithoutThumbnail(qvtest::HostedWallpaperPage& host) {
  int left = 0;
  for (int row = 0; row < host.List().Count(); ++row)
    left += host.page().Record(row)->thumbState == qv::kThumbNotMade ? 1 : 0;
  return left;
}

// The longest time one message of each kind took to handle, for finding what stalls.
struct Slowest {
  double ms = 0;
  int count = 0;
};
std::map<UINT, Slowest>& SlowestHandlers() {
  static std::map<UINT, Slowest> slowest;
  return slowest;
}

void PrintSlowestHandlers() {
  std::vector<std::pair<double, UINT>> order;
  for (const auto& entry : SlowestHandlers()) order.emplace_back(entry.second.ms, entry.first);
  std::sort(order.rbegin(), order.rend());
  for (size_t i = 0; i < order.size() && i < 4; ++i)
    std::printf("  slowest handler: message 0x%04x, %.1f ms (%d handled)\n", order[i].second, order[i].first,
                SlowestHandlers()[order[i].second].count);
}

// What the window's thread did, for the longest delays (QV_BENCH_TRACE): times in microseconds.
// kind: a message handled (its number), or one of the kinds below.
enum EventKind : UINT {
  kTickHandled = 0x10000,  // above every message number
  kScroll,
  kSwitch,
  kFirstPaint,
  kWaiting,
  kPeeking
};
struct Event {
  double begin;  // a tick: when it was posted
  double end;    // a tick: when it was handled
  UINT kind;
};

const char* KindName(UINT kind) {
  switch (kind) {
    case kScroll: return "the bench's scroll and paint";
    case kSwitch: return "switch to thumbnails";
    case kFirstPaint: return "first paint";
    case kWaiting: return "waiting for messages";
    case kPeeking: return "PeekMessage";
  }
  return "message";
}

std::vector<Event>& Timeline() {
  static std::vector<Event> events;
  return events;
}

// The five longest delays that do not overlap, each with what the thread did meanwhile.
void PrintLongestDelays() {
  std::vector<const Event*> ticks;
  for (const Event& e : Timeline())
    if (e.kind == kTickHandled) ticks.push_back(&e);
  std::sort(ticks.begin(), ticks.end(),
            [](const Event* a, const Event* b) { return a->end - a->begin > b->end - b->begin; });
  std::vector<const Event*> shown;
  for (const Event* tick : ticks) {
    if (shown.size() == 5) break;
    bool overlaps = false;
    for (const Event* other : shown) overlaps |= tick->begin < other->end && other->begin < tick->end;
    if (overlaps) continue;
    shown.push_back(tick);
    std::printf("  a delay of %.1f ms: posted at %.3f s, handled at %.3f s; meanwhile:\n",
                (tick->end - tick->begin) / 1000, tick->begin / 1e6, tick->end / 1e6);
    for (const Event& e : Timeline())
      if (e.kind != kTickHandled && e.end > tick->begin && e.begin < tick->end)
        std::printf("    %.3f-%.3f s (%.1f ms): %s 0x%04x\n", e.begin / 1e6, e.end / 1e6, (e.end - e.begin) / 1000,
                    KindName(e.kind), e.kind);
  }
}

// Handles this thread's messages until timeoutMs passes or the thread's queue stays empty for
// a moment; ticks are measured on the way (when delays is given).
void PumpFor(DWORD timeoutMs, const LARGE_INTEGER& start, std::vector<double>* delays) {
  const DWORD begin = GetTickCount();
  while (GetTickCount() - begin < timeoutMs) {
    const double waited = Now(start);
    const DWORD woken = MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    if (delays && Now(start) - waited > 1000) Timeline().push_back(Event{waited, Now(start), kWaiting});
    if (woken == WAIT_TIMEOUT) return;
    MSG msg;
    for (;;) {
      const double peeked = Now(start);
      const BOOL got = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
      if (delays && Now(start) - peeked > 1000) Timeline().push_back(Event{peeked, Now(start), kPeeking});
      if (!got) break;
      if (!msg.hwnd && msg.message == kTick) {
        if (delays) delays->push_back(Now(start) - static_cast<double>(msg.wParam));
        if (delays) Timeline().push_back(Event{static_cast<double>(msg.wParam), Now(start), kTickHandled});
        continue;
      }
      const double before = Now(start);
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      Slowest& slow = SlowestHandlers()[msg.message];
      slow.ms = std::max(slow.ms, (Now(start) - before) / 1000);
      ++slow.count;
      if (delays) Timeline().push_back(Event{before, Now(start), msg.message});
      if (getenv("QV_BENCH_TRACE") && Now(start) - before > 30000) {
        char name[64] = "";
        GetClassNameA(msg.hwnd, name, sizeof name);
        std::printf("  %.3f s: message 0x%04x to %s took %.1f ms\n", before / 1e6, msg.message, name,
                    (Now(start) - before) / 1000);
      }
    }
  }
}

void PrintDelays(const char* what, std::vector<double> delays) {
  if (delays.empty()) return;
  std::sort(delays.begin(), delays.end());
  std::printf("%s: %zu ticks, median %.1f ms, 99th percentile %.1f ms, longest %.1f ms\n", what, delays.size(),
              delays[delays.size() / 2] / 1000, delays[delays.size() * 99 / 100] / 1000, delays.back() / 1000);
}

// A wallpaper page in the details view with a row for each picture.
std::unique_ptr<qvtest::HostedWallpaperPage> PageWithRows(const std::vector<std::string>& pictures) {
  static qv::PVoptionData live;
  live.wallpaper.viewMode = 0;  // details until the measured switch
  auto host = std::make_unique<qvtest::HostedWallpaperPage>(live);
  for (const std::string& picture : pictures) host->page().AddFileRow(picture);
  return host;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Selects exactly one row, as a click on it does.
void SelectOnly(const qvtest::HostedWallpaperPage& host, int row) {
  const int selected = host.List().NextSelected();
  if (selected >= 0) host.List().Select(selected, false);
  host.List().Select(row, true);
}

int Stall(const std::string& folder, bool withPreview) {
  const std::vector<std::string> photos = qvtest::FindPictures(folder);
  if (photos.empty()) {
    std::fprintf(stderr, "no pictures in %s\n", folder.c_str());
    return 1;
  }
  std::unique_ptr<qvtest::HostedWallpaperPage> page = PageWithRows(photos);
  qvtest::HostedWallpaperPage& host = *page;

  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  const DWORD ui = GetCurrentThreadId();
  std::atomic<bool> done{false};
  platform::Thread ticker;
  ticker.Start([&] {
    while (!done) {
      PostThreadMessageA(ui, kTick, static_cast<WPARAM>(Now(start)), 0);
      Sleep(10);
    }
  });

  // The same ticks with nothing to do first: what the machine itself adds.
  std::vector<double> idle;
  PumpFor(500, start, nullptr);
  for (DWORD begin = GetTickCount(); GetTickCount() - begin < 3000;) PumpFor(3000, start, &idle);

  std::vector<double> delays;
  const long callsBefore = qv::ThumbnailGenerator::Shared().Calls();
  const double switched = Now(start);
  host.Command(ID_VIEW_THUMBNAILS);
  const double painted = Now(start);
  UpdateWindow(host.List().Handle());
  Timeline().push_back(Event{switched, painted, kSwitch});
  Timeline().push_back(Event{painted, Now(start), kFirstPaint});
  int stuck = 0, selections = 0;
  while (RowsWithoutThumbnail(host) > 0 && stuck < 3) {
    if (withPreview) SelectOnly(host, selections++ % static_cast<int>(photos.size()));
    PumpFor(200, start, &delays);
    if (!QueueIdle(host)) continue;
    const int before = RowsWithoutThumbnail(host);
    RECT client = host.List().ClientRect();
    if (getenv("QV_BENCH_TRACE")) std::printf("  %.3f s: scroll\n", Now(start) / 1e6);
    const double scrolled = Now(start);
    host.List().Send(LVM_SCROLL, 0, client.bottom);
    UpdateWindow(host.List().Handle());
    if (getenv("QV_BENCH_TRACE")) std::printf("  scroll and paint took %.1f ms\n", (Now(start) - scrolled) / 1000);
    Timeline().push_back(Event{scrolled, Now(start), kScroll});
    PumpFor(200, start, &delays);
    stuck = RowsWithoutThumbnail(host) == before && QueueIdle(host) ? stuck + 1 : 0;
  }
  const double seconds = Now(start) / 1e6;
  // The ticks posted so far count; those that wait for the comparison below do not.
  done = true;
  ticker.Join();
  PumpFor(50, start, &delays);
  // The same scroll and paint with every thumbnail made and the worker gone, for comparison.
  double idlePaint = 0;
  for (int page = 0; page < 8; ++page) {
    const double scrolled = Now(start);
    RECT client = host.List().ClientRect();
    host.List().Send(LVM_SCROLL, 0, page % 2 ? client.bottom : -client.bottom);
    UpdateWindow(host.List().Handle());
    idlePaint = std::max(idlePaint, (Now(start) - scrolled) / 1000);
  }

  std::printf("stall: %zu rows, %ld thumbnails made, %d rows left, %.1f s\n", photos.size(),
              qv::ThumbnailGenerator::Shared().Calls() - callsBefore, RowsWithoutThumbnail(host), seconds);
  PrintDelays("stall while idle", idle);
  PrintDelays(withPreview ? "stall while making thumbnails and previews" : "stall while making thumbnails", delays);
  if (withPreview)
    std::printf("previews: %d selections, %d pictures asked for, last state %d\n", selections,
                host.page().Preview()->Requests(), static_cast<int>(host.page().Preview()->CurrentState()));
  PrintSlowestHandlers();
  if (getenv("QV_BENCH_TRACE")) PrintLongestDelays();
  std::printf("  a scroll and paint with the worker gone: at most %.1f ms\n", idlePaint);
  return RowsWithoutThumbnail(host) == 0 ? 0 : 1;
}

// Every thumbnail made first, then a screen of ready cells scrolled into view and painted
// again and again with no worker (QV_BENCH_ROUNDS times, 20 by default): the paint's own cost.
int PaintOnly(const std::string& folder) {
  std::unique_ptr<qvtest::HostedWallpaperPage> page = PageWithRows(qvtest::FindPictures(folder));
  qvtest::HostedWallpaperPage& host = *page;
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  host.Command(ID_VIEW_THUMBNAILS);
  for (int stuck = 0; RowsWithoutThumbnail(host) > 0 && stuck < 3;) {
    PumpFor(200, start, nullptr);
    if (!QueueIdle(host)) continue;
    const int before = RowsWithoutThumbnail(host);
    host.List().Send(LVM_SCROLL, 0, host.List().ClientRect().bottom);
    UpdateWindow(host.List().Handle());
    PumpFor(200, start, nullptr);
    stuck = RowsWithoutThumbnail(host) == before && QueueIdle(host) ? stuck + 1 : 0;
  }
  host.List().Send(LVM_SCROLL, 0, -100000);
  PumpFor(200, start, nullptr);
  const int rounds = getenv("QV_BENCH_ROUNDS") ? atoi(getenv("QV_BENCH_ROUNDS")) : 20;
  std::vector<double> wall;
  for (int round = 0; round < rounds; ++round) {
    const double began = Now(start);
    const RECT client = host.List().ClientRect();
    // QV_BENCH_NOSCROLL=1: the screen painted again in place, as when thumbnails arrive.
    if (getenv("QV_BENCH_NOSCROLL"))
      InvalidateRect(host.List().Handle(), nullptr, FALSE);
    else
      host.List().Send(LVM_SCROLL, 0, round % 2 ? -client.bottom : client.bottom);
    UpdateWindow(host.List().Handle());
    wall.push_back((Now(start) - began) / 1000);
    PumpFor(30, start, nullptr);
  }
  const double most = *std::max_element(wall.begin(), wall.end());
  std::printf("paint only: %d rows left without thumbnail; a %s of a screen, median of %d: %.1f ms, longest %.1f ms\n",
              RowsWithoutThumbnail(host), getenv("QV_BENCH_NOSCROLL") ? "paint" : "scroll and paint", rounds,
              Median(wall), most);
  // QV_BENCH_HOLD=SECONDS: the top of the list with rows 1 and 2 selected (2 focused) stays on
  // screen that long, for a screenshot of the cells.
  if (const char* hold = getenv("QV_BENCH_HOLD")) {
    host.List().Send(LVM_SCROLL, 0, -100000);
    host.List().Select(1, true);
    host.List().Select(2, true);
    host.List().Focus(2);
    SetFocus(host.List().Handle());
    std::printf("holding\n");
    std::fflush(stdout);
    for (DWORD begin = GetTickCount(); GetTickCount() - begin < static_cast<DWORD>(atoi(hold)) * 1000;)
      PumpFor(1000, start, nullptr);
  }
  return 0;
}

int FirstScreen(const std::vector<std::string>& files) {
  std::unique_ptr<qvtest::HostedWallpaperPage> page = PageWithRows(files);
  qvtest::HostedWallpaperPage& host = *page;
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  const long callsBefore = qv::ThumbnailGenerator::Shared().Calls();
  host.Command(ID_VIEW_THUMBNAILS);
  UpdateWindow(host.List().Handle());
  while (!QueueIdle(host) || qv::ThumbnailGenerator::Shared().Calls() == callsBefore) {
    PumpFor(50, start, nullptr);
    if (Now(start) > 600e6) break;
  }
  PumpFor(20, start, nullptr);
  const double ms = Now(start) / 1000;
  const long made = qv::ThumbnailGenerator::Shared().Calls() - callsBefore;
  std::printf("first screen: %ld thumbnails of %zu rows in %.0f ms, %.1f ms each\n", made, files.size(), ms,
              made ? ms / static_cast<double>(made) : 0.0);
  return made > 0 ? 0 : 1;
}

}  // namespace

// The ticks while a thread of our own makes thumbnails of FILE over and over, with no window
// painted: whether the decoding alone delays the window's thread.
int DecodeOnly(const std::string& file) {
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  const DWORD ui = GetCurrentThreadId();
  std::atomic<bool> done{false};
  std::atomic<int> made{0};
  platform::Thread ticker;
  ticker.Start([&] {
    while (!done) {
      PostThreadMessageA(ui, kTick, static_cast<WPARAM>(Now(start)), 0);
      Sleep(10);
    }
  });
  std::vector<double> idle, busy;
  for (DWORD begin = GetTickCount(); GetTickCount() - begin < 3000;) PumpFor(3000, start, &idle);
  std::atomic<bool> decoding{true};
  platform::Thread worker;
  worker.Start([&] {
    while (decoding) {
      HBITMAP bitmap = nullptr;
      int size[2] = {0, 0};
      if (qv::ThumbnailGenerator::Shared().Generate(file, 96, 96, &bitmap, size)) ++made;
      if (bitmap) DeleteObject(bitmap);
    }
  });
  for (DWORD begin = GetTickCount(); GetTickCount() - begin < 10000;) PumpFor(10000, start, &busy);
  decoding = false;
  worker.Join();
  done = true;
  ticker.Join();
  std::printf("decode only: %d thumbnails of %s\n", made.load(), file.c_str());
  PrintDelays("stall while idle", idle);
  PrintDelays("stall while a thread decodes", busy);
  return 0;
}

int main(int argc, char** argv) {
  if (argc < 3 || (std::strcmp(argv[1], "stall") && std::strcmp(argv[1], "first") && std::strcmp(argv[1], "preview") &&
                    std::strcmp(argv[1], "decode") && std::strcmp(argv[1], "paint"))) {
    std::fprintf(stderr, "usage: %s stall FOLDER | preview FOLDER | paint FOLDER | first FILE... | decode FILE\n", argv[0]);
    return 2;
  }
  if (!qvtest::LoadProgramLanguage("qveng.lng")) return 1;
  qv::InitInfoPickers();
  if (!qv::ThumbnailGenerator::Shared().Load(qvtest::DistFolder() + "kz.dll", nullptr)) {
    std::fprintf(stderr, "kz.dll not found beside the program\n");
    return 1;
  }
  if (!std::strcmp(argv[1], "stall")) return Stall(argv[2], false);
  if (!std::strcmp(argv[1], "preview")) return Stall(argv[2], true);
  if (!std::strcmp(argv[1], "decode")) return DecodeOnly(argv[2]);
  if (!std::strcmp(argv[1], "paint")) return PaintOnly(argv[2]);
  return FirstScreen(std::vector<std::string>(argv + 2, argv + argc));
}
