#pragma once
// A small JSON text builder (kof's --json output, the web player's events to its
// page): keys and values in call order, commas placed automatically, strings escaped
// (the text must be UTF-8).
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TJsonWriter {
public:
  TJsonWriter& BeginObject() { return Open('{'); }
  TJsonWriter& EndObject() { return Close('}'); }
  TJsonWriter& BeginArray() { return Open('['); }
  TJsonWriter& EndArray() { return Close(']'); }
  TJsonWriter& Key(const std::string& key);
  TJsonWriter& String(const std::string& value);
  TJsonWriter& Number(int64_t value);
  TJsonWriter& Real(double value);
  TJsonWriter& Bool(bool value);
  TJsonWriter& Null();
  const std::string& Text() const { return FText; }
  // The text written since the last call, handed over for output; the structure
  // (open containers, commas) carries on.
  std::string TakeText() { return std::exchange(FText, {}); }

private:
  TJsonWriter& Open(char bracket);
  TJsonWriter& Close(char bracket);
  void BeforeValue();
  void AppendQuoted(const std::string& text);

  std::string FText;
  std::vector<bool> FHasItems;  // per open container: whether it holds an item yet
  bool FAfterKey = false;
};
