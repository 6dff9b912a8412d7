#include "film/safe_format.h"

bool IsSafeFormat(const std::string& format, char conversion) {
  int conversions = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 >= format.size()) return false;
    const char next = format[++i];
    if (next == conversion) {
      ++conversions;
    } else if (next != '%') {
      return false;
    }
  }
  return conversions <= 1;
}
