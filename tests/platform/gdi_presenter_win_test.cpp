// The GDI presenter in a real window, driven by the engine on films the film writer
// made; what the window shows is read back from its device context.
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
  void Start(int width, int height, std::vector<Picture> pictures, uint8_t depth = 32, uint8_t fps = 10) {
    RECT rect{0, 0, width, height};
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    window = CreateWindowExW(0, L"rzPresenterTest", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                             rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
    presenter.SetWindow(window);
    spec.data.pictures = std::move(pictures);
    spec.bitsPerPixel = depth;
    spec.framesPerSecond = fps;
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
    const TMemoryDC target(source.Get());
    const TSelection selection(target.Get(), capture.Bitmap());
    BitBlt(target.Get(), 0, 0, client.right, client.bottom, source.Get(), 0, 0, SRCCOPY);
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
  TEventPublisher events;
  TDibPictureMemory memory, capture;
  TkoFrameSource frames{nullptr, &memory};
  // Built before the engine it reads, as the shell does.
  TGdiFramePresenter presenter{engine, frames, memory, [] { return true; }};
  TPlaybackEngine engine{{timer, sound, frames, presenter, shell, events}};
  SegmentSpec spec;
  HWND window = nullptr;
};

TEST_F(Presenter, FramesLandPixelForPixelAndPaintingAndErasingFollowThePlayState) {
  spec.data.cursorRecords = {EmptyCursorRecord()};
  Start(800, 700, {Pattern(321, 243)}, 24);
  EXPECT_EQ(frames.Picture().Pixels, memory.View().Pixels) << "the source draws into the section";
  const TkoBox box{240, 209, 321, 243};  // centred in 801 x 661 (the panel takes 40)
  InvalidateRect(window, nullptr, TRUE);
  Repaint(kRed);  // playing: only the margins are erased; the next tick shows the picture
  EXPECT_EQ(Mismatches([&](int x, int y) { return Inside(box, x, y) ? kRed : WindowColour(); }), 0);

  const Picture expected = Pattern(321, 243);
  const auto framed = [&](int x, int y) {
    return Inside(box, x, y) ? expected.At(x - box.X, y - box.Y) : WindowColour();
  };
  Tick();
  EXPECT_EQ(Mismatches(framed), 0);
  engine.Pause();
  InvalidateRect(window, nullptr, TRUE);
  Repaint(kRed);
  EXPECT_EQ(Mismatches(framed), 0) << "paused: erased, then the whole frame";
  engine.Stop();
  InvalidateRect(window, nullptr, TRUE);
  Repaint(kRed);
  EXPECT_EQ(Mismatches([](int, int) { return WindowColour(); }), 0) << "stopped: the background only";
}

TEST_F(Presenter, BetweenFramesOnlyTheAreasUnderTheOldAndNewPointerAreCopied) {
  spec.data.cursorRecords = {CursorRecord(ColourCursor(2, 3, 12, 12, std::vector<uint32_t>(144, 0xFFE0A000)))};
  spec.data.samplesPerFrame = 3;
  spec.data.cursorTrack = std::vector<CursorSample>{{0, 50, 40}, {0, 55, 44}, {0, 150, 120}};
  Start(400, 300, {Pattern(200, 150), Pattern(200, 150)});
  Tick();  // the first frame, whole, with the pointer
  const TkoPoint o = presenter.Placement().Origin;
  for (const int32_t areas : {1, 2}) {  // a small move, then a far one
    Repaint(kRed);
    const TkoPoint from = frames.Overlay().NewPosition();
    Tick();
    const TkoBlits blits = CursorAreaBlits(from, frames.Overlay().NewPosition(), {12, 12}, {200, 150}, {});
    ASSERT_EQ(blits.Count, areas);
    EXPECT_EQ(Mismatches([&](int x, int y) {
                const bool copied = Inside(blits.Items[0].Source, x - o.X, y - o.Y) ||
                                    (areas == 2 && Inside(blits.Items[1].Source, x - o.X, y - o.Y));
                return copied ? PixelColour(frames.Picture(), x - o.X, y - o.Y) : kRed;
              }),
              0);
    const TkoCursorSample& pointer = frames.Overlay().LastSample();
    EXPECT_EQ(PixelColour(frames.Picture(), pointer.X, pointer.Y), 0xE0A000u) << "the pointer is in what was copied";
  }
}

TEST_F(Presenter, AStartGrowsTheWindowOrMaximisesItAndResizingWhilePlayingReducesThePicture) {
  spec.data.cursorRecords = {EmptyCursorRecord()};
  Start(200, 150, {Picture::Filled(320, 240, 0x3366CC)}, 32, 5);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 240 + kBottomPanelHeight);
  EXPECT_EQ(presenter.Placement().Origin, (TkoPoint{0, 0}));

  for (const uint8_t fps : {5, 25}) {  // whole frames smoothed, and not
    engine.StartSegment(0);
    list.Get(0)->FramesPerSecond = fps;
    SetWindowPos(window, nullptr, 0, 0, 250, 200, SWP_NOMOVE | SWP_NOZORDER);  // WM_SIZE while playing
    GetClientRect(window, &client);
    const TkoPicturePlacement& placement = presenter.Placement();
    ASSERT_TRUE(placement.Scaling);
    const TkoSize available = AvailableArea({0, 0, client.right, client.bottom}, true);
    EXPECT_EQ(placement.Shown, PlacePicture({320, 240}, available).Shown);
    Repaint(kRed);  // the margins are erased
    Tick();
    const TkoBox shown{placement.Origin.X, placement.Origin.Y, placement.Shown.Width, placement.Shown.Height};
    EXPECT_EQ(Mismatches([&](int x, int y) { return Inside(shown, x, y) ? 0x3366CCu : WindowColour(); }), 0)
        << int(fps);
  }

  // A frame wider than the screen: the window is maximised instead of grown.
  engine.Stop();
  DestroyWindow(window);
  list.Clear();
  Start(200, 150, {Picture::Filled(GetSystemMetrics(SM_CXSCREEN) + 50, 100, 0x3366CC)});
  EXPECT_TRUE(IsZoomed(window));
  EXPECT_TRUE(presenter.Placement().Scaling);
}
}  // namespace
