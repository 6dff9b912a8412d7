#pragma once
// A small JSON text builder for kof's --json output: keys and values in call order,
// commas placed automatically, strings escaped (the text must be UTF-8).
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class JsonWriter {
public:
  JsonWriter& BeginObject() { return Open('{'); }
  JsonWriter& EndObject() { return Close('}'); }
  JsonWriter& BeginArray() { return Open('['); }
  JsonWriter& EndArray() { return Close(']'); }
  JsonWriter& Key(const std::string& key);
  JsonWriter& String(const std::string& value);
  JsonWriter& Number(int64_t value);
  JsonWriter& Real(double value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();
  const std::string& Text() const { return FText; }
  // The text written since the last call, handed over for output; the structure
  // (open containers, commas) carries on.
  std::string TakeText() { return std::exchange(FText, {}); }

private:
  JsonWriter& Open(char bracket);
  JsonWriter& Close(char bracket);
  void BeforeValue();
  void AppendQuoted(const std::string& text);

  std::string FText;
  std::vector<bool> FHasItems;  // per open container: whether it holds an item yet
  bool FAfterKey = false;
};
