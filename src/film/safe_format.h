#pragma once
// Format texts that come from a language table are untrusted: they are handed to printf
// only when their conversions match the one argument the program passes.
#include <string>

// True when every "%" in format starts either "%%" or a plain "%<conversion>" (no flags,
// width or length), and that conversion occurs at most once. conversion is 'd' for a
// number or 's' for a text. A lone "%" at the end makes the format unsafe.
bool IsSafeFormat(const std::string& format, char conversion);
