#include "coupling/case_label.h"

#include <cstdint>

#include "console/utf8.h"
#include "coupling/text.h"

namespace {

// A Latin letter of U+00C0 to U+017F as lowercase ASCII, or "" for none.
std::string_view latin(std::uint32_t point) {
  switch (point) {
    case 0xC4:
    case 0xE4:
    case 0xC6:
    case 0xE6:
      return "ae";  // Ä ä Æ æ
    case 0xD6:
    case 0xF6:
    case 0x152:
    case 0x153:
      return "oe";  // Ö ö Œ œ
    case 0xDC:
    case 0xFC:
      return "ue";  // Ü ü
    case 0xDF:
      return "ss";
    default:
      break;
  }
  // Letters with an accent, by their base letter: U+00C0 to U+00FF.
  constexpr std::string_view kLatin1 =
      "aaaaaaaceeeeiiiidnooooo*ouuuuyts"   // U+00C0 .. U+00DF
      "aaaaaaaceeeeiiiidnooooo/ouuuuyty";  // U+00E0 .. U+00FF
  if (point >= 0xC0 && point <= 0xFF) {
    const char c = kLatin1[point - 0xC0];
    return c == '*' || c == '/' ? "" : kLatin1.substr(point - 0xC0, 1);
  }
  return "";
}

}  // namespace

bool readLabelText(std::string_view text, std::string& out) {
  for (std::size_t k = 0, length = 0; k < text.size(); k += length) {
    const auto [point, taken] = firstUtf8Character(text.substr(k));
    length = taken;
    if (length == 0) return false;
    if ((point < 0x20 && point != '\t') || (point >= 0x7F && point < 0xA0) ||
        point == 0x2028 || point == 0x2029)
      return false;
  }
  out = trim(text);
  return true;
}

std::string caseFileName(std::string_view name) {
  constexpr std::size_t kMost = 60;
  std::string stem;
  bool gap = false;  // characters that are neither letter nor digit since the last
  for (std::size_t k = 0, length = 1; k < name.size(); k += length) {
    const auto [point, taken] = firstUtf8Character(name.substr(k));
    length = taken;
    std::string_view letters;
    char ascii = 0;
    if (length == 0) {
      length = 1;
    } else if ((point >= 'a' && point <= 'z') || (point >= '0' && point <= '9')) {
      ascii = static_cast<char>(point);
      letters = std::string_view(&ascii, 1);
    } else if (point >= 'A' && point <= 'Z') {
      ascii = static_cast<char>(point - 'A' + 'a');
      letters = std::string_view(&ascii, 1);
    } else {
      letters = latin(point);
    }
    if (letters.empty()) {
      gap = true;
      continue;
    }
    if (gap && !stem.empty()) stem += '-';
    gap = false;
    stem += letters;
  }
  if (stem.size() > kMost) {
    const std::size_t cut = stem.rfind('-', kMost);
    stem.resize(cut == std::string::npos || cut == 0 ? kMost : cut);
  }
  return "tavro-" + (stem.empty() ? std::string("fall") : stem) + ".txt";
}
