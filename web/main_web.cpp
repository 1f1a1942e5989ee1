// The program in the browser page: a session on the page's terminal that
// hands the page the case after every command and the check at every
// compute (web/page.js draws them), started with the case of a link.
#include <emscripten.h>

#include <string>

#include "app/session.h"
#include "terminal/terminal.h"
#include "web/page_data.h"

namespace {

// The page's side (web/page.js). JavaScript inside, which clang-format would
// take for C++.
// clang-format off
EM_JS(void, pageCase, (const char* json, int size), {
  Module.tavroCase(HEAPU8.slice(json, json + size));
});

EM_JS(void, pageCheck, (const char* json, int size), {
  Module.tavroCheck(HEAPU8.slice(json, json + size));
});

EM_JS(void, pageIgnored, (const char* json, int size), {
  Module.tavroIgnored(HEAPU8.slice(json, json + size));
});

// Copies the first `size` bytes of the link fragment the run starts with
// into `buffer`; returns its whole length.
EM_JS(int, pageStartLink, (char* buffer, int size), {
  const bytes = new TextEncoder().encode(Module.tavroStartLink);
  HEAPU8.set(bytes.subarray(0, size), buffer);
  return bytes.length;
});
// clang-format on

class PageObserver : public SessionObserver {
 public:
  void caseChanged(const CouplingData& data) override {
    const std::string json = caseMessage(data);
    pageCase(json.data(), static_cast<int>(json.size()));
  }
  void computed(const CouplingData& data, const CheckResults& results) override {
    const std::string json = checkMessage(data, results);
    pageCheck(json.data(), static_cast<int>(json.size()));
  }
};

// The case the page asks for: the example case with what the link sets.
CouplingData startCase() {
  std::string link(256, '\0');
  const int size = pageStartLink(link.data(), static_cast<int>(link.size()));
  if (size > static_cast<int>(link.size())) {
    link.resize(static_cast<std::size_t>(size));
    pageStartLink(link.data(), size);
  }
  link.resize(static_cast<std::size_t>(size));

  CouplingData data{};
  resetToDefaults(data);
  const std::string json = listMessage(readCaseLink(link, data));
  pageIgnored(json.data(), static_cast<int>(json.size()));
  return data;
}

}  // namespace

int main() {
  const CouplingData start = startCase();
  Terminal terminal;
  PageObserver observer;
  runSession(terminal, start, &observer);
  return 0;
}
