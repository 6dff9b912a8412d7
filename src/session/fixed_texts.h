#pragma once
// The texts no language-table key reaches (and the built-in texts of the two keys that
// only menu items use), in each built-in language. UTF-8.
#include "session/ui_texts.h"

// The keys that only menu items use: Help's first item and context item 13, and the
// context menu's Close.
inline constexpr char kContextHelpKey[] = "ContextHelp";
inline constexpr char kCloseKey[] = "Close";

struct TFixedTexts {
  const char* PropertiesCaption;
  const char* HelpText;  // the help box's body
  const char* CommandLineHelpCaption;
  const char* CommandLineHelpText;
  const char* InvalidCommandLineText;
  const char* AboutCaption;
  const char* AboutCloseButton;
  const char* AboutNotice;  // its lines broken with "\r\n"
  const char* AboutLicensesButton;  // also the Licenses box's caption
  const char* LicenseLines;         // the Licenses box: the program's license,
  const char* LicenseLibraries;     // the heading of the libraries' lines,
  const char* LicenseFiles;         // where the full texts are
  const char* ContextHelp;  // under kContextHelpKey
  const char* Close;        // under kCloseKey
};

const TFixedTexts& FixedTexts(TUiLanguage language);
