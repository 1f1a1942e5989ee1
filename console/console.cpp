#include "console/console.h"

#include <algorithm>
#include <cstring>

#include "console/format.h"
#include "console/number.h"

namespace {

// How long a terminal may take to deliver the rest of a key sequence after
// its first byte. A lone Esc is recognised after this wait.
constexpr int kSequenceWaitMs = 30;

// The white space that a number read skips, line ends included.
bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool isUtf8Lead(int byte) { return byte >= 0xC2 && byte <= 0xF4; }

}  // namespace

void Console::print(std::string_view text) {
  out_.append(text);
  limitOutput();
}

void Console::print(const char* format, double value) {
  appendValue(out_, format, value);
  limitOutput();
}

void Console::print(const char* format, int value) {
  appendValue(out_, format, value);
  limitOutput();
}

void Console::limitOutput() {
  if (out_.size() >= kOutputLimit) flush();
}

void Console::flush() {
  if (out_.empty()) return;
  device_.write(out_);
  lastWritten_ = out_.back();
  out_.clear();
}

void Console::finishLine() {
  const char last = out_.empty() ? lastWritten_ : out_.back();
  if (last != '\n') print("\n");
  flush();
}

int Console::peekByte(int waitMs) {
  if (head_ < tail_) return static_cast<unsigned char>(in_[head_]);
  if (eof_) return key::kEndOfInput;
  if (!device_.ready()) flush();  // about to wait: show what asks for input
  if (watcher_ != nullptr) watcher_->waiting(waitingFor_, waitField_);
  const long count = device_.read(in_, sizeof in_, waitMs);
  if (count == Device::kTimedOut) return kNothing;
  if (count <= 0) {
    eof_ = true;
    return key::kEndOfInput;
  }
  head_ = 0;
  tail_ = static_cast<std::size_t>(count);
  return static_cast<unsigned char>(in_[0]);
}

int Console::readKey(Wait why) {
  waitingFor_ = why;
  waitField_ = nullptr;
  // Key mode first: what the output asks for cannot be typed (and echoed)
  // before the terminal is ready for it.
  device_.beginKeyRead();
  int code = peekByte(kForever);
  if (code == key::kEndOfInput) {
    ended_ = true;
  } else {
    takeByte();
    if (code == key::kEscape) {
      code = readEscapeKey();
    } else if (isUtf8Lead(code)) {
      code = readUtf8Key(static_cast<unsigned char>(code));
    }
  }
  device_.endKeyRead();
  return code;
}

int Console::readEscapeKey() {
  const int next = peekByte(kSequenceWaitMs);
  if (next < 0) return key::kEscape;
  takeByte();
  if (next == '[') {
    // Control sequence: parameter bytes, intermediate bytes, one final byte.
    // A byte that fits none of them is not part of the key.
    int c = peekByte(kSequenceWaitMs);
    for (; c >= 0x30 && c <= 0x3F; c = peekByte(kSequenceWaitMs)) takeByte();
    for (; c >= 0x20 && c <= 0x2F; c = peekByte(kSequenceWaitMs)) takeByte();
    if (c >= 0x40 && c <= 0x7E) takeByte();
    return key::kSequence;
  }
  if (next == 'O') {
    // F1-F4 and the keypad send Esc O and one letter.
    const int c = peekByte(kSequenceWaitMs);
    if (c < 0x40 || c > 0x7E) return key::kAlt + 'O';
    takeByte();
    return key::kSequence;
  }
  if (isUtf8Lead(next)) {
    return key::kAlt + readUtf8Key(static_cast<unsigned char>(next));
  }
  return key::kAlt + next;
}

int Console::readUtf8Key(unsigned char lead) {
  const int following = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
  int codePoint = lead & (0x3F >> following);
  for (int k = 0; k < following; ++k) {
    const int c = peekByte(kSequenceWaitMs);
    if (c < 0x80 || c > 0xBF) return key::kUnicode + 0xFFFD;  // cut short
    takeByte();
    codePoint = (codePoint << 6) | (c & 0x3F);
  }
  return key::kUnicode + codePoint;
}

bool Console::takeLine() {
  lineSize_ = 0;
  linePos_ = 0;
  for (;;) {
    if (peekByte(kForever) == key::kEndOfInput) break;
    const char* start = in_ + head_;
    const std::size_t available = tail_ - head_;
    const void* end = std::memchr(start, '\n', available);
    const std::size_t count =
        end ? static_cast<std::size_t>(static_cast<const char*>(end) - start) + 1
            : available;
    const std::size_t kept = std::min(count, kLineLimit - lineSize_);
    std::memcpy(line_ + lineSize_, start, kept);
    lineSize_ += kept;
    head_ += count;
    if (end) break;
  }
  line_[lineSize_] = '\0';
  reading_.line.assign(line_, lineSize_);
  reading_.takes.clear();
  reading_.rest = 0;
  return lineSize_ > 0;
}

bool Console::seekNumber() {
  for (;;) {
    while (linePos_ < lineSize_ && isBlank(line_[linePos_])) ++linePos_;
    if (linePos_ < lineSize_) return true;
    if (!takeLine()) {
      ended_ = true;
      return false;
    }
  }
}

const char* Console::numberAt(const char* prompt) {
  print(prompt);
  return seekNumber() ? line_ + linePos_ : nullptr;
}

void Console::takeNumber(const char* start, const char* end) {
  const std::size_t begin = linePos_;
  if (end == start) {
    linePos_ = lineSize_;  // no number here: drop the rest of the line
  } else {
    linePos_ += static_cast<std::size_t>(end - start);
  }
  reading_.takes.push_back({waitField_, begin, end == start ? begin : linePos_});
  reading_.rest = linePos_;
}

bool Console::readNumber(const char* prompt, double& field) {
  waitingFor_ = Wait::kNumber;
  waitField_ = &field;
  const char* start = numberAt(prompt);
  if (start == nullptr) return false;
  takeNumber(start, readReal(line_ + linePos_, field));
  return true;
}

bool Console::readNumber(const char* prompt, int& field) {
  waitingFor_ = Wait::kNumber;
  waitField_ = &field;
  const char* start = numberAt(prompt);
  if (start == nullptr) return false;
  takeNumber(start, readInteger(start, field));  // one that does not fit is no number
  return true;
}

bool Console::pager() {
  print("weiter mit bel.Taste..");
  const int code = readKey(Wait::kPage);
  if (code == 'x' || code == key::kEndOfInput) return false;
  print("\n");
  return true;
}
