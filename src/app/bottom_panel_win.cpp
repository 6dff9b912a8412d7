// The bottom panel's window: its class, its children, its window procedure and the
// handlers of its buttons, sliders and progress bar.
#include "app/bottom_panel_win.h"

#include <commctrl.h>

#include <algorithm>

#include "session/accessible_texts.h"
#include "app/bar_preview_win.h"
#include "app/commands_win.h"
#include "controls/ko_common_win.h"
#include "controls/pane_procedure_win.h"
#include "app/player_win.h"
#include "session/transport_commands.h"
#include "platform/wide_text_win.h"
#include "app/bottom_panel_state_win.h"
#include "controls/control_palette_win.h"
#include "controls/scaled_gdi_win.h"
#include "playback/seek_target.h"

namespace {
constexpr wchar_t kClassName[] = L"koBottomPanel";

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
  TWinPlayer& player = panel.Player;
  if (!player.Film.IsOpen() || index < 0 || index >= static_cast<int32_t>(panel.BarSegments.size())) return;
  player.Engine.StartSegment(panel.BarSegments[static_cast<size_t>(index)]);
  allow = true;
}

// The frame of the film segment that the bar's part under seconds stands for; Segment
// -1 when there is none.
TFilmFrame FilmFrameAt(const TBottomPanelState& panel, const TkoProgressBar& bar, double seconds) {
  const TWinPlayer& player = panel.Player;
  const TProgressModel::TSegmentTime at = bar.Model().SegmentAtTime(seconds);
  if (!player.Film.IsOpen() || at.Segment < 0 || at.Segment >= static_cast<int32_t>(panel.BarSegments.size()))
    return {};
  const int32_t index = panel.BarSegments[static_cast<size_t>(at.Segment)];
  const TSegmentInfo* segment = player.Film.Segments().Get(index);
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
  TWinPlayer& player = panel.Player;
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
void OnBarKeyStep(TWinPlayer& player, const TkoProgressBar& bar, TSliderStep step) {
  player.Engine.SeekBySeconds(BarStepSeconds(step, bar.TotalLength()));
  if (player.MainWindow != nullptr) UpdateMenuStates(player);
}

// The slider's own steps, counted from the value asked for last, as the wheel's notches are.
void OnVolumeKeyStep(TWinPlayer& player, const TkoSlider& slider, TSliderStep step) {
  player.Panel.StepVolume(slider.KeyStepAmount(step));
}

std::string BarValue(const TBottomPanelState& panel) {
  const TWinPlayer& player = panel.Player;
  if (!player.Film.IsOpen() || !panel.ProgressBar) return {};
  return BarValueText(player.Texts, panel.CurrentSeconds, panel.ProgressBar->TotalLength(),
                      player.Engine.CurrentSegment(), player.Film.Segments().Count(), panel.Separators.Time);
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

}  // namespace

TBottomPanel::TBottomPanel(TWinPlayer& player) : FPlayer(player) {}

TBottomPanel::~TBottomPanel() { DestroyPaneWindow(FWindow); }

void TBottomPanel::Create(HWND mainWindow) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterPaneClass(instance, kClassName, Procedure)) return;
  constexpr DWORD kStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP;
  CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"", kStyle, 0, 0, 600, 100, mainWindow, nullptr, instance, this);
}

LRESULT CALLBACK TBottomPanel::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return PaneProcedure<TBottomPanel>(window, message, wParam, lParam, "BottomPanel");
}

LRESULT TBottomPanel::Message(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: FState = std::make_unique<TBottomPanelState>(FWindow, FPlayer); return 0;
    case WM_DESTROY:
      // The buttons go with the window after this; their pictures stay until it is gone.
      FGoing = true;
      if (FState) FState->ReleaseChildren();
      return 0;
    case WM_SIZE:
      if (FState) GetClientRect(FWindow, &FState->Client);
      return 0;
    case WM_PAINT: {
      const LRESULT result = DefWindowProcW(FWindow, WM_PAINT, wParam, lParam);
      Redraw();
      return result;
    }
    case WM_ERASEBKGND: return 1;
    case WM_COMMAND: RunCommand(LOWORD(wParam)); return 0;
    case WM_TIMER:
      if (FState) RefreshVolume(*FState);
      return 0;
    case WM_RBUTTONUP: ShowContextMenuAtCursor(FPlayer); return 0;
  }
  return DefWindowProcW(FWindow, message, wParam, lParam);
}

void TBottomPanel::WindowGone() {
  FState.reset();
  FWindow = nullptr;
}

void TBottomPanel::RunCommand(int command) {
  TWinPlayer& player = FPlayer;
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
  Redraw();
}

TBottomPanelState::TBottomPanelState(HWND window, TWinPlayer& player)
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
  VolumeSlider->SetSteps(kVolumeLineStep, kVolumePageStep);
  SetPictures();
  VolumeSlider->OnChange = [this](TkoSlider& slider) { OnVolumeChange(*this, slider); };
  ProgressBar->OnKeyStep = [&player](TkoProgressBar& bar, TSliderStep step) { OnBarKeyStep(player, bar, step); };
  VolumeSlider->OnKeyStep = [&player](TkoSlider& slider, TSliderStep step) {
    OnVolumeKeyStep(player, slider, step);
  };
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

HWND ButtonOf(const TBottomPanelState& panel, int commandId) {
  for (int32_t i = 0; i < kPanelButtonCount; ++i)
    if (kPanelButtons[i].Id == commandId) return panel.Buttons[static_cast<size_t>(i)];
  return nullptr;
}

void TBottomPanel::CreateToolTips(const TUiTexts& texts) {
  if (!FState || FState->ToolTip != nullptr) return;
  FState->ToolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
  if (FState->ToolTip != nullptr) SendToolInfos(*FState, texts, TTM_ADDTOOLW);
}

void TBottomPanel::UpdateToolTips(const TUiTexts& texts) {
  if (FState && FState->ToolTip != nullptr) SendToolInfos(*FState, texts, TTM_UPDATETIPTEXTW);
}

void TBottomPanel::SetScale(const TScreenScale& scale) {
  if (FState) FState->ApplyScale(scale);
}

HWND TBottomPanel::Button(int commandId) const { return FState ? ButtonOf(*FState, commandId) : nullptr; }

void TBottomPanel::SetToggleButtons(bool fullScreenPressed, bool segmentsPressed) {
  if (HWND button = Button(CM_FULL_SCREEN)) SetButtonCheck(button, fullScreenPressed);
  if (HWND button = Button(CM_SEGMENTS)) SetButtonCheck(button, segmentsPressed);
}

void TBottomPanel::MoveButtonFocus(TPlayState newState) {
  HWND play = Button(CM_PLAY);
  HWND pause = Button(CM_PAUSE);
  if (play == nullptr || pause == nullptr) return;
  const HWND focus = GetFocus();
  if (newState == psPlaying && focus == play) SetFocus(pause);
  if (newState == psPaused && focus == pause) SetFocus(play);
}

HWND TBottomPanel::ProgressBar() const {
  return FState && FState->ProgressBar ? FState->ProgressBar->Handle() : nullptr;
}

bool TBottomPanel::Scrubbing() const { return FState && FState->ProgressBar && FState->ProgressBar->Scrubbing(); }

// The slider has a value for each pixel of its track only (100 % over 34 pixels), and a
// value set from outside settles on its pixel's: 95 becomes 94. Steps are therefore
// counted from the value asked for last, as long as the slider still shows what that
// value settled on, so that three notches from 100 % give 85 %.
void TBottomPanel::StepVolume(int32_t percent) {
  if (!FState || !FState->VolumeSlider) return;
  TkoSlider& slider = *FState->VolumeSlider;
  const int32_t from = slider.GetPosition() == FVolumeSettled ? FVolumeAsked : slider.GetPosition();
  FVolumeAsked = std::clamp(from + percent, 0, kVolumeSliderMax);
  slider.SetPosition(FVolumeAsked);
  FVolumeSettled = slider.GetPosition();
}
