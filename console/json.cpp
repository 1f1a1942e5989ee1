#include "console/json.h"

#include <cmath>
#include <cstdio>

#include "console/number.h"

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
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out_ += '\\';
      out_ += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out_ += escape;
    } else {
      out_ += c;
    }
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
