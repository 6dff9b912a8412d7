#pragma once
// The colours of the demo's desktop (0x00RRGGBB), in the manner of a classic desktop.
#include <cstdint>

namespace demo::theme {

constexpr uint32_t kDesktopTop = 0x2D6A9F, kDesktopBottom = 0x174A73;
constexpr uint32_t kFace = 0xD4D0C8;         // windows, menus, buttons
constexpr uint32_t kHighlight = 0xFFFFFF;    // lit edges
constexpr uint32_t kShadow = 0x808080;       // shaded edges
constexpr uint32_t kDarkShadow = 0x404040;
constexpr uint32_t kTitleLeft = 0x0A246A, kTitleRight = 0x3A6EA5;
constexpr uint32_t kInactiveTitle = 0x808080;
constexpr uint32_t kTitleText = 0xFFFFFF;
constexpr uint32_t kText = 0x000000;
constexpr uint32_t kGreyText = 0x808080;
constexpr uint32_t kSelection = 0x0A246A;    // highlighted menu item
constexpr uint32_t kSelectionText = 0xFFFFFF;
constexpr uint32_t kWindow = 0xFFFFFF;       // the inside of editors and fields
constexpr uint32_t kProgress = 0x0A246A;

}  // namespace demo::theme
