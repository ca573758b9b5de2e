// A button that shows a colour and drops down a named palette of colours, with a "More Colours..."
// entry that opens the system's colour dialog. The button is owner-drawn (BS_OWNERDRAW in the
// template): its parent hands WM_DRAWITEM to Draw, the button's click to ShowPalette, and the
// palette's commands (which go to the parent like any menu's) to Choose.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "widgets/Window.h"

namespace widgets {

struct NamedColour {
  COLORREF colour;
  const char* name;  // the English text, which is also its language key
};

class ColourPicker : public Window {
 public:
  // The palette's commands: one per named colour from kFirstColourCommand, then "More Colours...".
  static constexpr int kFirstColourCommand = 38000;
  static constexpr int kPaletteSize = 40;
  static constexpr int kMoreColoursCommand = kFirstColourCommand + kPaletteSize;
  static const NamedColour kPalette[kPaletteSize];
  static constexpr char kMoreColoursKey[] = "More Colours...";

  ColourPicker() = default;

  COLORREF Colour() const { return colour_; }
  void SetColour(COLORREF colour);
  // Where the entries' texts come from (key -> text, "" for the key itself); English by default.
  void SetTexts(std::function<std::string(const char* key)> texts) { texts_ = std::move(texts); }

  void Draw(const DRAWITEMSTRUCT& item) const;
  // Drops down the palette below the button; the chosen entry's command goes to owner.
  void ShowPalette(HWND owner) const;
  static bool IsPaletteCommand(int id) {
    return id >= kFirstColourCommand && id <= kMoreColoursCommand;
  }
  // Takes a palette command: a named colour, or the system's colour dialog (owned by owner).
  // True when the colour changed.
  bool Choose(int id, HWND owner);

 private:
  std::string EntryText(const char* key) const;

  COLORREF colour_ = RGB(0, 0, 0);
  COLORREF custom_[16] = {};  // the colour dialog's own custom colours, kept between uses
  std::function<std::string(const char*)> texts_;
};

}  // namespace widgets
