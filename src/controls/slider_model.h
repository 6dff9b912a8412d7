#pragma once
// The value and the thumb of the owner-drawn slider (TkoSlider), without a window: an
// integer value in Min .. Max and a thumb whose left edge lies 0 .. Width - ThumbWidth
// pixels from the control's left edge. The two follow each other: a value set from
// outside moves the thumb to its pixel, and a thumb moved by the mouse sets the value of
// its pixel. A new track (another width or thumb size: a screen of another scale) only
// moves the thumb to the value's pixel on it. All roundings go to the nearest integer,
// halves to even.
#include <cstdint>
#include <functional>

class TSliderModel {
public:
  static constexpr int32_t kDefaultMax = 10;
  static constexpr int32_t kThumbSize = 16;

  // Called after every change of the value; may be empty. A value set from outside
  // whose pixel maps back to another value settles on that value and calls it twice.
  std::function<void()> OnChange;
  // Called when the thumb has moved, so that the control repaints; may be empty.
  std::function<void()> OnThumbMoved;

  int32_t Position() const { return FPosition; }
  int32_t Min() const { return FMin; }
  int32_t Max() const { return FMax; }
  int32_t ThumbPos() const { return FThumbPos; }
  int32_t ThumbWidth() const { return FThumbWidth; }
  int32_t ThumbHeight() const { return FThumbHeight; }
  int32_t Width() const { return FWidth; }

  // Only stores the maximum: the value is not clamped again and the thumb stays.
  void SetMax(int32_t value) { FMax = value; }
  // Stores the control's width and places the thumb at the value's pixel; the value
  // stays as it is and OnChange is not called.
  void Resize(int32_t width);
  // The thumb's width and height (16 unless set: a scaled screen); the thumb then goes
  // to the value's pixel on the new track, and the value stays as it is.
  void SetThumbSize(int32_t size);

  // The value's pixel: (Position - Min) x (Width - ThumbWidth) / (Max - Min), rounded;
  // 0 when Min >= Max or the control is narrower than the thumb.
  int32_t PositionToPixels() const;
  // Moves the thumb to pixel x, clamped to the track, and sets the value of that pixel
  // without moving the thumb back; OnThumbMoved follows. Nothing when the clamped x is
  // where the thumb is.
  void SetThumbPos(int32_t x);
  // Clamps the value to Min .. Max and, when it changes, stores it, moves the thumb to
  // its pixel (unless the thumb is what set it) and calls OnChange.
  void SetPosition(int32_t value);
  // A press or a drag with the mouse at x: the thumb centred on the mouse.
  void MoveThumbToMouse(int32_t x) { SetThumbPos(x - FThumbWidth / 2); }

private:
  void PlaceThumbAtValue();

  int32_t FMin = 0;
  int32_t FThumbPos = 0;
  int32_t FMax = kDefaultMax;
  int32_t FThumbWidth = kThumbSize;
  int32_t FThumbHeight = kThumbSize;
  int32_t FPosition = 0;
  int32_t FWidth = 0;
  // A thumb move is being turned into a value: the value must not move the thumb back.
  bool FSettingFromThumb = false;
  // The thumb is being placed at the value's pixel: that pixel must not set the value.
  bool FPlacingFromValue = false;
};
