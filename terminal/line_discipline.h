#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "console/device.h"

// A terminal's line mode, for keyboards that deliver bytes exactly as typed
// (the browser page; the fuzzer). It sits between the console and such a
// device, as the kernel's line discipline sits between a program and a
// real terminal:
// - During a key read each typed byte is passed on as it is, unechoed.
// - Otherwise bytes are collected into a line and echoed: Backspace (DEL or
//   ^H) erases the last character (all bytes of a UTF-8 character), Ctrl-U
//   the whole line, Enter (CR or LF) ends the line as "\n", Ctrl-D ends it
//   without one or, on an empty line, is the end of input. Other control
//   characters are kept and shown as ^X. A line keeps its first kLineLimit
//   bytes; what is typed beyond them is neither kept nor echoed.
// - In both modes Ctrl-C interrupts: the line is dropped, "^C" is echoed
//   in line mode, and every read from then on reports the end of input.
//   Ctrl-Z is dropped: there is no job control to stop for.
// Bytes are taken from the device only as far as the current read needs
// them, so text typed ahead waits in order; a line typed ahead of a prompt
// is echoed when that prompt takes it. ready() is always false, so the
// console shows its prompt before the echo of what it reads.
class LineDiscipline : public Device {
 public:
  explicit LineDiscipline(Device& keyboard) : keyboard_(keyboard) {}

  long read(char* buffer, std::size_t size, int waitMs) override;
  bool ready() override { return false; }
  void write(std::string_view text) override { keyboard_.write(text); }
  void beginKeyRead() override { keyMode_ = true; }
  void endKeyRead() override { keyMode_ = false; }

  // True once Ctrl-C was typed.
  bool interrupted() const { return interrupted_; }

  static constexpr std::size_t kLineLimit = 4096;

 private:
  static constexpr int kEnd = -1;   // nextByte: the device's input ended
  static constexpr int kNone = -2;  // nextByte: nothing within the wait

  // The next typed byte, kEnd or kNone.
  int nextByte(int waitMs);
  // Takes the typed byte `c` into the line; true when the line is complete
  // (or, at Ctrl-D on an empty line, the input ended).
  bool edit(char c);
  // Erases the last character of the line, on the screen too.
  void eraseOne();
  // Hands out up to `size` bytes of the completed line.
  long handOut(char* buffer, std::size_t size);

  Device& keyboard_;
  char typed_[256];           // bytes from the device, not yet taken
  std::size_t head_ = 0;      // next byte of typed_ to take
  std::size_t tail_ = 0;      // end of the valid bytes in typed_
  std::string line_;          // the line being typed
  std::string done_;          // the completed line, not yet handed out
  bool keyMode_ = false;      // between beginKeyRead and endKeyRead
  bool interrupted_ = false;  // Ctrl-C was typed
};
