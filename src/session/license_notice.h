#pragma once
// The About box's Licenses box: the program's license and the libraries it contains,
// read from the NOTICES text that is built into the player (so the box can never list
// other libraries than the file that comes with it).
#include <string>

#include "session/ui_language.h"

// The box's text: the license, one line "name version (license)" for each library of
// the `[program]` section of `notices`, and where the full texts are. Without such a
// section (no notices built in) the list is left out.
std::string LicenseBoxText(const std::string& notices, const std::string& program, TUiLanguage language);
