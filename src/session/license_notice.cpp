#include "session/license_notice.h"

#include <sstream>
#include <vector>

#include "session/fixed_texts.h"

namespace {
std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \r") - first + 1);
}

// "name | version | license | source" of one library line; empty for any other line.
std::string LibraryLine(const std::string& line) {
  std::vector<std::string> fields;
  size_t from = 0;
  for (size_t bar; (bar = line.find(" | ", from)) != std::string::npos; from = bar + 3)
    fields.push_back(Trimmed(line.substr(from, bar - from)));
  fields.push_back(Trimmed(line.substr(from)));
  if (fields.size() < 4 || fields[0].empty()) return "";
  return fields[0] + " " + fields[1] + " (" + fields[2] + ")";
}

std::vector<std::string> LibrariesOf(const std::string& notices, const std::string& program) {
  std::vector<std::string> libraries;
  std::istringstream lines(notices);
  bool inSection = false;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line[0] == '[') {
      inSection = line.compare(0, program.size() + 2, "[" + program + "]") == 0;
    } else if (inSection) {
      if (std::string library = LibraryLine(line); !library.empty()) libraries.push_back(library);
    }
  }
  return libraries;
}
}  // namespace

std::string LicenseBoxText(const std::string& notices, const std::string& program, TUiLanguage language) {
  const TFixedTexts& texts = FixedTexts(language);
  std::string text = texts.LicenseLines;
  const std::vector<std::string> libraries = LibrariesOf(notices, program);
  if (!libraries.empty()) {
    text += texts.LicenseLibraries;
    for (const std::string& library : libraries) text += library + "\r";
    text += "\r";
  }
  return text + texts.LicenseFiles;
}
