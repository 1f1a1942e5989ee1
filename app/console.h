#pragma once

#include <cstddef>
#include <string>

#include "app/device.h"

// Key codes that readKey returns besides plain bytes (0-255). They lie above
// every byte value, so no special key can be mistaken for a command letter.
namespace key {
constexpr int kEndOfInput = -1;      // the input is used up
constexpr int kEscape = 27;          // a lone Esc
constexpr int kSequence = 0x100;     // Esc [ ... or Esc O x: arrows, F1-F12
constexpr int kAlt = 0x200;          // kAlt + byte: Esc followed by one byte
constexpr int kUnicode = 0x1000000;  // kUnicode + code point: a UTF-8 character
}  // namespace key

// The console conventions of the program: single keys, numbers typed at
// prompts, printf-style output and the pager.
//
// Keys and typed lines share one byte stream. A key read takes the next key
// straight from the stream. A number read works on a current line: when that
// is used up it takes the next whole line from the stream, and what follows a
// number stays in the line for the next number read. So the Enter that ends
// a typed number is never seen as a key.
//
// Once the input has ended every read reports it; the session then ends.
class Console {
 public:
  explicit Console(Device& device) : device_(device) {}
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Prints printf-style; the output is buffered until the next read.
  void print(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Writes the buffered output to the device.
  void flush();

  // Ends the current output line unless the last character written was a
  // line end. Used when the input ends in the middle of a dialog or page.
  void finishLine();

  // Waits for one key press and returns its code: a byte, one of the codes
  // in namespace key, or key::kEndOfInput.
  int readKey();

  // Prints `prompt` as it stands and reads one number into `field`, with
  // strtod semantics for a real and strtol (base 10) for an integer. When no
  // number can be read there, or an integer does not fit, the field keeps its
  // value and the rest of the line is dropped, so no prompt comes back
  // without new input. Returns false when the input has ended.
  bool readNumber(const char* prompt, double& field);
  bool readNumber(const char* prompt, int& field);

  // Ends a page: prints the prompt and waits for a key. Returns true when
  // the command goes on, false on x or at the end of input.
  bool pager();

  // True once a read returned because the input has ended. (Bytes read
  // before the end are still served first.)
  bool inputEnded() const { return ended_; }

 private:
  static constexpr int kForever = -1;
  static constexpr int kNothing = -2;  // peekByte: no byte within the wait

  // Returns the next byte of the stream without taking it, key::kEndOfInput,
  // or kNothing when `waitMs` passed first.
  int peekByte(int waitMs);
  // Takes the byte that peekByte returned.
  void takeByte() { ++head_; }
  // Decodes the rest of a key that began with Esc or a UTF-8 lead byte.
  int readEscapeKey();
  int readUtf8Key(unsigned char lead);
  // Makes sure the current line has a character that is not white space;
  // returns false at the end of input.
  bool seekNumber();
  // Appends the next line of the stream to line_; false at the end of input.
  bool takeLine();
  // Prints a number prompt and returns where the number should begin in the
  // current line, or null at the end of input.
  const char* numberAt(const char* prompt);
  // Takes the characters of a converted number, start to end. An empty one
  // was no number: then the rest of the line is dropped.
  void takeNumber(const char* start, const char* end);

  Device& device_;
  std::string out_;          // output not yet written to the device
  char lastWritten_ = '\n';  // last character handed to the device
  char in_[4096];            // bytes read from the device, not yet taken
  std::size_t head_ = 0;     // next byte of in_ to take
  std::size_t tail_ = 0;     // end of the valid bytes in in_
  std::string line_;         // current line of number input
  std::size_t linePos_ = 0;  // first unread character of line_
  bool eof_ = false;         // the device reported the end of input
  bool ended_ = false;       // a read returned because of it
};
