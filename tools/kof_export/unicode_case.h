#pragma once
// Lower case of a Unicode code point, as a case-insensitive file system folds names.

// The code point in lower case; ASCII always, others where the system's case table
// has them.
char32_t LowerCase(char32_t code);
