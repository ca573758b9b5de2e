// The preview monitor of the picture pages under Wine, through the real controls: rows selected
// as the list reports it, the position combo changed as the user's choice sends it, and the
// monitor's painted pixels read back from its window at known points. The pictures are quadrant
// bitmaps written here, so that each point has one right colour; Fill then runs the real
// changer from the page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "changers/ImagePreparation.h"
#include "changers/ModifyWallpaper.h"
#include "core/ChangeLists.h"
#include "image/CxImage.h"
#include "imageinfo/InfoPickers.h"
#include "pages/IESkinPage.h"
#include "pages/LogonScreenPage.h"
#include "pages/PagesRes.h"
#include "tests/pages/PageTestSupport.h"

namespace {

using qvtest::HostedWallpaperPage;
using qvtest::Page;

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
                   kYellow = RGB(255, 255, 0), kCyan = RGB(0, 255, 255), kMagenta = RGB(255, 0, 255),
                   kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

// A BMP of width x height in four quadrants: top-left, top-right, bottom-left, bottom-right.
std::string QuadrantPicture(const std::string& folder, const char* name, int width, int height,
                            const COLORREF (&colours)[4]) {
  CxImage image;
  image.Create(width, height, 24, CXIMAGE_FORMAT_BMP);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool top = y >= height / 2;  // the block's rows count from the bottom
      const COLORREF c = colours[(top ? 0 : 2) + (x >= width / 2 ? 1 : 0)];
      image.SetPixelColor(x, y, CxRgbQuad{GetBValue(c), GetGValue(c), GetRValue(c), 0});
    }
  const std::string path = folder + "\\" + name;
  EXPECT_TRUE(image.Save(path.c_str(), CXIMAGE_FORMAT_BMP)) << path;
  return path;
}

// Each channel within tolerance: the monitor averages where it shrinks.
bool Near(COLORREF got, COLORREF want, int tolerance) {
  return std::abs(GetRValue(got) - GetRValue(want)) <= tolerance &&
         std::abs(GetGValue(got) - GetGValue(want)) <= tolerance &&
         std::abs(GetBValue(got) - GetBValue(want)) <= tolerance;
}

// Pumps until the monitor is no longer loading (10 s at most), then paints it.
const qv::PreviewMonitor& Settled(const qv::ImageSetupPage& page) {
  const qv::PreviewMonitor* monitor = page.Preview();
  EXPECT_NE(monitor, nullptr);
  for (DWORD start = GetTickCount(); GetTickCount() - start < 10000;) {
    qvtest::PageHost::Pump(20);
    if (monitor->CurrentState() != qv::PreviewMonitor::kLoading) break;
  }
  RedrawWindow(monitor->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return *monitor;
}

// What the monitor's window shows, and where its screen lies.
struct Shot {
  HWND window = nullptr;
  RECT screen{};
  COLORREF At(int x, int y) const {
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
  }
  int Width() const { return screen.right - screen.left; }
  int Height() const { return screen.bottom - screen.top; }
  // A point a fraction across and down the screen.
  COLORREF Inside(double fx, double fy) const {
    return At(screen.left + static_cast<int>(fx * (Width() - 1)), screen.top + static_cast<int>(fy * (Height() - 1)));
  }
};

Shot Look(const qv::PreviewMonitor& monitor) {
  Shot shot;
  shot.window = monitor.Handle();
  RECT client{};
  GetClientRect(shot.window, &client);
  shot.screen = monitor.ScreenArea(client);
  return shot;
}

class PreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(qvtest::StartPageTest(&live));
    live.wallpaper.positionMode = qv::kFitToScreen;
    folder = qvtest::PageTempFolder("preview");
    // 16:9 and portrait, each quadrant its own colour.
    wide = QuadrantPicture(folder, "wide.bmp", 160, 90, {kRed, kGreen, kBlue, kYellow});
    tall = QuadrantPicture(folder, "tall.bmp", 90, 160, {kCyan, kMagenta, kWhite, kBlack});
    pictures = folder + "\\inner";
    CreateDirectoryA(pictures.c_str(), nullptr);
    QuadrantPicture(pictures, "only.bmp", 64, 48, {kMagenta, kMagenta, kMagenta, kMagenta});
  }
  static void ChoosePosition(HostedWallpaperPage& host, int mode) {
    HWND combo = GetDlgItem(host.Window(), IDC_POSITION);
    SendMessageA(combo, CB_SETCURSEL, mode, 0);
    SendMessageA(host.Window(), WM_COMMAND, MAKEWPARAM(IDC_POSITION, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  }
  qv::PVoptionData live;
  std::string folder, wide, tall, pictures;
};

TEST_F(PreviewTest, WallpaperFollowsTheSelectionAndThePositionAtOnce) {
  ASSERT_EQ(1024, GetSystemMetrics(SM_CXSCREEN)) << "the test display is 1024 x 768";
  HostedWallpaperPage host(live);
  host.page().AddFileRow(wide);
  host.page().AddFileRow(tall);
  host.page().AddFolderRow(folder + "\\inner", false);
  host.page().AddFileRow(folder + "\\missing.bmp");
  const COLORREF desktop = GetSysColor(COLOR_DESKTOP);
  ASSERT_EQ(Settled(host.page()).CurrentState(), qv::PreviewMonitor::kEmpty) << "nothing selected";

  host.SelectRows({true, false, false, false});
  const qv::PreviewMonitor& monitor = Settled(host.page());
  ASSERT_EQ(monitor.CurrentState(), qv::PreviewMonitor::kReady);
  Shot shot = Look(monitor);
  ASSERT_GT(shot.Width(), 40);
  EXPECT_NEAR(shot.Width() * 3.0 / 4.0, shot.Height(), 1.0) << "the screen's 4:3";
  // Fit to screen (the list's mode): 16:9 on 4:3, bars of the desktop colour above and below.
  EXPECT_EQ(shot.Inside(0.5, 0.02), desktop);
  EXPECT_PRED3(Near, shot.Inside(0.02, 0.3), kRed, 24);
  EXPECT_PRED3(Near, shot.Inside(0.98, 0.7), kYellow, 24);
  EXPECT_EQ(shot.Inside(0.5, 0.98), desktop);
  const int before = monitor.Requests();

  struct ModeCase {
    int mode;
    double fx, fy;
    COLORREF want;
  } cases[] = {
      {qv::kFillScreen, 0.01, 0.01, kRed},     // no bars: the corners are the picture's
      {qv::kFillScreen, 0.99, 0.99, kYellow},
      {qv::kFillScreen, 0.25, 0.01, kRed},     // the sides were cut, the top kept
      {qv::kPositionStretch, 0.01, 0.99, kBlue},
      {qv::kPositionStretch, 0.99, 0.01, kGreen},
      {qv::kPositionCenter, 0.02, 0.02, desktop},  // 160 x 90 on 1024 x 768: a small middle
      {qv::kPositionCenter, 0.98, 0.98, desktop},
      {qv::kPositionTile, 0.0, 0.0, kRed},      // tiles from the top-left corner
  };
  for (const ModeCase& c : cases) {
    ChoosePosition(host, c.mode);
    Settled(host.page());
    EXPECT_PRED3(Near, shot.Inside(c.fx, c.fy), c.want, 24) << "mode " << c.mode << " at " << c.fx << "," << c.fy;
  }
  // Centre: the picture at its own size scaled with the screen, its middle at the screen's.
  ChoosePosition(host, qv::kPositionCenter);
  Settled(host.page());
  EXPECT_NE(shot.Inside(0.5, 0.5), desktop);
  // Tile: the second tile starts one scaled picture width to the right, with its red corner.
  ChoosePosition(host, qv::kPositionTile);
  Settled(host.page());
  const int tile = 160 * shot.Width() / 1024;
  EXPECT_PRED3(Near, shot.At(shot.screen.left + tile + 1, shot.screen.top + 1), kRed, 24);
  EXPECT_PRED3(Near, shot.At(shot.screen.left + tile - 2, shot.screen.top + 1), kGreen, 24);
  EXPECT_EQ(monitor.Requests(), before) << "a position only repaints";
  EXPECT_EQ(monitor.Look().positionMode, qv::kPositionTile);

  // The portrait photo filling the screen: its top and bottom cut, no bars at the sides.
  ChoosePosition(host, qv::kFillScreen);
  host.SelectRows({false, true, false, false});
  ASSERT_EQ(Settled(host.page()).CurrentState(), qv::PreviewMonitor::kReady);
  EXPECT_PRED3(Near, shot.Inside(0.01, 0.01), kCyan, 24);
  EXPECT_PRED3(Near, shot.Inside(0.99, 0.99), kBlack, 24);
  EXPECT_PRED3(Near, shot.Inside(0.99, 0.4), kMagenta, 24) << "the upper half reaches below the middle";

  // A folder row: its first picture; a row that does not load: its icon on the desktop colour.
  host.SelectRows({false, false, true, false});
  ASSERT_EQ(Settled(host.page()).CurrentState(), qv::PreviewMonitor::kReady);
  EXPECT_PRED3(Near, shot.Inside(0.5, 0.5), kMagenta, 24);
  host.SelectRows({false, false, false, true});
  ASSERT_EQ(Settled(host.page()).CurrentState(), qv::PreviewMonitor::kRefused);
  EXPECT_EQ(shot.Inside(0.02, 0.02), desktop);
  int marked = 0;
  for (double f = 0.4; f <= 0.6; f += 0.02) marked += shot.Inside(f, 0.5) != desktop;
  EXPECT_GT(marked, 2) << "the row's icon in the middle";

  // The first selected row is the one shown; none selected empties the screen.
  host.SelectRows({true, true, false, false});
  ASSERT_EQ(Settled(host.page()).CurrentState(), qv::PreviewMonitor::kReady);
  EXPECT_EQ(monitor.Row().path, wide);
  host.SelectRows({false, false, false, false});
  EXPECT_EQ(Settled(host.page()).CurrentState(), qv::PreviewMonitor::kEmpty);
}

// Fill from the page: "Set As Current" with the combo on "Fill Screen" writes the screen's size
// with the corners of the photo's picture, not bars.
TEST_F(PreviewTest, FillFromThePageWritesTheScreensSizeWithoutBars) {
  Page().modifyWallpaper = &qv::ModifyWallpaper;
  HostedWallpaperPage host(live);
  host.page().AddFileRow(wide);
  ChoosePosition(host, qv::kFillScreen);
  host.SelectRows({true});
  host.Command(IDC_SET_CURRENT);
  HostedWallpaperPage::Pump(500);
  ASSERT_EQ(Page().wallpapers.size(), 1u);
  CxImage written;
  ASSERT_TRUE(written.Load(qv::ChangerOutputPath("qvwallpa.bmp").c_str(), CXIMAGE_FORMAT_BMP));
  ASSERT_EQ(written.GetWidth(), 1024u);
  ASSERT_EQ(written.GetHeight(), 768u);
  // Rows count from the bottom: (0, 767) is the top-left corner.
  const struct {
    long x, y;
    COLORREF want;
  } points[] = {{0, 767, kRed}, {1023, 767, kGreen}, {0, 0, kBlue}, {1023, 0, kYellow},
                {500, 394, kRed}, {524, 374, kYellow}};  // around the middle: cut evenly
  for (const auto& p : points) {
    const CxRgbQuad c = written.GetPixelColor(p.x, p.y);
    EXPECT_EQ(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue), p.want) << p.x << "," << p.y;
  }
}

TEST_F(PreviewTest, LogonShowsThePictureFittedOnThePagesColour) {
  live.logonScreen.items.clear();
  live.logonScreen.viewMode = 0;
  live.logonScreen.backgroundColour = RGB(0, 128, 0);
  qvtest::HostedPage<qv::LogonScreenPage> host(live);
  host.page().AddFileRow(wide);
  host.SelectRows({true});
  ASSERT_EQ(Settled(host.page()).CurrentState(), qv::PreviewMonitor::kReady);
  Shot shot = Look(*host.page().Preview());
  EXPECT_EQ(shot.Inside(0.5, 0.02), RGB(0, 128, 0)) << "the band above the fitted picture";
  EXPECT_PRED3(Near, shot.Inside(0.02, 0.3), kRed, 24);
  EXPECT_PRED3(Near, shot.Inside(0.98, 0.7), kYellow, 24);
}

TEST_F(PreviewTest, SkinTilesTheBitmapAtItsOwnSizeFromTheLeft) {
  live.ieSkin.items.clear();
  live.ieSkin.viewMode = 0;
  const std::string skin = QuadrantPicture(folder, "skin.bmp", 20, 20, {kRed, kGreen, kBlue, kYellow});
  qvtest::HostedPage<qv::IESkinPage> host(live);
  host.page().AddFileRow(skin);
  host.SelectRows({true});
  ASSERT_EQ(Settled(host.page()).CurrentState(), qv::PreviewMonitor::kReady);
  Shot shot = Look(*host.page().Preview());
  const int x = shot.screen.left, y = shot.screen.top;
  // Left of the first button frame and below it: the tiles' quadrants at 1:1.
  EXPECT_EQ(shot.At(x + 1, y + 31), kBlue) << "rows 30..39: the bottom half of the second row of tiles";
  EXPECT_EQ(shot.At(x + 1, y + 41), kRed);
  EXPECT_EQ(shot.At(x + 31, y + 41), kGreen);
  EXPECT_EQ(shot.At(x + 51, y + 51), kYellow);
}

}  // namespace
