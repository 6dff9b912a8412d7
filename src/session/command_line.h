#pragma once
// The command line: a film file name, the window's size and position, the first segment
// and close-on-finish.
//   "FileName.exe" [-size {FULLSCREEN|MAX|MIN|{w h}} [-pos {C|{{L|R|x} {T|B|y}}}]] [-segm N] [-closeonfinish]
//                  [-skipidle SECONDS]
// Options start with "-" or "/" and are compared ignoring the case of A to Z; "/?" and
// "/help" ask for the help box. The parser decides everything; the Windows caller shows
// the boxes it returns, in order, and then applies the options.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "playback/picture_layout.h"

constexpr int32_t kDefaultWindowWidth = 600;
constexpr int32_t kDefaultWindowHeight = 400;

enum TSizeMode : uint8_t {
  smNormal = 0,
  smMaximised = 2,
};

struct CommandLineOptions {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Width = kDefaultWindowWidth;
  int32_t Height = kDefaultWindowHeight;
  // Counted from 1; below 1 nothing is started.
  int32_t SegmentNumber = 1;
  // /segm came with a number: the film starts where the command line says.
  bool SegmentGiven = false;
  uint8_t SizeMode = smNormal;
  bool FullScreenRequested = false;
  bool CloseOnFinish = false;
  // /skipidle: idle stretches at least this long are skipped (0: skipping is off); none
  // when not given (the remembered choice holds).
  std::optional<int32_t> IdleSkipSeconds;
  // As given (only the first parameter can name a film); empty when none was given.
  std::wstring FilmFileName;
  bool operator==(const CommandLineOptions&) const = default;
};

// The message boxes the parse asks for, each with no owner. The help box has an
// information icon; the invalid-format box an error icon and ends the list.
enum class TCommandLineBox : uint8_t { kHelp, kInvalidFormat };

// UTF-8 texts of the two boxes.
extern const char kCommandLineHelpCaption[];
// Twenty lines separated by "\r", the last without one.
extern const char kCommandLineHelpText[];
extern const char kInvalidCommandLineText[];
// The fixed caption of the invalid-format box (not the language table's "Error").
extern const char kInvalidCommandLineCaption[];

struct TCommandLineResult {
  CommandLineOptions Options;
  std::vector<TCommandLineBox> Boxes;
};

// Parses the parameters after the program name (as CommandLineToArgvW splits them) for
// a screen of the given size. Never fails: a value that is not an integer where one is
// expected (for /skipidle: not one from 0 to 3600) adds kInvalidFormat, ignores the remaining parameters and leaves the values
// set so far without applying the limits. Otherwise the limits are applied at the end:
// X, Y at least 0, Width at least 600, Height at least 400, and the window kept from
// reaching past the screen's right and bottom edges (a window larger than the screen
// gets a negative X or Y). Arithmetic on the screen size saturates at the 32-bit range.
// On a scaled screen the smallest (and default) window is 600 x 400 times the scale:
// `smallest` replaces 600 x 400 everywhere above; numbers given stay screen pixels.
TCommandLineResult ParseCommandLine(const std::vector<std::wstring>& parameters, TkoSize screen,
                                    TkoSize smallest = {kDefaultWindowWidth, kDefaultWindowHeight});

// A decimal integer: an optional "+" or "-" and at least one digit 0-9, nothing else (no
// blanks, no hexadecimal). Empty when the text is not one or lies outside the 32-bit
// signed range.
std::optional<int32_t> ParseDecimalInt32(std::wstring_view text);
