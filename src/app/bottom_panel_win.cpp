// The bottom panel's window: its class, its children, its window procedure and the
// handlers of its buttons, sliders and progress bar.
#include "app/bottom_panel_win.h"

#include <commctrl.h>

#include <algorithm>

#include "session/accessible_texts.h"
#include "app/bar_preview_win.h"
#include "app/commands_win.h"
#include "controls/ko_common_win.h"
#include "app/player_win.h"
#include "session/transport_commands.h"
#include "platform/wide_text_win.h"
#include "app/bottom_panel_state_win.h"
#include "controls/control_palette_win.h"
#include "controls/scaled_gdi_win.h"
#include "playback/seek_target.h"

namespace {
constexpr wchar_t kClassName[] = L"koBottomPanel";
std::unique_ptr<TBottomPanelState> panelState;

std::string LocaleText(LCTYPE item, const char* fallback) {
  wchar_t text[8] = L"";
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, text, static_cast<int>(std::size(text))) <= 1) return fallback;
  return WideToUtf8(text);
}

HWND CreateButton(HWND panel, const TPanelButton& button, const TkoBox& box) {
  const DWORD kind =
      button.Kind == TPanelButtonKind::kToggle ? DWORD{BS_AUTOCHECKBOX | BS_PUSHLIKE} : DWORD{BS_PUSHBUTTON};
  return CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_FLAT | BS_BITMAP | kind, box.X,
                         box.Y, box.Width, box.Height, panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.Id)),
                         GetModuleHandleW(nullptr), nullptr);
}

void MoveControl(HWND control, const TkoBox& box) { MoveWindow(control, box.X, box.Y, box.Width, box.Height, TRUE); }

// Thumb size and outline of a slider for the panel's scale, and its place.
void ScaleSlider(TkoSlider& slider, const TBottomPanelState& panel, const TkoBox& box) {
  slider.SetScale(panel.Geometry.Scale);
  MoveControl(slider.Handle(), box);
}

std::unique_ptr<TkoSlider> CreateSlider(TBottomPanelState& panel, const TkoBox& box, int32_t max, int32_t position) {
  auto slider = CreateControl<TkoSlider>(panel.Window);
  slider->SetBackgroundBrush(panel.BackgroundBrush.Get());
  slider->SetTrackPen(panel.TrackPen.Get());
  slider->SetPalette(panel.Palette);
  ScaleSlider(*slider, panel, box);
  slider->SetMax(max);
  slider->SetPosition(position);
  return slider;
}

// The tooltips keep each control's client rectangle.
void UpdateToolRects(HWND toolTip, const std::vector<HWND>& controls) {
  for (HWND control : controls) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.hwnd = control;
    GetClientRect(control, &tool.rect);
    SendMessageW(toolTip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

// A click on the bar starts the film segment that part stands for; the bar moves to
// its start only when there is one.
void OnBarSegmentClick(const TBottomPanelState& panel, int32_t index, bool& allow) {
  allow = false;
  TPlayer& player = panel.Player;
  if (!player.Segments || index < 0 || index >= static_cast<int32_t>(panel.BarSegments.size())) return;
  player.Engine.StartSegment(panel.BarSegments[static_cast<size_t>(index)]);
  allow = true;
}

// The frame of the film segment that the bar's part under seconds stands for; Segment
// -1 when there is none.
TFilmFrame FilmFrameAt(const TBottomPanelState& panel, const TkoProgressBar& bar, double seconds) {
  const TPlayer& player = panel.Player;
  const TProgressModel::TSegmentTime at = bar.Model().SegmentAtTime(seconds);
  if (!player.Segments || at.Segment < 0 || at.Segment >= static_cast<int32_t>(panel.BarSegments.size())) return {};
  const int32_t index = panel.BarSegments[static_cast<size_t>(at.Segment)];
  const TSegmentInfo* segment = player.Segments->Get(index);
  return segment != nullptr ? TFilmFrame{index, FrameAtSeconds(*segment, at.Seconds)} : TFilmFrame{};
}

// Dragging along the bar shows the frame under the mouse, in the film segment that
// part of the bar stands for; the play state stays as it is.
void OnBarScrub(const TBottomPanelState& panel, const TkoProgressBar& bar, double seconds) {
  const TFilmFrame at = FilmFrameAt(panel, bar, seconds);
  if (at.Segment >= 0) panel.Player.Engine.SeekTo(at.Segment, at.Frame);
}

// The mouse over the bar without a press: the picture a seek there would show, above it.
void OnBarHover(const TBottomPanelState& panel, const TkoProgressBar& bar, int32_t x, double seconds) {
  TPlayer& player = panel.Player;
  const TFilmFrame at = FilmFrameAt(panel, bar, seconds);
  if (at.Segment < 0 || player.MainWindow == nullptr) return HideBarPreview(player);
  POINT mouse{x, 0};
  MapWindowPoints(bar.Handle(), player.MainWindow, &mouse, 1);
  ShowBarPreview(player, at.Segment, at.Frame, mouse.x);
}

void OnVolumeChange(const TBottomPanelState& panel, TkoSlider& slider) {
  panel.Player.Sound.SetVolumePercent(slider.GetPosition());
  SendMessageW(panel.Window, WM_TIMER, 0, 0);
}

// A key of the focused bar seeks as the seek commands do, a minute for a page and to
// the film's ends for Home and End.
void OnBarKeyStep(TPlayer& player, const TkoProgressBar& bar, TSliderStep step) {
  player.Engine.SeekBySeconds(BarStepSeconds(step, bar.TotalLength()));
  if (player.MainWindow != nullptr) UpdateMenuStates(player);
}

// 5 % a line, 20 % a page, as the wheel steps the volume.
void OnVolumeKeyStep(TSliderStep step) { StepVolume(StepAmount(step, 5, 20, kVolumeSliderMax)); }

std::string BarValue(const TBottomPanelState& panel) {
  const TPlayer& player = panel.Player;
  if (!player.Segments || !panel.ProgressBar) return {};
  return BarValueText(player.Texts, panel.CurrentSeconds, panel.ProgressBar->TotalLength(),
                      player.Engine.CurrentSegment(), player.Segments->Count(), panel.Separators.Time);
}

// What a screen reader hears of the bar and the sliders: their tooltips' texts as names
// and the values as the strip shows them.
void DescribeControls(TBottomPanelState& panel) {
  const TUiTexts& texts = panel.Player.Texts;
  panel.ProgressBar->ScreenReaderName = [&texts] { return ControlName(texts, TMenuText::kProgress); };
  panel.ProgressBar->ScreenReaderValue = [&panel] { return BarValue(panel); };
  panel.SpeedSlider->ScreenReaderName = [&texts] { return ControlName(texts, TMenuText::kSpeed); };
  panel.SpeedSlider->ScreenReaderValue = [&panel] {
    return SpeedValueText(panel.SpeedSlider->GetPosition(), panel.Separators.Decimal);
  };
  panel.VolumeSlider->ScreenReaderName = [&texts] { return ControlName(texts, TMenuText::kSound); };
  panel.VolumeSlider->ScreenReaderValue = [&panel, &texts] {
    return VolumeValueText(texts, panel.VolumeSlider->GetPosition());
  };
}

void RunPanelCommand(TPlayer& player, int command) {
  switch (command) {
    case CM_PLAY:
    case CM_PAUSE:
    case CM_STOP:
    case CM_PREVIOUS:
    case CM_NEXT: RunTransportCommand(player.Engine, command); break;
    case CM_SEGMENTS: ToggleSegmentList(player); break;
    case CM_FULL_SCREEN: ToggleFullScreen(player); break;
  }
  if (player.MainWindow != nullptr) UpdateMenuStates(player);
  RedrawPanel();
}

void OnCreate(TPlayer& player, HWND window) { panelState = std::make_unique<TBottomPanelState>(window, player); }

void OnDestroy(TPlayer& player, HWND window) {
  if (panelState) panelState->ReleaseChildren();
  if (player.Panel == window) player.Panel = nullptr;
}

void OnSize(HWND window) {
  if (panelState) GetClientRect(window, &panelState->Client);
}

LRESULT OnPaint(HWND window, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefWindowProcW(window, WM_PAINT, wParam, lParam);
  RedrawPanel();
  return result;
}

void OnTimer() {
  if (panelState) RefreshVolume(*panelState);
}

LRESULT Dispatch(TPlayer& player, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnCreate(player, window); return 0;
    case WM_DESTROY: OnDestroy(player, window); return 0;
    case WM_NCDESTROY: panelState.reset(); break;
    case WM_SIZE: OnSize(window); return 0;
    case WM_PAINT: return OnPaint(window, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    case WM_COMMAND: RunPanelCommand(player, LOWORD(wParam)); return 0;
    case WM_TIMER: OnTimer(); return 0;
    case WM_RBUTTONUP: ShowContextMenuAtCursor(player); return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK BottomPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TPlayer* player = PlayerOf(window);
  if (player == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return Dispatch(*player, window, message, wParam, lParam);
  } catch (...) {
    ShowPaneError(window, "BottomPanel", message);
    return 0;
  }
}

}  // namespace

TBottomPanelState* BottomPanelState() { return panelState.get(); }

TBottomPanelState::TBottomPanelState(HWND window, TPlayer& player)
    : Player(player),
      Window(window),
      Separators{LocaleText(LOCALE_SDECIMAL, "."), LocaleText(LOCALE_STIME, ":")},
      Geometry(player.Scale),
      Palette(CurrentControlPalette()),
      PanelFont(CreateFontByName("Tahoma", Geometry.FontHeight, kFontBold)),
      InfoText(FormatInfoText(kStartInfoWidth, kStartInfoHeight, kStartInfoBits, kStartInfoRate)) {
  GetClientRect(window, &Client);
  MakeTools();
  for (size_t i = 0; i < Buttons.size(); ++i) Buttons[i] = CreateButton(window, kPanelButtons[i], Geometry.Buttons[i]);
  ProgressBar = CreateControl<TkoProgressBar>(window);
  ProgressBar->SetPalette(Palette);
  ProgressBar->SetScale(player.Scale);
  MoveControl(ProgressBar->Handle(), Geometry.ProgressBar);
  ProgressBar->SetPosition(0);
  ProgressBar->OnSegmentClick = [this](TkoProgressBar&, int32_t index, bool& allow) {
    OnBarSegmentClick(*this, index, allow);
  };
  ProgressBar->OnScrub = [this](TkoProgressBar& bar, double seconds) { OnBarScrub(*this, bar, seconds); };
  ProgressBar->OnHover = [this](const TkoProgressBar& bar, int32_t x, double seconds) {
    OnBarHover(*this, bar, x, seconds);
  };
  ProgressBar->OnLeave = [&player](TkoProgressBar&) { HideBarPreview(player); };
  SpeedSlider = CreateSlider(*this, Geometry.SpeedSlider, kSpeedSliderMax, kSpeedSliderStart);
  SpeedSlider->OnChange = [&player](TkoSlider& slider) { player.Engine.SpeedChanged(slider.GetPosition()); };
  VolumeSlider = CreateSlider(*this, Geometry.VolumeSlider, kVolumeSliderMax, 0);
  SetPictures();
  VolumeSlider->OnChange = [this](TkoSlider& slider) { OnVolumeChange(*this, slider); };
  ProgressBar->OnKeyStep = [&player](TkoProgressBar& bar, TSliderStep step) { OnBarKeyStep(player, bar, step); };
  VolumeSlider->OnKeyStep = [](TkoSlider&, TSliderStep step) { OnVolumeKeyStep(step); };
  DescribeControls(*this);
  SetTimer(window, kVolumeTimerId, kVolumeTimerPeriodMs, nullptr);
}

void TBottomPanelState::ApplyScale(const TScreenScale& scale) {
  Geometry = TPanelGeometry(scale);
  MakeTools();
  PanelFont = CreateFontByName("Tahoma", Geometry.FontHeight, kFontBold);
  for (size_t i = 0; i < Buttons.size(); ++i) MoveControl(Buttons[i], Geometry.Buttons[i]);
  if (ProgressBar) {
    ProgressBar->SetScale(scale);
    MoveControl(ProgressBar->Handle(), Geometry.ProgressBar);
  }
  if (SpeedSlider) ScaleSlider(*SpeedSlider, *this, Geometry.SpeedSlider);
  if (VolumeSlider) ScaleSlider(*VolumeSlider, *this, Geometry.VolumeSlider);
  SetPictures();
  if (ToolTip != nullptr) UpdateToolRects(ToolTip, ToolControls());
  InvalidateRect(Window, nullptr, FALSE);
}

std::vector<HWND> TBottomPanelState::ToolControls() const {
  std::vector<HWND> controls(Buttons.begin(), Buttons.end());
  for (const TkoControl* control : {static_cast<const TkoControl*>(SpeedSlider.get()),
                                    static_cast<const TkoControl*>(VolumeSlider.get()),
                                    static_cast<const TkoControl*>(ProgressBar.get())})
    controls.push_back(control != nullptr ? control->Handle() : nullptr);
  return controls;
}

TBottomPanelState::~TBottomPanelState() { ReleaseChildren(); }

void TBottomPanelState::ReleaseChildren() {
  KillTimer(Window, kVolumeTimerId);
  if (ToolTip != nullptr) DestroyWindow(ToolTip);
  ToolTip = nullptr;
  ProgressBar.reset();
  SpeedSlider.reset();
  VolumeSlider.reset();
}

HWND CreateBottomPanel(HWND mainWindow) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterPaneClass(instance, kClassName, BottomPanelProc)) return nullptr;
  constexpr DWORD kStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP;
  return CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"", kStyle,
                         0, 0, 600, 100, mainWindow, nullptr, instance, nullptr);
}

namespace {
// The ten controls with a tooltip and the text each shows.
std::vector<std::pair<HWND, TMenuText>> ToolTipControls(const TBottomPanelState& panel) {
  const std::vector<HWND> controls = panel.ToolControls();
  std::vector<std::pair<HWND, TMenuText>> tools;
  const size_t buttons = panel.Buttons.size();
  for (size_t i = 0; i < buttons; ++i) tools.emplace_back(controls[i], kPanelButtons[i].ToolTip);
  const TMenuText controlTexts[] = {TMenuText::kSpeed, TMenuText::kSound, TMenuText::kProgress};
  for (size_t i = 0; i < std::size(controlTexts); ++i) tools.emplace_back(controls[buttons + i], controlTexts[i]);
  return tools;
}

// Sends message (add a tool, or new text for one) for every control. Each control's
// window text is its name, so that the system's button proxy names the buttons.
void SendToolInfos(const TBottomPanelState& panel, const TUiTexts& texts, UINT message) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const auto& [control, text] : ToolTipControls(panel)) {
    SetWindowTextW(control, Utf8ToWide(ButtonWindowText(ControlName(texts, text))).c_str());
    std::wstring wide = Utf8ToWide(texts.Menu(text));
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = control;
    GetClientRect(control, &tool.rect);
    tool.hinst = instance;
    tool.lpszText = wide.data();
    SendMessageW(panel.ToolTip, message, 0, reinterpret_cast<LPARAM>(&tool));
  }
}
}  // namespace

void CreateToolTips(const TUiTexts& texts) {
  TBottomPanelState* panel = BottomPanelState();
  if (panel == nullptr || panel->ToolTip != nullptr) return;
  panel->ToolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
  if (panel->ToolTip != nullptr) SendToolInfos(*panel, texts, TTM_ADDTOOLW);
}

void UpdateToolTips(const TUiTexts& texts) {
  const TBottomPanelState* panel = BottomPanelState();
  if (panel != nullptr && panel->ToolTip != nullptr) SendToolInfos(*panel, texts, TTM_UPDATETIPTEXTW);
}

void ScaleBottomPanel(const TScreenScale& scale) {
  if (TBottomPanelState* panel = BottomPanelState()) panel->ApplyScale(scale);
}

HWND PanelButton(int commandId) {
  const TBottomPanelState* panel = BottomPanelState();
  if (panel == nullptr) return nullptr;
  for (int32_t i = 0; i < kPanelButtonCount; ++i)
    if (kPanelButtons[i].Id == commandId) return panel->Buttons[static_cast<size_t>(i)];
  return nullptr;
}

void SetPanelToggleButtons(bool fullScreenPressed, bool segmentsPressed) {
  if (HWND button = PanelButton(CM_FULL_SCREEN)) SetButtonCheck(button, fullScreenPressed);
  if (HWND button = PanelButton(CM_SEGMENTS)) SetButtonCheck(button, segmentsPressed);
}

void MovePanelButtonFocus(TPlayState newState) {
  HWND play = PanelButton(CM_PLAY);
  HWND pause = PanelButton(CM_PAUSE);
  if (play == nullptr || pause == nullptr) return;
  const HWND focus = GetFocus();
  if (newState == psPlaying && focus == play) SetFocus(pause);
  if (newState == psPaused && focus == pause) SetFocus(play);
}

HWND PanelProgressBar() {
  const TBottomPanelState* panel = BottomPanelState();
  return panel != nullptr && panel->ProgressBar ? panel->ProgressBar->Handle() : nullptr;
}

bool ProgressBarScrubbing() {
  const TBottomPanelState* panel = BottomPanelState();
  return panel != nullptr && panel->ProgressBar && panel->ProgressBar->Scrubbing();
}

// The slider has a value for each pixel of its track only (100 % over 34 pixels), and a
// value set from outside settles on its pixel's: 95 becomes 94. Steps are therefore
// counted from the value the wheel asked for last, as long as the slider still shows
// what that value settled on, so that three notches from 100 % give 85 %.
void StepVolume(int32_t percent) {
  static int32_t asked = -1, settled = -1;
  const TBottomPanelState* panel = BottomPanelState();
  if (panel == nullptr || !panel->VolumeSlider) return;
  TkoSlider& slider = *panel->VolumeSlider;
  const int32_t from = slider.GetPosition() == settled ? asked : slider.GetPosition();
  asked = std::clamp(from + percent, 0, kVolumeSliderMax);
  slider.SetPosition(asked);
  settled = slider.GetPosition();
}
