#pragma once
// Access keys for the labels of one box: the letter that, with Alt, picks a control.
// Each label gets "&" before the first of its letters or digits that no label before it
// has taken, so that the keys of a box are unique in any language its texts come in;
// letters compare case-folded (Latin, Cyrillic and Greek alike). A label that carries
// a key already ("&Open") keeps it; in the others an "&" is doubled, so that it shows as
// itself. A label whose letters are all taken gets none.
#include <string>
#include <vector>

std::vector<std::string> WithAccessKeys(const std::vector<std::string>& labels);
