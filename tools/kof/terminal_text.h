#pragma once
// Text from a film or an index, made safe to print: the control characters a terminal
// obeys (C0, DEL and C1) escaped, C0 and DEL as \xHH in plain lines and \u00HH in JSON
// (whose writers escape only C0), C1 as \u00HH. A name or word in a file then cannot
// drive the terminal it is shown in.
#include <string>

std::string WithControlsEscaped(const std::string& text, bool json);
