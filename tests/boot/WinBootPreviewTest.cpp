// The boot screen preview under Wine, run modally while steps play in its own loop: what the
// window shows is the bitmap the boot screen changer writes, pixel for pixel; timer 100 moves
// the XP blocks and the 2000 band; the 9x form has no timer; full screen falls back whole.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "boot/ModifyBootScreen.h"
#include "boot/ui/BootScreenPreviewDlg.h"
#include "changers/ProgramPatch.h"
#include "core/WindowsGeneration.h"
#include "tests/boot/WinBootPageSupport.h"
#include "tests/boot/WinSystemFiles.h"
#include "tests/wizard/WinScript.h"

namespace {

using qv::BootScreenPreviewDlg;
using qvtest::Bytes;
using qvtest::ClientPixels;
using qvtest::Page;

// The packed bitmap the preview holds: header, colour table and rows.
Bytes Shown(const BootScreenPreviewDlg& preview) {
  const auto* dib = static_cast<const std::uint8_t*>(preview.Picture().GetDIB());
  return dib ? Bytes(dib, dib + preview.Picture().GetSize()) : Bytes();
}

// The two packed bitmaps agree in size, depth, colour table and every pixel.
void ExpectSameBitmap(const Bytes& shown, const Bytes& written) {
  ASSERT_EQ(shown.size(), written.size());
  for (std::size_t at : {4u, 8u})
    EXPECT_EQ(qvtest::U32(shown, at), qvtest::U32(written, at)) << "header field at " << at;
  EXPECT_EQ(qvtest::U16(shown, 14), qvtest::U16(written, 14));
  EXPECT_TRUE(std::equal(shown.begin() + 40, shown.end(), written.begin() + 40))
      << "palette or pixels differ";
}

// The colour of pixel (x, y) (top-down) of a 4-bit 640 x 480 packed bitmap.
std::uint32_t KernelBitmapColour(const Bytes& bitmap, int x, int y) {
  const std::size_t bits = 40 + 64, stride = 320;
  const std::uint8_t byte = bitmap[bits + (479 - y) * stride + x / 2];
  const int index = x % 2 == 0 ? byte >> 4 : byte & 15;
  const std::uint8_t* q = &bitmap[40 + 4 * index];
  return (static_cast<std::uint32_t>(q[2]) << 16) | (q[1] << 8) | q[0];
}

bool InSlotRow(int x, int y) { return y >= 354 && y <= 362 && x >= 260 && x < 260 + 8 * 15; }

// Runs the preview modally; each step gets the dialog window, the first once it has painted.
void RunPreview(BootScreenPreviewDlg& preview, std::vector<std::function<bool(HWND)>> steps) {
  std::vector<qvtest::Script::Step> wrapped;
  bool painted = false;
  wrapped.push_back([&] {
    HWND window = preview.Handle();
    if (!window || !IsWindowVisible(window)) return false;
    UpdateWindow(window);
    painted = true;
    return true;
  });
  for (auto& step : steps) wrapped.push_back([&preview, step] { return step(preview.Handle()); });
  wrapped.push_back([&] {
    PostMessageA(preview.Handle(), WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  qvtest::Script script(wrapped);
  EXPECT_EQ(preview.Show(nullptr), IDCANCEL);
  EXPECT_TRUE(painted);
  EXPECT_TRUE(script.Finished()) << script.StepsDone() << " steps done";
}

void Tick(HWND window) { SendMessageA(window, WM_TIMER, BootScreenPreviewDlg::kTimerId, 0); }

// The test drives timer 100 itself from here on; the ticks the system timer gave so far.
unsigned TakeOverTimer(HWND window, const BootScreenPreviewDlg& preview) {
  EXPECT_TRUE(KillTimer(window, BootScreenPreviewDlg::kTimerId)) << "2000 and XP start timer 100";
  return preview.Ticks();
}

class BootPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(qvtest::LoadProgramLanguage("qveng.lng"));
    Page() = qvtest::PageRecord();
    ASSERT_TRUE(kernel_.Install("ntoskrnl.exe"));
    qvtest::Remove(qv::KernelCopyPath());
    ASSERT_TRUE(qv::LoadChecksumService());
    generation_ = qv::WindowsGeneration;
  }
  void TearDown() override {
    qv::WindowsGeneration = generation_;
    qvtest::Remove(qv::KernelCopyPath());
    qvtest::Remove(qv::LogoSysPath());
  }
  // What the changer writes into the kernel copy's bitmap 1 for the photo on this generation.
  Bytes ChangerBitmap(int generation) {
    qv::WindowsGeneration = generation;
    EXPECT_TRUE(qv::ChangeBootScreen(photo_));
    return qvtest::ResourceOf(qvtest::ReadAll(qv::KernelCopyPath()), 2, 1);
  }

  const std::string photo_ = qvtest::WinePath(QV_JPEG_PICTURE);
  qvtest::SystemFileSwap kernel_{"ntoskrnl.exe"};
  int generation_ = qv::kWinUnknown;
};

// Rows 354 to 362 of slot i per tick, as palette entries from the top ("a" is 10).
std::string ExpectedSlot(unsigned tick, int slot) {
  const int p = static_cast<int>(tick % 18);
  if (slot == p - 2) return "38aa83333";
  if (slot == p - 1) return "38aa88333";
  if (slot == p) return "38aaa8833";
  return "000000000";
}

TEST_F(BootPreviewTest, XpShowsTheChangersBitmapAndThreeBlocksMovingOneSlotPerTick) {
  const Bytes written = ChangerBitmap(qv::kWinXP);
  ASSERT_EQ(written.size(), 40u + 64u + 153600u);
  BootScreenPreviewDlg preview(qvtest::TestPageServices(), qv::kWinXP);
  ASSERT_TRUE(preview.Load(photo_));
  ExpectSameBitmap(Shown(preview), written);

  std::vector<std::vector<std::uint32_t>> slotRows;  // per tick, the slot row's pixels
  RunPreview(preview, {[&](HWND window) {
    const unsigned base = TakeOverTimer(window, preview);
    const ClientPixels shown = qvtest::ReadClient(window);
    EXPECT_EQ(shown.width, 640);
    EXPECT_EQ(shown.height, 480);
    int differ = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        if (!InSlotRow(x, y) && shown.At(x, y) != KernelBitmapColour(written, x, y)) ++differ;
    EXPECT_EQ(differ, 0) << "pixels that differ from the written bitmap";
    for (unsigned tick = 0; tick <= 40; ++tick) {
      if (tick > 0) Tick(window);
      const ClientPixels now = qvtest::ReadClient(window);
      std::vector<std::uint32_t> row;
      for (int slot = 0; slot < 15; ++slot) {
        const int x = 260 + 8 * slot;
        const std::string expected = ExpectedSlot(base + tick, slot);
        for (int r = 0; r < 9; ++r) {
          const int index = expected[r] == 'a' ? 10 : expected[r] - '0';
          for (int dx = 0; dx < 6; ++dx) {
            EXPECT_EQ(now.At(x + dx, 354 + r), qvtest::Rgb(preview.Palette()[index]))
                << "tick " << tick << " slot " << slot << " row " << r;
            row.push_back(now.At(x + dx, 354 + r));
          }
          // The two columns between slots keep the picture.
          EXPECT_EQ(now.At(x + 6, 354 + r), KernelBitmapColour(written, x + 6, 354 + r));
        }
      }
      slotRows.push_back(row);
    }
    EXPECT_EQ(preview.Ticks(), base + 40);
    return true;
  }});
  ASSERT_EQ(slotRows.size(), 41u);
  for (int tick = 0; tick + 18 <= 40; ++tick)
    EXPECT_EQ(slotRows[tick], slotRows[tick + 18]) << "the cycle repeats every 18 ticks";
  EXPECT_NE(slotRows[1], slotRows[2]);
}

TEST_F(BootPreviewTest, On2000TheBandAt416MovesTenPixelsRightPerTickAndWraps) {
  const Bytes written = ChangerBitmap(qv::kWin2000);
  BootScreenPreviewDlg preview(qvtest::TestPageServices(), qv::kWin2000);
  ASSERT_TRUE(preview.Load(photo_));
  ExpectSameBitmap(Shown(preview), written);
  RunPreview(preview, {[&](HWND window) {
    const unsigned base = TakeOverTimer(window, preview);
    const ClientPixels first = qvtest::ReadClient(window);
    // The band as painted first (moved by the ticks the system timer gave before the test's).
    const int moved = static_cast<int>(base % 64) * 10;
    for (int x = 0; x < 640; x += 7)
      EXPECT_EQ(first.At(x, 420), KernelBitmapColour(written, (x - moved + 640) % 640, 420));
    for (unsigned tick = 1; tick <= 65; ++tick) {
      Tick(window);
      if (tick > 4 && tick < 62) continue;
      const ClientPixels now = qvtest::ReadClient(window);
      const int v = static_cast<int>(tick % 64) * 10;
      int differ = 0;
      for (int y = 416; y < 426; ++y)
        for (int x = 0; x < 640; ++x)
          if (now.At(x, y) != first.At((x - v + 640) % 640, y)) ++differ;
      EXPECT_EQ(differ, 0) << "tick " << tick;
      for (int x = 0; x < 640; x += 5) {
        EXPECT_EQ(now.At(x, 415), first.At(x, 415));
        EXPECT_EQ(now.At(x, 426), first.At(x, 426));
      }
    }
    return true;
  }});
}

// LOGO.SYS (a bitmap file) stretched to 640 x 480 as colour-on-colour drawing does, top-down.
std::vector<std::uint32_t> StretchedLogo(const Bytes& file) {
  const auto* info = reinterpret_cast<const BITMAPINFO*>(file.data() + 14);
  const std::uint8_t* bits = file.data() + qvtest::U32(file, 10);
  BITMAPINFO target{};
  target.bmiHeader.biSize = sizeof target.bmiHeader;
  target.bmiHeader.biWidth = 640;
  target.bmiHeader.biHeight = -480;
  target.bmiHeader.biPlanes = 1;
  target.bmiHeader.biBitCount = 32;
  void* pixels = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP section = CreateDIBSection(screen, &target, DIB_RGB_COLORS, &pixels, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, section);
  SetStretchBltMode(memory, COLORONCOLOR);
  StretchDIBits(memory, 0, 0, 640, 480, 0, 0, info->bmiHeader.biWidth, info->bmiHeader.biHeight, bits,
                info, DIB_RGB_COLORS, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(pixels);
  std::vector<std::uint32_t> out(p, p + 640 * 480);
  for (std::uint32_t& v : out) v &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return out;
}

TEST_F(BootPreviewTest, On98TheLogoPictureIsStretchedToTheWindowWithoutTimer) {
  qv::WindowsGeneration = qv::kWin98;
  ASSERT_TRUE(qv::ChangeBootScreen(photo_));
  const Bytes logo = qvtest::ReadAll(qv::LogoSysPath());
  ASSERT_GT(logo.size(), 14u);
  BootScreenPreviewDlg preview(qvtest::TestPageServices(), qv::kWin98);
  ASSERT_TRUE(preview.Load(photo_));
  ExpectSameBitmap(Shown(preview), Bytes(logo.begin() + 14, logo.end()));
  EXPECT_EQ(preview.Picture().GetWidth(), 320u);
  EXPECT_EQ(preview.Picture().GetHeight(), 400u);
  DWORD waitedFrom = 0;
  RunPreview(preview, {[&](HWND window) {
                         const ClientPixels shown = qvtest::ReadClient(window);
                         const std::vector<std::uint32_t> expected = StretchedLogo(logo);
                         int differ = 0;
                         for (std::size_t i = 0; i < expected.size(); ++i)
                           if (shown.rgb[i] != expected[i]) ++differ;
                         EXPECT_EQ(differ, 0) << "pixels unlike LOGO.SYS stretched to 640 x 480";
                         waitedFrom = GetTickCount();
                         return true;
                       },
                       [&](HWND window) {
                         if (GetTickCount() - waitedFrom < 400) return false;
                         EXPECT_EQ(preview.Ticks(), 0u);
                         EXPECT_FALSE(KillTimer(window, BootScreenPreviewDlg::kTimerId)) << "no timer on 98";
                         return true;
                       }});
}

struct WindowState {
  RECT rect;
  LONG_PTR style, exStyle;
  DEVMODEA mode;
};

WindowState StateOf(HWND window) {
  WindowState s{};
  GetWindowRect(window, &s.rect);
  s.style = GetWindowLongPtrA(window, GWL_STYLE);
  s.exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
  s.mode.dmSize = sizeof s.mode;
  EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &s.mode);
  return s;
}

void ExpectRestored(const WindowState& before, HWND window) {
  const WindowState after = StateOf(window);
  EXPECT_TRUE(EqualRect(&before.rect, &after.rect));
  EXPECT_EQ(before.style, after.style);
  EXPECT_EQ(before.exStyle, after.exStyle);
  EXPECT_EQ(before.mode.dmPelsWidth, after.mode.dmPelsWidth);
  EXPECT_EQ(before.mode.dmPelsHeight, after.mode.dmPelsHeight);
  EXPECT_EQ(before.mode.dmBitsPerPel, after.mode.dmBitsPerPel);
  EXPECT_EQ(GetCapture(), nullptr);
}

// Alt+Enter as the keyboard sends it: the Alt context bit set, not a repeat.
void AltEnter(HWND window) { SendMessageA(window, WM_SYSKEYDOWN, VK_RETURN, (1 << 29) | 1); }

TEST_F(BootPreviewTest, AFailingStepIntoFullScreenReleasesWhatWasMadeAndRestoresTheWindow) {
  for (int failing = qv::FullScreenDisplay::kLoadLibrary; failing < qv::FullScreenDisplay::kStepCount;
       ++failing) {
    Page().messages.clear();
    BootScreenPreviewDlg preview(qvtest::TestPageServices(), qv::kWinXP);
    ASSERT_TRUE(preview.Load(photo_));
    preview.Display().FailAtStep(failing);
    RunPreview(preview, {[&](HWND window) {
      const WindowState before = StateOf(window);
      // The title bar's double click takes the same way in as Alt+Enter.
      if (failing % 2) AltEnter(window); else SendMessageA(window, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
      EXPECT_FALSE(preview.IsFullScreen());
      EXPECT_EQ(Page().messages, (std::vector<std::string>{"0024"})) << "step " << failing;
      ExpectRestored(before, window);
      // Undone last made first; the steps before the failing one (the first four succeed
      // on any Wine desktop, the display mode only in a virtual desktop).
      const std::vector<int>& undone = preview.Display().Undone();
      for (std::size_t i = 0; i < undone.size(); ++i)
        EXPECT_EQ(undone[i], static_cast<int>(undone.size() - i)) << "step " << failing;
      if (failing <= qv::FullScreenDisplay::kDisplayMode)
        EXPECT_EQ(undone.size(), static_cast<std::size_t>(failing - 1)) << "step " << failing;
      else
        EXPECT_GE(undone.size(), 4u);
      return true;
    }});
  }
}

// Without a mode change the preview says so and stays whole in its window; inside a Wine virtual
// desktop (QV_VIRTUAL_DESKTOP=1) it goes to 640 x 480 x 8 and any key brings everything back.
TEST_F(BootPreviewTest, AltEnterGoesFullScreenOrFallsBackAndAKeyComesBack) {
  const bool virtualDesktop = std::getenv("QV_VIRTUAL_DESKTOP") != nullptr;
  BootScreenPreviewDlg preview(qvtest::TestPageServices(), qv::kWinXP);
  ASSERT_TRUE(preview.Load(photo_));
  WindowState before{};
  DWORD enteredAt = 0;
  RunPreview(preview, {[&](HWND window) {
                         const unsigned base = TakeOverTimer(window, preview);
                         before = StateOf(window);
                         AltEnter(window);
                         if (!virtualDesktop) {
                           EXPECT_FALSE(preview.IsFullScreen());
                           EXPECT_EQ(Page().messages, (std::vector<std::string>{"0024"}));
                           ExpectRestored(before, window);
                           return true;
                         }
                         EXPECT_TRUE(preview.IsFullScreen());
                         EXPECT_TRUE(Page().messages.empty());
                         const WindowState full = StateOf(window);
                         EXPECT_EQ(full.mode.dmPelsWidth, 640u);
                         EXPECT_EQ(full.mode.dmPelsHeight, 480u);
                         EXPECT_EQ(full.mode.dmBitsPerPel, 8u);
                         EXPECT_EQ(full.rect.left, 0);
                         EXPECT_EQ(full.rect.top, 0);
                         EXPECT_EQ(full.rect.right, 640);
                         EXPECT_EQ(full.rect.bottom, 480);
                         EXPECT_EQ(GetCapture(), window);
                         Tick(window);  // drawn on the primary surface
                         EXPECT_EQ(preview.Ticks(), base + 1);
                         enteredAt = GetTickCount();
                         return true;
                       },
                       [&](HWND window) {
                         if (!virtualDesktop) return true;
                         if (GetTickCount() - enteredAt < 500) return false;
                         // A repeat of the Enter key is no new press; the next key leaves.
                         SendMessageA(window, WM_SYSKEYDOWN, VK_RETURN, (1 << 30) | (1 << 29) | 1);
                         EXPECT_TRUE(preview.IsFullScreen());
                         SendMessageA(window, WM_KEYDOWN, 'A', 1);
                         EXPECT_FALSE(preview.IsFullScreen());
                         ExpectRestored(before, window);
                         // A button press leaves too; Esc only leaves, the dialog stays.
                         AltEnter(window);
                         EXPECT_TRUE(preview.IsFullScreen());
                         SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
                         EXPECT_FALSE(preview.IsFullScreen());
                         EXPECT_TRUE(IsWindow(window));
                         AltEnter(window);
                         SendMessageA(window, WM_RBUTTONDOWN, 0, 0);
                         EXPECT_FALSE(preview.IsFullScreen());
                         ExpectRestored(before, window);
                         return true;
                       }});
}

// On 95, 98 and Me a display that refuses 640 x 400 is asked for 640 x 480 before "0024"; a
// failure at another step is not tried again, and 2000 and XP ask for 640 x 480 only.
TEST_F(BootPreviewTest, The98PreviewTries640x480WhenTheDisplayRefuses640x400) {
  qv::WindowsGeneration = qv::kWin98;
  ASSERT_TRUE(qv::ChangeBootScreen(photo_));
  const auto tried = [](const qv::FullScreenDisplay& display) {
    std::string modes;
    for (const SIZE& mode : display.ModesTried())
      modes += std::to_string(mode.cx) + "x" + std::to_string(mode.cy) + " ";
    return modes;
  };
  struct Case {
    int generation;
    int failAt;
    const char* modes;
  } cases[] = {
      {qv::kWin98, qv::FullScreenDisplay::kDisplayMode, "640x400 640x480 "},
      {qv::kWin98, qv::FullScreenDisplay::kCooperativeLevel, ""},  // no mode asked, none retried
      {qv::kWinXP, qv::FullScreenDisplay::kDisplayMode, "640x480 "},
  };
  for (const Case& c : cases) {
    Page().messages.clear();
    BootScreenPreviewDlg preview(qvtest::TestPageServices(), c.generation);
    ASSERT_TRUE(preview.Load(photo_));
    preview.Display().FailAtStep(c.failAt);
    RunPreview(preview, {[&](HWND window) {
      AltEnter(window);
      EXPECT_FALSE(preview.IsFullScreen());
      EXPECT_EQ(Page().messages, (std::vector<std::string>{"0024"})) << "one message after both modes";
      EXPECT_EQ(tried(preview.Display()), c.modes) << c.generation << " failing at " << c.failAt;
      return true;
    }});
  }
  // Left to the display: Xvfb's desktop refuses both modes by itself.
  Page().messages.clear();
  BootScreenPreviewDlg preview(qvtest::TestPageServices(), qv::kWin98);
  ASSERT_TRUE(preview.Load(photo_));
  RunPreview(preview, {[&](HWND window) {
    AltEnter(window);
    EXPECT_EQ(tried(preview.Display()), "640x400 640x480 ");
    EXPECT_EQ(Page().messages, (std::vector<std::string>{"0024"}));
    return true;
  }});
}

TEST_F(BootPreviewTest, AKernelFilesBitmap1IsShownAsItIsWithItsPalette) {
  BootScreenPreviewDlg preview(qvtest::TestPageServices(), qv::kWinXP);
  const std::string kernel = qvtest::FixtureFolder() + "ntoskrnl.exe";
  ASSERT_TRUE(preview.Load(kernel));
  const Bytes bitmap = qvtest::ResourceOf(qvtest::ReadAll(kernel), 2, 1);
  ASSERT_EQ(bitmap.size(), 40u + 64u + 153600u);
  for (int i = 0; i < 16; ++i) {
    const std::uint32_t entry = (bitmap[40 + 4 * i + 2] << 16) | (bitmap[40 + 4 * i + 1] << 8) | bitmap[40 + 4 * i];
    EXPECT_EQ(qvtest::Rgb(preview.Palette()[i]), entry) << "entry " << i;
  }
  int differ = 0;
  for (int y = 0; y < 480; y += 2)
    for (int x = 0; x < 640; x += 2) {
      const CxRgbQuad c = preview.Picture().GetPixelColor(x, 479 - y);
      if (static_cast<std::uint32_t>((c.rgbRed << 16) | (c.rgbGreen << 8) | c.rgbBlue) !=
          KernelBitmapColour(bitmap, x, y))
        ++differ;
    }
  EXPECT_EQ(differ, 0);
  EXPECT_FALSE(preview.Load(qvtest::FixtureFolder() + "logonui.exe")) << "no bitmap 1";
  EXPECT_FALSE(preview.Load("C:\\no-extension"));
  EXPECT_FALSE(preview.Load("C:\\picture.xyz"));
  EXPECT_TRUE(Page().messages.empty()) << "only a picture that does not decode is named";
}

}  // namespace
