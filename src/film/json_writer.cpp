#include "film/json_writer.h"

#include <cmath>
#include <cstdio>

TJsonWriter& TJsonWriter::Key(const std::string& key) {
  BeforeValue();
  AppendQuoted(key);
  FText += ':';
  FAfterKey = true;
  return *this;
}

TJsonWriter& TJsonWriter::String(const std::string& value) {
  BeforeValue();
  AppendQuoted(value);
  return *this;
}

TJsonWriter& TJsonWriter::Number(int64_t value) {
  BeforeValue();
  FText += std::to_string(value);
  return *this;
}

TJsonWriter& TJsonWriter::Real(double value) {
  BeforeValue();
  if (!std::isfinite(value)) {
    FText += "null";
    return *this;
  }
  char buffer[32];
  std::snprintf(buffer, sizeof(buffer), "%.9g", value);
  FText += buffer;
  return *this;
}

TJsonWriter& TJsonWriter::Bool(bool value) {
  BeforeValue();
  FText += value ? "true" : "false";
  return *this;
}

TJsonWriter& TJsonWriter::Null() {
  BeforeValue();
  FText += "null";
  return *this;
}

TJsonWriter& TJsonWriter::Open(char bracket) {
  BeforeValue();
  FText += bracket;
  FHasItems.push_back(false);
  return *this;
}

TJsonWriter& TJsonWriter::Close(char bracket) {
  FText += bracket;
  FHasItems.pop_back();
  return *this;
}

void TJsonWriter::BeforeValue() {
  if (FAfterKey) {
    FAfterKey = false;
    return;
  }
  if (FHasItems.empty()) return;
  if (FHasItems.back()) FText += ',';
  FHasItems.back() = true;
}

void TJsonWriter::AppendQuoted(const std::string& text) {
  FText += '"';
  for (unsigned char c : text) {
    switch (c) {
      case '"': FText += "\\\""; break;
      case '\\': FText += "\\\\"; break;
      case '\n': FText += "\\n"; break;
      case '\r': FText += "\\r"; break;
      case '\t': FText += "\\t"; break;
      default:
        if (c < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof(escape), "\\u%04x", c);
          FText += escape;
        } else {
          FText += static_cast<char>(c);
        }
    }
  }
  FText += '"';
}
