// The GDI presenter in a real window, driven by the engine on films the film writer
// made; what the window shows is read back from its device context. What a user sees of
// whole frames (paused, stopped, reduced, in full screen) the end-to-end tests check; here
// is what happens between two frames and when a segment starts.
#include <windows.h>

#include <gtest/gtest.h>

#include "film/film_load_fixture.h"
#include "platform/gdi_frame_presenter_win.h"
#include "platform/presentation_plan.h"
#include "support/clock_fakes.h"

using namespace filmwriter;

namespace {
constexpr uint32_t kRed = 0xFF0000;  // painted over the client area to see what changes
TGdiFramePresenter* gPresenter = nullptr;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::optional<LRESULT> handled;
  if (message == WM_PAINT) handled = gPresenter->Paint();
  if (message == WM_ERASEBKGND) handled = gPresenter->EraseBackground(reinterpret_cast<HDC>(wParam));
  if (message == WM_SIZE) gPresenter->Resized();
  return handled ? *handled : DefWindowProcW(window, message, wParam, lParam);
}

uint32_t WindowColour() {
  const COLORREF c = GetSysColor(COLOR_WINDOW);
  return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

// Every pixel differs from its neighbours; none is red or the window colour.
Picture Pattern(int width, int height) {
  Picture picture = Picture::Filled(width, height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.At(x, y) = uint32_t(x * 7 % 251) << 16 | uint32_t(y * 5 % 241) << 8 | 0x40;
  return picture;
}

bool Inside(const TkoBox& box, int x, int y) {
  return x >= box.X && y >= box.Y && x < box.X + box.Width && y < box.Y + box.Height;
}

class Presenter : public FilmLoad {
protected:
  void SetUp() override {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"rzPresenterTest";
    RegisterClassW(&windowClass);  // already there from the second test on
    gPresenter = &presenter;
    shell.Engine = &engine;
    engine.SetSegmentList(&list);
  }
  void TearDown() override {
    engine.StopForShutdown();
    DestroyWindow(window);
    presenter.SetWindow(nullptr);
  }

  // Opens a window with a client area of width x height, loads a film of one segment
  // of these pictures and starts it.
  void Start(int width, int height, std::vector<Picture> pictures, uint8_t depth = 32) {
    RECT rect{0, 0, width, height};
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    window = CreateWindowExW(0, L"rzPresenterTest", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                             rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
    presenter.SetWindow(window);
    spec.data.pictures = std::move(pictures);
    spec.bitsPerPixel = depth;
    ASSERT_TRUE(LoadFromStart(BuildFilm({spec})));
    ASSERT_TRUE(engine.StartSegment(0));
    Repaint(kRed);
  }
  // Paints the client area in colour, then lets the window repaint whatever is invalid.
  void Repaint(uint32_t colour) {
    const TWindowDC dc(window);
    const TGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF)));
    const RECT all{0, 0, 5000, 5000};
    FillRect(dc.Get(), &all, brush.Get());
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  void Tick() {
    const uint32_t token = timer.Pending.back().Token;
    timer.Pending.clear();
    engine.Tick(token);
  }
  // The pixels of the client area that differ from expected(x, y).
  template <typename Expected>
  int Mismatches(Expected expected) {
    RECT client;
    GetClientRect(window, &client);
    const TkoPictureView shown = capture.Make(client.right, client.bottom, 32);
    const TWindowDC source(window);
    BitBlt(capture.SourceDC(), 0, 0, client.right, client.bottom, source.Get(), 0, 0, SRCCOPY);
    GdiFlush();
    int mismatches = 0;
    for (int y = 0; y < shown.Height; ++y)
      for (int x = 0; x < shown.Width; ++x) mismatches += PixelColour(shown, x, y) != expected(x, y);
    return mismatches;
  }

  std::vector<std::string> log;
  FakeTimer timer;
  FakeSound sound;
  FakeShell shell{log};
  TPlayerEvents events;
  TDibPictureMemory memory, capture;
  TkoFrameSource frames{nullptr, &memory};
  // Built before the engine it reads, as the shell does.
  TGdiFramePresenter presenter{engine, frames, memory, [] { return true; }};
  TPlaybackEngine engine{{timer, sound, frames, presenter, shell, events}};
  SegmentSpec spec;
  HWND window = nullptr;
};

TEST_F(Presenter, WhilePlayingOnlyTheMarginsAreErasedAndOnlyWhatChangedIsCopied) {
  spec.data.cursorRecords = {CursorRecord(ColourCursor(2, 3, 12, 12, std::vector<uint32_t>(144, 0xFFE0A000)))};
  spec.data.samplesPerFrame = 3;
  spec.data.cursorTrack = std::vector<CursorSample>{{0, 50, 40}, {0, 55, 44}, {0, 150, 120}};
  Picture second = Pattern(201, 150);
  const TkoBox typed{20, 30, 25, 6};  // where the second frame differs
  for (int y = typed.Y; y < typed.Y + typed.Height; ++y)
    for (int x = typed.X; x < typed.X + typed.Width; ++x) second.At(x, y) ^= 0x00FF00;
  Start(400, 300, {Pattern(201, 150), second}, 24);
  const TkoBox box{100, 55, 201, 150};  // centred in 401 x 261 (the panel takes 40)
  InvalidateRect(window, nullptr, TRUE);
  Repaint(kRed);  // the next tick shows the picture
  EXPECT_EQ(Mismatches([&](int x, int y) { return Inside(box, x, y) ? kRed : WindowColour(); }), 0);
  Tick();  // the first frame, whole, with the pointer
  EXPECT_EQ(Mismatches([&](int x, int y) {
              return Inside(box, x, y) ? PixelColour(frames.Picture(), x - box.X, y - box.Y) : WindowColour();
            }),
            0);
  for (const int32_t areas : {1, 2}) {  // a small move, then a far one
    Repaint(kRed);
    const TkoPoint from = frames.Overlay().NewPosition();
    Tick();
    const TkoBlits blits = CursorAreaBlits(from, frames.Overlay().NewPosition(), {12, 12}, {201, 150}, {});
    ASSERT_EQ(blits.Count, areas);
    EXPECT_EQ(Mismatches([&](int x, int y) {
                const bool copied = Inside(blits.Items[0].Source, x - box.X, y - box.Y) ||
                                    (areas == 2 && Inside(blits.Items[1].Source, x - box.X, y - box.Y));
                return copied ? PixelColour(frames.Picture(), x - box.X, y - box.Y) : kRed;
              }),
              0);
    const TkoCursorSample& pointer = frames.Overlay().LastSample();
    EXPECT_EQ(PixelColour(frames.Picture(), pointer.X, pointer.Y), 0xE0A000u) << "the pointer is in what was copied";
  }
  // The second frame: what its record changed, and the pointer's area (it stays).
  Repaint(kRed);
  const TkoBox pointer{frames.Overlay().NewPosition().X, frames.Overlay().NewPosition().Y, 12, 12};
  Tick();
  EXPECT_EQ(Mismatches([&](int x, int y) {
              const bool copied = Inside(typed, x - box.X, y - box.Y) || Inside(pointer, x - box.X, y - box.Y);
              return copied ? PixelColour(frames.Picture(), x - box.X, y - box.Y) : kRed;
            }),
            0);
}

TEST_F(Presenter, AStartGrowsTheWindowAroundALargerPicture) {
  spec.data.cursorRecords = {EmptyCursorRecord()};
  Start(200, 150, {Picture::Filled(320, 240, 0x3366CC)});
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 240 + kBottomPanelHeight);
  EXPECT_EQ(presenter.Placement().Origin, (TkoPoint{0, 0}));
  EXPECT_FALSE(presenter.Placement().Scaling);
}
}  // namespace
