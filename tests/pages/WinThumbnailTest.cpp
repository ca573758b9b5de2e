// The thumbnail view with real photos: only rows that are drawn and visible reach the
// generator, scrolling brings the others, and no worker outlives its page.
#include <gtest/gtest.h>

#include "imageinfo/InfoPickers.h"
#include "pages/PagesRes.h"
#include "pages/ThumbnailGenerator.h"
#include "pages/ThumbnailQueue.h"
#include "tests/pages/PageTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace {

using qvtest::HostedWallpaperPage;

const char kPhotos[] = "Z:\\usr\\share\\backgrounds\\mate";

class ThumbnailViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(qvtest::LoadProgramLanguage("qveng.lng"));
    qv::InitInfoPickers();
    ASSERT_TRUE(qv::ThumbnailGenerator::Shared().Load(qvtest::DistFolder() + "kz.dll", nullptr));
    photos = qvtest::FindPictures(kPhotos);
    ASSERT_GE(photos.size(), 10u) << "the photos of Debian's mate-backgrounds are missing";
    live.wallpaper.items.clear();
    live.wallpaper.viewMode = 0;
  }
  // Pumps until the page's queue is idle (or a minute passes).
  static bool WaitIdle(HostedWallpaperPage& host) {
    for (int i = 0; i < 1200; ++i) {
      HostedWallpaperPage::Pump(50);
      UpdateWindow(host.List().Handle());
      if (host.page().Thumbnails().Pending() == 0 && !host.page().Thumbnails().WorkerRunning()) {
        HostedWallpaperPage::Pump(50);
        return true;
      }
    }
    return false;
  }
  static int VisibleRows(HostedWallpaperPage& host) {
    int visible = 0;
    for (int row = 0; row < host.List().Count(); ++row) visible += host.List().IsRowVisible(row) ? 1 : 0;
    return visible;
  }
  std::vector<std::string> photos;
  qv::PVoptionData live;
};

TEST_F(ThumbnailViewTest, OnlyVisibleRowsAreGeneratedAndScrollingBringsTheOthers) {
  HostedWallpaperPage host(live);
  for (int i = 0; i < 50; ++i) host.page().AddFileRow(photos[static_cast<size_t>(i) % photos.size()]);
  const long start = qv::ThumbnailGenerator::Shared().Calls();
  host.Command(ID_VIEW_THUMBNAILS);
  UpdateWindow(host.List().Handle());
  ASSERT_TRUE(WaitIdle(host));
  const int visible = VisibleRows(host);
  const long firstScreen = qv::ThumbnailGenerator::Shared().Calls() - start;
  EXPECT_GT(visible, 0);
  EXPECT_LT(visible, 50);
  EXPECT_EQ(firstScreen, visible) << "one generation per visible row, none for the others";
  for (int row = 0; row < 50; ++row) {
    const int state = host.page().Record(row)->thumbState;
    EXPECT_EQ(state, host.List().IsRowVisible(row) ? qv::kThumbReady : qv::kThumbNotMade) << row;
  }
  // The generator's picture size becomes the row's.
  EXPECT_GT(host.page().Record(0)->fields.width, 0);

  RECT client = host.List().ClientRect();
  host.List().Send(LVM_SCROLL, 0, client.bottom);
  UpdateWindow(host.List().Handle());
  ASSERT_TRUE(WaitIdle(host));
  const long afterScroll = qv::ThumbnailGenerator::Shared().Calls() - start;
  EXPECT_GT(afterScroll, firstScreen);
  EXPECT_LT(afterScroll, 50);
  for (int row = 0; row < 50; ++row)
    if (host.List().IsRowVisible(row)) EXPECT_EQ(host.page().Record(row)->thumbState, qv::kThumbReady) << row;
  std::printf("thumbnails: %d rows visible, %ld made for the first screen, %ld after one scroll\n",
              visible, firstScreen, afterScroll);
}

TEST_F(ThumbnailViewTest, PagesClosedWhileTheWorkerIsBusyLeaveNoWorkerRunning) {
  // The smallest photos, so that the thumbnail in progress at each close is quick.
  const std::vector<std::string> small = qvtest::SmallestFirst(photos);
  const int startedBefore = qv::ThumbnailQueue::AllWorkersStarted();
  for (int cycle = 0; cycle < 30; ++cycle) {
    HostedWallpaperPage host(live);
    for (int i = 0; i < 20; ++i) host.page().AddFileRow(small[static_cast<size_t>(i) % 4]);
    host.Command(ID_VIEW_THUMBNAILS);
    UpdateWindow(host.List().Handle());
    HostedWallpaperPage::Pump(cycle % 3 == 0 ? 0 : 20 * (cycle % 5));
    if (cycle % 2) ShowWindow(host.Host(), SW_HIDE);  // the window closes, then the page goes
  }
  const int started = qv::ThumbnailQueue::AllWorkersStarted() - startedBefore;
  EXPECT_GE(started, 30) << "every cycle started a worker";
  EXPECT_EQ(qv::ThumbnailQueue::AllWorkersStarted(), qv::ThumbnailQueue::AllWorkersEnded());
  std::printf("thumbnails: %d workers started and ended over 30 pages\n", started);
}

// Hiding the window stops the work after the thumbnail in progress.
TEST_F(ThumbnailViewTest, HidingTheWindowDropsTheQueuedRows) {
  HostedWallpaperPage host(live);
  for (int i = 0; i < 50; ++i) host.page().AddFileRow(photos[static_cast<size_t>(i) % photos.size()]);
  host.Command(ID_VIEW_THUMBNAILS);
  UpdateWindow(host.List().Handle());
  HostedWallpaperPage::Pump(30);
  ShowWindow(host.Host(), SW_HIDE);
  for (int i = 0; i < 600 && host.page().Thumbnails().WorkerRunning(); ++i) HostedWallpaperPage::Pump(50);
  EXPECT_FALSE(host.page().Thumbnails().WorkerRunning());
  EXPECT_EQ(host.page().Thumbnails().Pending(), 0u);
}

}  // namespace

// The cells as the list shows them, read back from the window: the two frames around the 96 x 96
// box, the selection band one pixel away from them on a selected row only, and the thumbnail
// centred in the box.
TEST_F(ThumbnailViewTest, CellsShowTheirFramesTheSelectionAndTheThumbnail) {
  HostedWallpaperPage host(live);
  for (int i = 0; i < 3; ++i) host.page().AddFileRow(photos[static_cast<size_t>(i)]);
  host.Command(ID_VIEW_THUMBNAILS);
  UpdateWindow(host.List().Handle());
  ASSERT_TRUE(WaitIdle(host));
  host.List().Select(1, true);
  UpdateWindow(host.List().Handle());
  HostedWallpaperPage::Pump(100);
  HDC dc = GetDC(host.List().Handle());
  const COLORREF back = GetPixel(dc, 1, 1);
  for (int row = 0; row < 2; ++row) {
    SCOPED_TRACE(row);
    ASSERT_EQ(host.page().Record(row)->thumbState, qv::kThumbReady);
    RECT icon{};
    ASSERT_TRUE(host.List().ItemRect(row, LVIR_ICON, &icon));
    const int x0 = icon.left + (icon.right - icon.left - 96) / 2, y0 = icon.top + (icon.bottom - icon.top - 96) / 2;
    EXPECT_EQ(GetPixel(dc, x0 - 1, y0 + 40), RGB(128, 128, 128));  // outer frame, left
    EXPECT_EQ(GetPixel(dc, x0 + 97, y0 + 40), RGB(0, 0, 0));       // outer frame, right
    EXPECT_EQ(GetPixel(dc, x0 + 40, y0), RGB(255, 255, 255));      // inner frame, top
    EXPECT_EQ(GetPixel(dc, x0 + 40, y0 + 96), RGB(192, 192, 192)); // inner frame, bottom
    EXPECT_EQ(GetPixel(dc, x0 - 2, y0 + 40), back);                // the gaps
    EXPECT_EQ(GetPixel(dc, x0 + 98, y0 + 40), back);
    const COLORREF band = row == 1 ? RGB(0, 0, 128) : back;
    for (int x : {x0 - 3, x0 - 5, x0 + 99, x0 + 101}) EXPECT_EQ(GetPixel(dc, x, y0 + 40), band) << x;
    EXPECT_EQ(GetPixel(dc, x0 + 40, y0 - 5), band);
    EXPECT_EQ(GetPixel(dc, x0 - 6, y0 + 40), back);  // nothing beyond the band
    // The thumbnail's own middle pixel in the middle of the box.
    HBITMAP thumbnail = host.page().Record(row)->thumbnail.Get();
    BITMAP info{};
    ASSERT_TRUE(GetObjectA(thumbnail, sizeof info, &info));
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, thumbnail);
    const COLORREF middle = GetPixel(memory, info.bmWidth / 2, info.bmHeight / 2);
    SelectObject(memory, old);
    DeleteDC(memory);
    EXPECT_EQ(GetPixel(dc, icon.left + (icon.right - icon.left - info.bmWidth) / 2 + info.bmWidth / 2,
                       icon.top + (icon.bottom - icon.top - info.bmHeight) / 2 + info.bmHeight / 2),
              middle);
  }
  ReleaseDC(host.List().Handle(), dc);
}
