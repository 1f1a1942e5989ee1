#include "console/page_capture.h"

#include <string_view>

#include "console/device.h"

namespace {

// Catches the pages a command prints: each read of a key ends a page.
class PageCapture : public Device {
 public:
  long read(char* buffer, std::size_t size, int /*waitMs*/) override {
    if (size == 0) return 0;
    buffer[0] = ' ';
    pages_.emplace_back();
    return 1;
  }
  bool ready() override { return false; }  // so all output is written before a read
  void write(std::string_view text) override { pages_.back().append(text); }

  std::vector<std::string> pages() const {
    std::vector<std::string> result;
    for (std::string_view page : pages_) {
      if (!page.empty() && page.front() == '\n') page.remove_prefix(1);
      page = page.substr(0, page.rfind('\n') + 1);
      if (!page.empty()) result.emplace_back(page);
    }
    return result;
  }

 private:
  std::vector<std::string> pages_{1};
};

}  // namespace

std::vector<std::string> pagesOf(const std::function<void(Console&)>& command) {
  PageCapture capture;
  Console console(capture);
  command(console);
  console.flush();
  return capture.pages();
}
