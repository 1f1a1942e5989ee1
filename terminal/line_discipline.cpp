#include "terminal/line_discipline.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kInterrupt = 0x03;  // Ctrl-C
constexpr char kEndOfFile = 0x04;  // Ctrl-D
constexpr char kBackspace = 0x08;  // ^H
constexpr char kKillLine = 0x15;   // Ctrl-U
constexpr char kSuspend = 0x1A;    // Ctrl-Z
constexpr char kDelete = 0x7F;     // what the Backspace key sends

// Shown as ^X: the control characters but the tab, which is shown as one
// blank so that Backspace can take it back.
bool isControl(char c) {
  return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == kDelete;
}

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

int LineDiscipline::nextByte(int waitMs) {
  if (head_ == tail_) {
    const long count = keyboard_.read(typed_, sizeof typed_, waitMs);
    if (count == kTimedOut) return kNone;
    if (count <= 0) return kEnd;
    head_ = 0;
    tail_ = static_cast<std::size_t>(count);
  }
  return static_cast<unsigned char>(typed_[head_++]);
}

long LineDiscipline::read(char* buffer, std::size_t size, int waitMs) {
  if (interrupted_) return 0;
  if (!done_.empty()) return handOut(buffer, size);
  for (;;) {
    const int byte = nextByte(waitMs);
    if (byte == kNone) return kTimedOut;
    if (byte == kEnd) {  // what was typed so far still counts
      done_.swap(line_);
      return handOut(buffer, size);
    }
    const char c = static_cast<char>(byte);
    if (c == kSuspend) continue;
    if (c == kInterrupt) {
      if (!keyMode_) write("^C");
      interrupted_ = true;
      line_.clear();
      return 0;
    }
    if (keyMode_) {
      buffer[0] = c;
      return 1;
    }
    if (edit(c)) return handOut(buffer, size);
  }
}

bool LineDiscipline::edit(char c) {
  if (c == '\r' || c == '\n') {
    line_ += '\n';
    write("\n");
  } else if (c == kEndOfFile) {
    // Ends the line as it stands; on an empty line that is the end of input.
  } else if (c == kDelete || c == kBackspace) {
    eraseOne();
    return false;
  } else if (c == kKillLine) {
    while (!line_.empty()) eraseOne();
    return false;
  } else {
    if (line_.size() >= kLineLimit) return false;
    line_ += c;
    if (isControl(c)) {
      const char shown[] = {'^', static_cast<char>(c ^ 0x40)};
      write({shown, 2});
    } else if (c == '\t') {
      write(" ");
    } else {
      write({&c, 1});
    }
    return false;
  }
  done_.swap(line_);
  line_.clear();
  return true;
}

void LineDiscipline::eraseOne() {
  if (line_.empty()) return;
  while (line_.size() > 1 && isContinuation(line_.back())) line_.pop_back();
  const char erased = line_.back();
  line_.pop_back();
  write(isControl(erased) ? "\b \b\b \b" : "\b \b");
}

long LineDiscipline::handOut(char* buffer, std::size_t size) {
  const std::size_t count = std::min(size, done_.size());
  std::memcpy(buffer, done_.data(), count);
  done_.erase(0, count);
  return static_cast<long>(count);
}
