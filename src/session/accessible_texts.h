#pragma once
// What a screen reader hears as the value of the panel's bar and sliders, worded as the
// browser page words them: the bar "00:01:23 of 00:10:00, segment 2 of 3", the speed
// "×1.5" (or "MAX"), the volume "80 %". Texts are UTF-8.
#include <cstdint>
#include <string>
#include <vector>

#include "session/ui_texts.h"

// The name a screen reader hears for a panel control: its tooltip's text as it is now,
// or the built-in text of the chosen language where a film's table leaves the tooltip
// empty.
std::string ControlName(const TUiTexts& texts, TMenuText tooltip);

// A button's window text that shows name as it is: "&" doubled, so that it marks no
// access key for the dialog handling of the message loop.
std::string ButtonWindowText(const std::string& name);

// format with each "%s" replaced by the next of values (by nothing once they run out)
// and "%%" by "%"; any other "%" stays as it is. A film's language table may carry the
// format, so nothing of it reaches printf.
std::string FillTextSlots(const std::string& format, const std::vector<std::string>& values);

// The bar's value: position and total as "hh:nn:ss" with timeSeparator, and the segment
// (from 0) of segmentCount; empty while there is no segment, as the bar is then
// unavailable.
std::string BarValueText(const TUiTexts& texts, double positionSeconds, double totalSeconds, int32_t segment,
                         int32_t segmentCount, const std::string& timeSeparator);

// The speed slider's value: its label with "×" for the "x" ("×1.5"), "MAX" above ×100.
std::string SpeedValueText(int32_t speedPosition, const std::string& decimalSeparator);

// The volume slider's value: "80 %".
std::string VolumeValueText(const TUiTexts& texts, int32_t percent);
