// Keyboard shortcuts as menus show them ("Strg+A", "Einfg", "Alt+F4"): read from their
// text and written back in the German form the system shows.
#pragma once

#include <cstdint>
#include <string>

namespace reminder {

struct TShortCut {
  uint16_t Key = 0;  // Windows virtual-key code; 0 for no shortcut
  bool Ctrl = false;
  bool Shift = false;
  bool Alt = false;
};

// Reads modifiers and one key joined by "+". German key names ("Strg", "Umsch", "Einfg",
// "Entf", "Pos1", "Bild auf", ...) and their English forms ("Ctrl", "Shift", "Ins", "Del")
// are understood, in any letter case. False for an empty or unknown text.
bool ParseShortCut(const std::string& text, TShortCut& result);

// "Strg+Umsch+Alt+" as needed, then the key's German name; empty for no key.
std::string ShortCutText(const TShortCut& shortCut);

}  // namespace reminder
