#include "console/utf8.h"

#include <algorithm>
#include <cstdio>

Utf8Character firstUtf8Character(std::string_view text) {
  const auto byte = [&](std::size_t k) {
    return k < text.size() ? static_cast<unsigned char>(text[k]) : 0U;
  };
  if (text.empty()) return {};
  const unsigned lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t following = 0;
  unsigned low = 0x80;   // the second byte's range, narrowed where the lead
  unsigned high = 0xBF;  // would allow an overlong form, a surrogate or > U+10FFFF
  char32_t point = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    following = 1;
    point = lead & 0x1FU;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    following = 2;
    point = lead & 0x0FU;
    low = lead == 0xE0 ? 0xA0 : low;
    high = lead == 0xED ? 0x9F : high;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    following = 3;
    point = lead & 0x07U;
    low = lead == 0xF0 ? 0x90 : low;
    high = lead == 0xF4 ? 0x8F : high;
  } else {
    return {};
  }
  for (std::size_t k = 1; k <= following; ++k, low = 0x80, high = 0xBF) {
    if (byte(k) < low || byte(k) > high) return {};
    point = point << 6 | (byte(k) & 0x3FU);
  }
  return {point, following + 1};
}

bool isUtf8(std::string_view text) {
  for (std::size_t k = 0; k < text.size();) {
    const std::size_t length = firstUtf8Character(text.substr(k)).length;
    if (length == 0) return false;
    k += length;
  }
  return true;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string visibleControls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t k = 0; k < text.size();) {
    const Utf8Character c = firstUtf8Character(text.substr(k));
    const bool lineEnd =
        c.point == '\n' || (c.point == '\r' && text.substr(k + 1, 1) == "\n");
    const bool c0 = c.length == 1 && (c.point < 0x20 || c.point == 0x7F) && !lineEnd &&
                    c.point != '\t';
    const bool c1 = c.length == 2 && c.point >= 0x80 && c.point < 0xA0;
    if (c0 || c1) {
      char spelt[8];
      std::snprintf(spelt, sizeof spelt, c0 ? "\\x%02x" : "\\u%04x",
                    static_cast<unsigned>(c.point));
      out += spelt;
    } else {
      out.append(text, k, std::max<std::size_t>(c.length, 1));
    }
    k += std::max<std::size_t>(c.length, 1);
  }
  return out;
}
