#pragma once
// How the shell addresses menu items: a menu and a position in it, separators counted.
#include <cstdint>

// The four drop-downs have their position in the menu bar as value. kMenuBar is the bar
// itself (its items are the drop-downs' titles); kContext is the context menu.
enum class TMenuId : uint8_t {
  kFile = 0,
  kActions = 1,
  kView = 2,
  kHelp = 3,
  kMenuBar,
  kContext,
};
