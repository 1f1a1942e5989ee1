#pragma once

#include <cstddef>
#include <string_view>

// A judge of JSON text for the tests and the fuzzer, written apart from
// JsonWriter so that the writer is not its own judge: true when `text` is
// one JSON value as RFC 8259 has it, blanks only between tokens ("1 .5",
// "1e 5", "- 1" and "01" are no numbers), each string's escapes whole
// ("\u" and four hex digits) and its bytes well-formed UTF-8.
class JsonSyntax {
 public:
  explicit JsonSyntax(std::string_view text) : text_(text) {}
  bool whole() {
    if (!value()) return false;
    blanks();
    return at_ == text_.size();
  }

 private:
  void blanks() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                  text_[at_] == '\r' || text_[at_] == '\n'))
      ++at_;
  }
  unsigned byte(std::size_t k) const {
    return k < text_.size() ? static_cast<unsigned char>(text_[k]) : 0x100;
  }
  // The next byte when it is `c`, taken; blanks are not skipped.
  bool here(char c) {
    if (byte(at_) != static_cast<unsigned char>(c)) return false;
    ++at_;
    return true;
  }
  bool take(char c) {
    blanks();
    return here(c);
  }
  bool word(std::string_view w) {
    if (text_.substr(at_, w.size()) != w) return false;
    at_ += w.size();
    return true;
  }
  static bool isDigit(unsigned b) { return b >= '0' && b <= '9'; }
  bool digits() {
    const std::size_t from = at_;
    while (isDigit(byte(at_))) ++at_;
    return at_ > from;
  }
  bool number() {
    here('-');
    if (!here('0') && !(byte(at_) >= '1' && byte(at_) <= '9' && digits())) return false;
    if (here('.') && !digits()) return false;
    if (here('e') || here('E')) {
      if (!here('+')) here('-');
      return digits();
    }
    return true;
  }
  // One well-formed UTF-8 character of two to four bytes.
  bool character() {
    const unsigned lead = byte(at_);
    int following = 0;
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      following = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      following = 2;
      if (lead == 0xE0) low = 0xA0;   // no overlong form
      if (lead == 0xED) high = 0x9F;  // no surrogate
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      following = 3;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
      return false;
    }
    ++at_;
    for (int k = 0; k < following; ++k, ++at_, low = 0x80, high = 0xBF) {
      if (byte(at_) < low || byte(at_) > high) return false;
    }
    return true;
  }
  bool string() {
    if (!take('"')) return false;
    for (;;) {
      const unsigned c = byte(at_);
      if (c == '"') return here('"');
      if (c < 0x20 || c == 0x100) return false;
      if (c >= 0x80) {
        if (!character()) return false;
      } else if (c == '\\') {
        ++at_;
        if (here('u')) {
          for (int k = 0; k < 4; ++k, ++at_) {
            const unsigned h = byte(at_) | 0x20;  // a hex digit in either case
            if (!isDigit(byte(at_)) && !(h >= 'a' && h <= 'f')) return false;
          }
        } else if (byte(at_) >= 0x80 || std::string_view("\"\\/bfnrt").find(text_[at_]) ==
                                            std::string_view::npos) {
          return false;
        } else {
          ++at_;
        }
      } else {
        ++at_;
      }
    }
  }
  template <typename Member>
  bool sequence(char close, Member member) {
    if (take(close)) return true;
    do {
      if (!member()) return false;
    } while (take(','));
    return take(close);
  }
  bool value() {
    blanks();
    switch (byte(at_)) {
      case '{':
        ++at_;
        return sequence('}', [this] { return string() && take(':') && value(); });
      case '[':
        ++at_;
        return sequence(']', [this] { return value(); });
      case '"':
        return string();
      case 't':
        return word("true");
      case 'f':
        return word("false");
      case 'n':
        return word("null");
      default:
        return number();
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
};
