#pragma once

#include <string>
#include <vector>

namespace kestrel {

// One entry of the menu bar: a command item, a submenu or a separator.
struct MenuEntry {
  enum Kind { Command, Submenu, Separator };
  Kind kind = Command;
  int id = 0;                       // command number (Command only)
  std::string text;                 // as shown
  std::string key;                  // accelerator ("F5", "Space", "T", ...), empty for none
  bool explanation = false;         // greyed text that explains, no handler
  std::vector<MenuEntry> children;  // Submenu only
};

// The menu bar, top-level menus in order.
const std::vector<MenuEntry>& MenuBar();

// The pop-up menus of the two tool-bar drop-down buttons.
const std::vector<MenuEntry>& PatternPopup();  // 176: pattern downloads
const std::vector<MenuEntry>& SpeedPopup();    // 155: speeds and the rewind

// Accelerators: single keys to commands.
struct Accelerator {
  const char* key;
  int id;
};
const std::vector<Accelerator>& Accelerators();

// The tool bar's buttons in order; id 0 is a separator.
struct ToolButton {
  int id;
  const char* text;
};
const std::vector<ToolButton>& ToolBar();

// Finds a command entry anywhere in the menu bar; null when absent.
const MenuEntry* FindMenuCommand(int id);

}  // namespace kestrel
