#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "console/device.h"

// Key codes that readKey returns besides plain bytes (0-255). They lie above
// every byte value, so no special key can be mistaken for a command letter.
namespace key {
constexpr int kEndOfInput = -1;      // the input is used up
constexpr int kEscape = 27;          // a lone Esc
constexpr int kSequence = 0x100;     // Esc [ ... or Esc O x: arrows, F1-F12
constexpr int kAlt = 0x200;          // kAlt + byte: Esc followed by one byte
constexpr int kUnicode = 0x1000000;  // kUnicode + code point: a UTF-8 character
}  // namespace key

// What the console waits for, as its callers name it.
enum class Wait {
  kMenu,    // a key at the menu
  kKey,     // any other key (the information line's pause)
  kPage,    // a key at the pager
  kNumber,  // a number at a prompt
};

// Told each time the console is about to wait for input, and what for, so
// that the browser page can help beside its terminal. For a number, `field`
// is the variable the number will be read into; else it is null.
class ConsoleWatcher {
 public:
  virtual ~ConsoleWatcher() = default;
  virtual void waiting(Wait what, const void* field) = 0;
};

// How the number prompts read the last typed line, so that the browser page
// can say where that differs from what the line looks like.
struct LineReading {
  // One number prompt's read from the line: the characters begin to end it
  // took; begin == end when there was no number there (the rest of the line
  // was then dropped).
  struct Take {
    const void* field;  // the variable the prompt read into
    std::size_t begin;
    std::size_t end;
  };
  std::string line;         // the line as typed, its line end included
  std::vector<Take> takes;  // in the order read
  std::size_t rest = 0;     // where the part no prompt has read yet begins
};

// The console conventions of the program: single keys, numbers typed at
// prompts, output (value lines in printf's "%g" and "%d" form) and the pager.
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
  explicit Console(Device& device) : device_(device) {
    out_.reserve(kOutputLimit + 1024);
  }
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Appends `text` as it stands to the output.
  void print(std::string_view text);
  // Appends a value line: `format` holds one "%g" (or "%d") for `value`.
  void print(const char* format, double value);
  void print(const char* format, int value);

  // Writes the pending output to the device. The console does so by itself
  // before a read that has to wait for input, when kOutputLimit bytes are
  // pending, and in finishLine; so a script whose input is all there costs
  // a handful of writes, while a person sees every prompt before typing.
  void flush();
  static constexpr std::size_t kOutputLimit = std::size_t{64} * 1024;

  // Ends the current output line unless the last character written was a
  // line end. Used when the input ends in the middle of a dialog or page.
  void finishLine();

  // Waits for one key press and returns its code: a byte, one of the codes
  // in namespace key, or key::kEndOfInput. `why` is what a watcher is told.
  int readKey(Wait why = Wait::kKey);

  // Prints `prompt` as it stands and reads one number into `field`, with
  // strtod semantics for a real and strtol (base 10) for an integer. In a
  // real the first comma of the rest of the line counts as a decimal point
  // ("1,5" is 1.5); an integer stops at a comma as at a point. When no
  // number can be read there, or an integer does not fit, the field keeps its
  // value and the rest of the line is dropped, so no prompt comes back
  // without new input. A line keeps its first kLineLimit bytes; the rest of
  // it is dropped, as a terminal in line mode does. Returns false when the
  // input has ended.
  bool readNumber(const char* prompt, double& field);
  bool readNumber(const char* prompt, int& field);
  static constexpr std::size_t kLineLimit = 4096;

  // Ends a page: prints the prompt and waits for a key. Returns true when
  // the command goes on, false on x or at the end of input.
  bool pager();

  // Tells `watcher` (null: nobody) before every wait for input.
  void watch(ConsoleWatcher* watcher) { watcher_ = watcher; }

  // How the number prompts read the last line typed at one (an empty
  // reading before the first): kept until the next line is taken.
  const LineReading& lineReading() const { return reading_; }

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
  // Makes the next line of the stream the current line, cut to kLineLimit
  // bytes; false at the end of input.
  bool takeLine();
  // Prints a number prompt and returns where the number should begin in the
  // current line, or null at the end of input.
  const char* numberAt(const char* prompt);
  // Takes the characters of a converted number, start to end. An empty one
  // was no number: then the rest of the line is dropped.
  void takeNumber(const char* start, const char* end);
  // Writes the pending output once kOutputLimit bytes are pending.
  void limitOutput();

  Device& device_;
  std::string out_;                    // output not yet written to the device
  char lastWritten_ = '\n';            // last character handed to the device
  char in_[4096];                      // bytes read from the device, not yet taken
  std::size_t head_ = 0;               // next byte of in_ to take
  std::size_t tail_ = 0;               // end of the valid bytes in in_
  char line_[kLineLimit + 1];          // current line of number input, NUL-terminated
  std::size_t lineSize_ = 0;           // bytes in line_
  std::size_t linePos_ = 0;            // first unread character of line_
  bool eof_ = false;                   // the device reported the end of input
  bool ended_ = false;                 // a read returned because of it
  ConsoleWatcher* watcher_ = nullptr;  // told before each wait, if set
  Wait waitingFor_ = Wait::kKey;       // what the current read is for
  const void* waitField_ = nullptr;    // the variable a number read fills
  LineReading reading_;                // how the current line has been read
};
