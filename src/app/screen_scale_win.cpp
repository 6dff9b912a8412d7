#include "app/screen_scale_win.h"

#include "app/bar_preview_win.h"
#include "controls/ko_common_win.h"
#include "app/panel_dock_win.h"
#include "app/player_win.h"
#include "session/window_layout.h"
#include "app/bottom_panel_win.h"
#include "app/segment_list_window_win.h"
#include "platform/screen_dpi_win.h"

TScreenScale WindowScale(HWND window) { return TScreenScale(WindowDpi(window)); }

TkoSize FirstWindowSize() { return MinimumWindowSize(TScreenScale(SystemDpi())); }

TGdiObject<HFONT> CreateLoadingFont(const TScreenScale& scale) {
  return CreateFontByName("Times New Roman", scale.Px(kLoadingFontHeight), kFontBold);
}

void ApplyScreenScale(TWinPlayer& player, const TScreenScale& scale) {
  player.Scale = scale;
  player.LoadingFont = CreateLoadingFont(scale);
  player.Panel.SetScale(scale);
  player.SegmentList.SetScale(scale);
  player.Presenter.SetScreenScale(scale);
  // The preview comes back at the new size with the next mouse move over the bar.
  HideBarPreview(player);
  if (player.Preview && player.Preview->Note) player.Preview->Note->SetScale(scale);
  if (player.Resume.Note) player.Resume.Note->SetScale(scale);
  if (player.Activity.Note) player.Activity.Note->SetScale(scale);
  ScaleScreenSearch(player);
}

void OnDpiChanged(TWinPlayer& player, WPARAM wParam, const RECT& suggested) {
  ApplyScreenScale(player, TScreenScale(LOWORD(wParam)));
  SetWindowPos(player.MainWindow, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // The panel's height changed even when the window's size did not.
  LayOutChildWindows(player);
}
