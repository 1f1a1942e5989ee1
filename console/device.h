#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The byte streams behind the console: the process's standard input and
// output, or a script in memory. The console decides what the bytes mean;
// a device only moves them.
class Device {
 public:
  virtual ~Device() = default;

  // Reads up to `size` bytes into `buffer`. Returns the count (> 0), 0 at
  // the end of input, or kTimedOut when `waitMs` milliseconds passed with
  // nothing to read. A negative `waitMs` waits as long as it takes; a device
  // that is not a terminal may always wait, so the bytes alone decide.
  virtual long read(char* buffer, std::size_t size, int waitMs) = 0;
  static constexpr long kTimedOut = -1;

  // True when a read would return at once, with bytes or with the end of
  // input. The console writes its pending output before a read that waits.
  virtual bool ready() = 0;

  // Writes all of `text`. A device on a real stream ends the program when
  // that fails (see Terminal); the console never sees a failed write.
  virtual void write(std::string_view text) = 0;

  // Brackets one key read: a terminal takes single keys without echo in
  // between and is back in its line mode afterwards.
  virtual void beginKeyRead() {}
  virtual void endKeyRead() {}
};

// A whole session's input as a byte string, its output collected in memory.
// Drives the program in tests and in the fuzzer.
class ScriptDevice : public Device {
 public:
  explicit ScriptDevice(std::string_view input) : input_(input) {}

  long read(char* buffer, std::size_t size, int waitMs) override;
  bool ready() override { return true; }  // the whole script is there at once
  void write(std::string_view text) override {
    output_.append(text);
    ++writes_;
  }

  // Everything written so far, and in how many write calls.
  const std::string& output() const { return output_; }
  int writes() const { return writes_; }

 private:
  std::string_view input_;  // bytes not yet read; must outlive the device
  std::string output_;      // everything the console wrote
  int writes_ = 0;          // calls of write
};
