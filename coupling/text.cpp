#include "coupling/text.h"

#include "console/utf8.h"

namespace {

// Windows-1252's characters for 0x80 to 0x9F (where it differs from
// Latin-1); the five it leaves out keep their code points.
constexpr char16_t kWindows1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// UTF-16 after its byte-order mark, little- or big-endian, as UTF-8.
std::string fromUtf16(std::string_view bytes, bool little) {
  std::string out;
  const auto unit = [&](std::size_t k) {
    const auto a = static_cast<unsigned char>(bytes[k]);
    const auto b = static_cast<unsigned char>(bytes[k + 1]);
    return static_cast<char32_t>(little ? a | (b << 8) : (a << 8) | b);
  };
  for (std::size_t k = 0; k + 1 < bytes.size(); k += 2) {
    char32_t c = unit(k);
    if (c >= 0xD800 && c < 0xDC00 && k + 3 < bytes.size() && unit(k + 2) >= 0xDC00 &&
        unit(k + 2) < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(k + 2) - 0xDC00);
      k += 2;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    appendUtf8(out, c);
  }
  if (bytes.size() % 2 != 0) appendUtf8(out, 0xFFFD);  // half a unit: cut short
  return out;
}

}  // namespace

std::string asUtf8(std::string_view bytes) {
  if (isUtf8(bytes)) return std::string(bytes);
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    appendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kWindows1252[byte - 0x80] : byte);
  }
  return out;
}

std::string unmarkedUtf16(std::string_view bytes) {
  if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") return "";
  std::size_t nul[2] = {0, 0};  // NUL bytes in even and in odd places
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    if (bytes[k] == '\0') ++nul[k % 2];
  }
  // Little-endian UTF-16 has the NULs of Latin letters in odd places.
  const std::size_t half = bytes.size() / 2;
  if ((nul[0] == 0) == (nul[1] == 0) || (nul[0] + nul[1]) * 4 < half) return "";
  return std::string("die Datei ist wohl UTF-16 ") + (nul[1] != 0 ? "LE" : "BE") +
         " ohne Byte-Order-Mark; gelesen wird nichts, bitte als UTF-8 speichern";
}

std::string decodeText(std::string_view bytes) {
  if (bytes.substr(0, 2) == "\xFF\xFE") return fromUtf16(bytes.substr(2), true);
  if (bytes.substr(0, 2) == "\xFE\xFF") return fromUtf16(bytes.substr(2), false);
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return asUtf8(bytes);
}

namespace {

// The spaces the eye cannot tell from a blank or cannot see, with what a
// message calls them.
constexpr struct {
  std::string_view bytes;
  const char* name;
} kInvisible[] = {
    {"\xC2\xA0", "ein geschuetztes Leerzeichen (U+00A0)"},
    {"\xE2\x80\xAF", "ein schmales geschuetztes Leerzeichen (U+202F)"},
    {"\xE2\x80\x87", "ein Ziffernleerzeichen (U+2007)"},
    {"\xE2\x80\x8B", "ein Leerzeichen ohne Breite (U+200B)"},
    {"\xEF\xBB\xBF", "eine Byte-Order-Mark (U+FEFF)"},
};

}  // namespace

std::size_t invisibleSpace(std::string_view text) {
  for (const auto& space : kInvisible) {
    if (text.starts_with(space.bytes)) return space.bytes.size();
  }
  return 0;
}

const char* invisibleSpaceName(std::string_view text) {
  for (const auto& space : kInvisible) {
    if (text.starts_with(space.bytes)) return space.name;
  }
  return nullptr;
}

std::string_view trim(std::string_view s) {
  for (;;) {
    if (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
      s.remove_prefix(1);
    } else if (const std::size_t space = invisibleSpace(s); space > 0) {
      s.remove_prefix(space);
    } else {
      break;
    }
  }
  for (;;) {
    if (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
      s.remove_suffix(1);
      continue;
    }
    std::size_t space = 0;
    for (std::size_t size = 2; size <= 3 && size <= s.size() && space == 0; ++size)
      space = invisibleSpace(s.substr(s.size() - size)) == size ? size : 0;
    if (space == 0) break;
    s.remove_suffix(space);
  }
  return s;
}
