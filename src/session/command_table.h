#pragma once
// The player's commands, one row each: its identifier, the words its menu items show,
// its key, where its items stand in the menu bar and the context menu, and when they are
// enabled and checked. The menus, the accelerators and the menus' states are all made
// from this table; what a command does is the shell's (commands_win.cpp).
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "playback/play_state.h"
#include "session/command_ids.h"
#include "session/menu_items.h"
#include "session/shell_state.h"
#include "session/ui_texts.h"

// A key as Windows numbers it (a virtual-key code), with its modifiers. Key 0: none.
struct TKeyChord {
  uint16_t Key = 0;
  bool Control = false;
  bool Alt = false;
  bool Shift = false;
  bool operator==(const TKeyChord&) const = default;
};

// The virtual-key codes of the table's keys that are not a letter or a digit.
constexpr uint16_t kKeyEnter = 0x0D, kKeyEnd = 0x23, kKeyHome = 0x24, kKeyLeft = 0x25, kKeyRight = 0x27,
                   kKeyComma = 0xBC, kKeyPeriod = 0xBE;
constexpr uint16_t KeyF(int n) { return static_cast<uint16_t>(0x6F + n); }

// How the key is written behind a menu item: "Ctrl+O", "Alt+Left", "Ctrl+,", "Shift+F3";
// or as aria-keyshortcuts names it: "Control+O", "Alt+ArrowLeft".
enum class TKeyNames { kMenu, kAria };
std::string ShortcutText(TKeyChord chord, TKeyNames names = TKeyNames::kMenu);

// Where a command's item stands: a drop-down of the menu bar and its position there, a
// separator counting as one.
struct TMenuPlace {
  TMenuId Menu;
  int32_t Position;
};

// What the menus' states are decided from.
struct TCommandContext {
  TPlayState PlayState;
  const TShellState& Shell;
  // The film's number of segments; absent when no segment list exists (the start-up
  // file could not be opened).
  std::optional<int32_t> SegmentCount;
};
// Whether an item is enabled, or checked; absent: it keeps its current state.
using TItemRule = std::optional<bool> (*)(const TCommandContext&);

// "..." behind an item that opens a box, in the built-in texts (never under a film's
// table). The Russian menu bar has always shown File > Load without them.
enum class TBoxDots : uint8_t { kNone, kEverywhere, kNotInTheRussianBar };

struct TCommand {
  int32_t Id;
  // How the page names the command.
  const char* Name;
  // The item's words, for a command with an item. Help shows the help item's own text,
  // and the context menu says Close for Exit (ui_texts.cpp).
  std::optional<TMenuText> Text = std::nullopt;
  TKeyChord Key = {};
  std::optional<TMenuPlace> Bar = std::nullopt;
  // The item's position in the context menu.
  std::optional<int32_t> Context = std::nullopt;
  TItemRule Enabled = nullptr;
  TItemRule Checked = nullptr;
  TBoxDots Dots = TBoxDots::kNone;
  // The key is the system's (Alt+F4 closes the window), shown but not the player's own.
  bool SystemKey = false;
  // Under a film's table the shortcut is written with spaces around "+", as those tables'
  // menus have always had it ("Ctrl + O").
  bool SpacedUnderATable = false;
};

std::span<const TCommand> Commands();
// The row of a command identifier; null for none.
const TCommand* FindCommand(int32_t id);
