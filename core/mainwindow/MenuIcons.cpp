#include "core/mainwindow/MenuIcons.h"

#include "core/mainwindow/MainWindowRes.h"

namespace qv {
namespace {

// A small icon of one of the system's frame glyphs (DFC_SCROLL or DFC_CAPTION, state bits).
HICON GlyphIcon(UINT kind, UINT state) {
  const int side = widgets::SmallIconSide();
  qv::ScopedDC screen(nullptr);
  HDC dc = ::CreateCompatibleDC(screen.Get());
  qv::ScopedGdiObj<HBITMAP> colour(::CreateCompatibleBitmap(screen.Get(), side, side));
  qv::ScopedGdiObj<HBITMAP> mask(::CreateBitmap(side, side, 1, 1, nullptr));
  if (!dc || !colour || !mask) {
    if (dc) ::DeleteDC(dc);
    return nullptr;
  }
  RECT all{0, 0, side, side};
  HGDIOBJ previous = ::SelectObject(dc, colour.Get());
  ::DrawFrameControl(dc, &all, kind, state | DFCS_FLAT);
  ::SelectObject(dc, mask.Get());
  ::PatBlt(dc, 0, 0, side, side, BLACKNESS);  // the whole square is drawn
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);
  ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
  return ::CreateIconIndirect(&info);
}

}  // namespace

MenuIcons::MenuIcons(HINSTANCE instance)
    : program_(static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                               widgets::SmallIconSide(), widgets::SmallIconSide(),
                                               LR_DEFAULTCOLOR | LR_SHARED))),
      previous_(GlyphIcon(DFC_SCROLL, DFCS_SCROLLLEFT)),
      next_(GlyphIcon(DFC_SCROLL, DFCS_SCROLLRIGHT)),
      screenSaver_(GlyphIcon(DFC_CAPTION, DFCS_CAPTIONMAX)) {
  for (UINT command : {ID_CONFIGURE, ID_PREFERENCES, ID_ABOUT, ID_HOMEPAGE, ID_HELP_CONTENTS,
                       ID_CLOSE_CONFIGURE})
    menu_.SetIcon(command, program_);
  menu_.SetIcon(ID_PREVIOUS_WALLPAPER, previous_.Get());
  menu_.SetIcon(ID_PREVIOUS_IESKIN, previous_.Get());
  menu_.SetIcon(ID_NEXT_WALLPAPER, next_.Get());
  menu_.SetIcon(ID_NEXT_IESKIN, next_.Get());
  menu_.SetIcon(ID_START_SCREENSAVER, screenSaver_.Get());
  menu_.SetIcon(ID_TOGGLE_SCREENSAVER, screenSaver_.Get());
}

}  // namespace qv
