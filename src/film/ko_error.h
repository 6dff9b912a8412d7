#pragma once
// The one exception type of the core: it carries the message text that the window
// procedures show in their message boxes.
#include <stdexcept>
#include <string>

class EkoError : public std::runtime_error {
public:
  explicit EkoError(const std::string& message) : std::runtime_error(message) {}
};

// printf-style formatting of the message texts ("Cannot read file %s" …).
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
