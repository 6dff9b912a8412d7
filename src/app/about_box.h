#pragma once
// The About box without its window: its fixed texts and where everything goes, from
// the dialog's client size. The maker's web address is shared with the help text.
#include <cstdint>

#include "controls/ko_common.h"
#include "playback/ko_picture.h"  // TkoPoint

// Where the player's help lives and what the About box's link opens.
inline constexpr char kMakerWebAddress[] = "https://rorezodu.example.org/";

// Fixed texts of the About box (no language table reaches them; fixed_texts.h has the
// English ones).
inline constexpr char kAboutCaption[] = "О программе";
inline constexpr char kAboutCloseButton[] = "Закрыть";
inline constexpr char kAboutTitle[] = "roRezodu";
inline constexpr char kAboutVersion[] = "version 2.8.0.24";
inline constexpr char kAboutAuthor[] = "© 2026 roRezodu developers";
// Drawn without word wrapping, so the lines are broken here.
inline constexpr char kAboutNotice[] =
    "Программа распространяется бесплатно.\r\n"
    "Её можно свободно копировать и передавать\r\n"
    "вместе с фильмами.";

// Positions in the dialog's client area (pixels). Rectangles include their last pixel
// (MakeRect).
struct TAboutLayout {
  int32_t Margin = 0;      // W / 64
  int32_t TextColumn = 0;  // W / 8
  TkoPoint Icon;
  TkoPoint Title;        // the black title; its grey shadow lies 2 pixels right and down
  TkoPoint Version;
  TkoRect Author;
  TkoRect Notice;
  TkoPoint LineFrom;  // the separator line
  TkoPoint LineTo;
  TkoBox Button;  // child windows, as position and size
  TkoBox Link;
};

// The layout for a client area of `width` x `height` pixels (divisions truncate).
TAboutLayout AboutLayout(int32_t width, int32_t height);
