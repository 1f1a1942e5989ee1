#include "console/json.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "console/number.h"
#include "console/utf8.h"

void JsonWriter::beforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!empty_.empty()) {
    if (!empty_.back()) out_ += ',';
    empty_.back() = false;
  }
}

JsonWriter& JsonWriter::beginObject() {
  beforeValue();
  out_ += '{';
  empty_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::endObject() {
  out_ += '}';
  empty_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::beginArray() {
  beforeValue();
  out_ += '[';
  empty_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::endArray() {
  out_ += ']';
  empty_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
  string(name);
  out_ += ':';
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::string(std::string_view text) {
  beforeValue();
  out_ += '"';
  for (std::size_t k = 0; k < text.size();) {
    const char c = text[k];
    const std::size_t length = firstUtf8Character(text.substr(k)).length;
    if (c == '"' || c == '\\') {
      out_ += '\\';
      out_ += c;
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      // DEL too: raw it is valid JSON, but a terminal shown the text would
      // take it, and spelt out otherwise it would not be JSON.
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out_ += escape;
    } else if (length == 0) {
      out_ += "\\ufffd";  // JSON text is UTF-8: a byte that starts no character
    } else {
      out_.append(text, k, length);
    }
    k += std::max<std::size_t>(length, 1);
  }
  out_ += '"';
  return *this;
}

JsonWriter& JsonWriter::number(double value) {
  if (std::isnan(value)) return beginObject().key("nonFinite").string("NaN").endObject();
  if (std::isinf(value)) {
    return beginObject()
        .key("nonFinite")
        .string(value > 0 ? "Infinity" : "-Infinity")
        .endObject();
  }
  beforeValue();
  out_ += shortestReal(value);  // exact, and as short as a person writes it
  return *this;
}

JsonWriter& JsonWriter::integer(long long value) {
  beforeValue();
  out_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::boolean(bool value) {
  beforeValue();
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::null() {
  beforeValue();
  out_ += "null";
  return *this;
}

JsonWriter& JsonWriter::raw(std::string_view json) {
  beforeValue();
  out_ += json;
  return *this;
}
