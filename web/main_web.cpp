// The program in the browser page: a session on the page's terminal that
// hands the page the case after every command and the check at every
// compute (web/page.js draws them), started with the case of a link.
#include <emscripten.h>

#include <string>
#include <vector>

#include "app/session.h"
#include "coupling/series.h"
#include "terminal/terminal.h"
#include "web/case_link.h"
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

EM_JS(void, pageWaiting, (const char* json, int size), {
  Module.tavroWaiting(HEAPU8.slice(json, json + size));
});

EM_JS(void, pageIgnored, (const char* json, int size), {
  Module.tavroIgnored(HEAPU8.slice(json, json + size));
});

EM_JS(void, pageAnswer, (const char* json, int size), {
  Module.tavroAnswer(HEAPU8.slice(json, json + size));
});

// The length of the page's text `name` (Module[name], a Uint8Array).
EM_JS(int, pageTextSize, (const char* name), {
  return Module[UTF8ToString(name)].length;
});

// Copies the page's text `name` into `buffer`, which has room for it.
EM_JS(void, pageText, (const char* name, char* buffer), {
  HEAPU8.set(Module[UTF8ToString(name)], buffer);
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
    before_ = data;
    const std::string json = caseMessage(data);
    pageCase(json.data(), static_cast<int>(json.size()));
  }
  void waiting(Wait what, const Field* field, const CouplingData& data) override {
    const std::string json = waitMessage(what, field, data, before_);
    pageWaiting(json.data(), static_cast<int>(json.size()));
  }
  void computed(const CouplingData& data, const CheckResults& results) override {
    const std::string json = checkMessage(data, results);
    pageCheck(json.data(), static_cast<int>(json.size()));
  }

 private:
  CouplingData before_{};  // the case after the last command: a dialog's start
};

// The case the page asks for: the example case with what the link sets. A
// link longer than any a case needs is not read at all (the program's memory
// is small and fixed); the page then names its start as ignored.
CouplingData startCase() {
  constexpr int kLinkLimit = 16 * 1024;
  std::string link(kLinkLimit, '\0');
  const int size = pageStartLink(link.data(), kLinkLimit);
  CouplingData data{};
  resetToDefaults(data);
  std::vector<std::string> ignored;
  if (size > kLinkLimit) {
    ignored.push_back(link.substr(0, 40) + "… (" + std::to_string(size) + " Bytes)");
  } else {
    link.resize(static_cast<std::size_t>(size));
    ignored = readCaseLink(link, data);
  }
  const std::string json = listMessage(ignored);
  pageIgnored(json.data(), static_cast<int>(json.size()));
  return data;
}

// The page's text `name`, whatever its length.
std::string textOfPage(const char* name) {
  std::string text(static_cast<std::size_t>(pageTextSize(name)), '\0');
  pageText(name, text.data());
  return text;
}

void answer(const std::string& json) {
  pageAnswer(json.data(), static_cast<int>(json.size()));
}

}  // namespace

// For the page's second instance, which only computes: the case of the link
// in Module.tavroLink (bytes) checked with each size of the table in
// Module.tavroTable; the answer goes to Module.tavroAnswer.
extern "C" EMSCRIPTEN_KEEPALIVE void tavroSeries() {
  CouplingData data{};
  resetToDefaults(data);
  readCaseLink(textOfPage("tavroLink"), data);
  answer(seriesMessage(data, textOfPage("tavroTable")));
}

// The bytes of a file in Module.tavroTable as UTF-8 text (a byte-order
// mark dropped, Windows-1252 converted), answered as a JSON string.
extern "C" EMSCRIPTEN_KEEPALIVE void tavroTableText() {
  answer(listMessage({tableText(textOfPage("tavroTable"))}));
}

// The built-in example series, answered as a JSON string in a list.
extern "C" EMSCRIPTEN_KEEPALIVE void tavroExampleSeries() {
  answer(listMessage({kExampleSeries}));
}

int main() {
  const CouplingData start = startCase();
  Terminal terminal;
  PageObserver observer;
  runSession(terminal, start, &observer);
  return 0;
}
