#pragma once

#include <string>
#include <string_view>
#include <vector>

// Writes JSON text, placing the commas between members and elements itself.
// A number JSON has no word for is written as an object no string can be
// taken for: {"nonFinite": "NaN"} ("Infinity", "-Infinity").
class JsonWriter {
 public:
  JsonWriter& beginObject();
  JsonWriter& endObject();
  JsonWriter& beginArray();
  JsonWriter& endArray();
  // The name of the next member of the open object; its value follows.
  JsonWriter& key(std::string_view name);
  // UTF-8, escaped as JSON needs; a byte that starts no well-formed UTF-8
  // character (a file name in Latin-1) is written as U+FFFD, as JSON is UTF-8.
  JsonWriter& string(std::string_view text);
  JsonWriter& number(double value);  // the shortest exact text
  JsonWriter& integer(long long value);
  JsonWriter& boolean(bool value);
  JsonWriter& null();
  // A value written elsewhere as JSON, taken as it is.
  JsonWriter& raw(std::string_view json);

  // The text so far; whole once every object and array is ended.
  const std::string& text() const { return out_; }

 private:
  void beforeValue();  // the comma an element needs, unless it follows a key

  std::string out_;
  std::vector<bool> empty_;  // for each open object or array: nothing in it yet
  bool afterKey_ = false;    // a key was written; its value comes next
};
