#pragma once

#include <string>
#include <string_view>

#include "console/device.h"

// The process's standard input and output; terminal_posix.cpp,
// terminal_windows.cpp and terminal_web.cpp implement it, one per platform.
// In the browser both are the terminal on the page, which is always a
// terminal: a LineDiscipline gives it its line mode, and Ctrl-C ends the
// program with status 130, as the shell reports SIGINT.
//
// When standard input is a terminal (a console), each key read runs without
// line input and echo and the terminal is back in its own mode right after;
// number reads see it as it was found, so typing is echoed and can be
// corrected. The mode found at start is given back on every way out: the
// destructor, an I/O error, and every signal (console event) that ends the
// program, whose default action then runs. When standard input is not a
// terminal nothing is switched and reads just wait for bytes.
//
// Bytes move unchanged in both directions: no line-end or end-of-file
// translation. A write is complete or the program ends: a partial write goes
// on with the rest, a full pipe is waited for. A read or write that fails
// ends the program with exit status 1 after one line on standard error,
// "tavro: " and what failed with the system's reason. The end of input,
// a terminal hang-up included, is no error.
//
// Only one Terminal may exist at a time.
//
// writeStandardOutput and writeStandardError write `text` without taking the
// terminal, for the answers to the command line. A failed write to standard
// output ends the program as Terminal::write does; one to standard error is
// dropped, as nothing is left to tell it to.
// `utf8`: the text holds more than ASCII (the Rechenweg's symbols); a
// Windows console then shows it as UTF-8 while it is written, standard
// error's text whenever it holds more than ASCII (a file's name). The
// console's code page goes back as found right after, or on Ctrl-C.
void writeStandardOutput(std::string_view text, bool utf8 = false);
void writeStandardError(std::string_view text);

// Reads the file at `path` (UTF-8 on Windows) whole into `bytes`; false,
// with the system's reason in `error` ("No such file or directory"; on
// Windows its own words in the user's language), when it cannot.
bool readFileBytes(const std::string& path, std::string& bytes, std::string& error);

class Terminal : public Device {
 public:
  Terminal();
  ~Terminal() override;
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  long read(char* buffer, std::size_t size, int waitMs) override;
  bool ready() override;
  void write(std::string_view text) override;
  void beginKeyRead() override;
  void endKeyRead() override;

 private:
  // Standard input is a terminal (a console); the browser page always is.
  [[maybe_unused]] bool isTerminal_;
};
