#include "console/json.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "console/number.h"

namespace {

// The length of the well-formed UTF-8 character `text` starts with, or 0
// when its first byte starts none.
std::size_t characterLength(std::string_view text) {
  const auto byte = [&](std::size_t k) {
    return k < text.size() ? static_cast<unsigned char>(text[k]) : 0u;
  };
  const unsigned lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t following = 0;
  unsigned low = 0x80;   // the second byte's range, narrowed where the lead
  unsigned high = 0xBF;  // would allow an overlong form, a surrogate or > U+10FFFF
  if (lead >= 0xC2 && lead <= 0xDF) {
    following = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    following = 2;
    low = lead == 0xE0 ? 0xA0 : low;
    high = lead == 0xED ? 0x9F : high;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    following = 3;
    low = lead == 0xF0 ? 0x90 : low;
    high = lead == 0xF4 ? 0x8F : high;
  } else {
    return 0;
  }
  for (std::size_t k = 1; k <= following; ++k, low = 0x80, high = 0xBF) {
    if (byte(k) < low || byte(k) > high) return 0;
  }
  return following + 1;
}

}  // namespace

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
    const std::size_t length = characterLength(text.substr(k));
    if (c == '"' || c == '\\') {
      out_ += '\\';
      out_ += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
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
