// The program in the browser page: a session on the page's terminal that
// hands the page the case after every command and every line read, the
// check at every compute and what it waits for (web/runs.js hands them on),
// started with the case of a link; and the exports the page's second
// instance computes sizes with.
#include <emscripten.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/session.h"
#include "console/json.h"
#include "coupling/case_file.h"
#include "coupling/case_link.h"
#include "coupling/fields.h"
#include "coupling/series.h"
#include "coupling/text.h"
#include "terminal/terminal.h"
#include "web/page_data.h"
#include "web/running_label.h"

namespace {

// The page's side (web/runs.js, web/sizes.js): its handlers and its texts
// are members of the instance, Module[name]. JavaScript inside, which
// clang-format would take for C++.
// clang-format off
EM_JS(void, pageHand, (const char* name, const char* json, int size), {
  Module[UTF8ToString(name)](HEAPU8.slice(json, json + size));
});

// The length of the page's text `name` (a Uint8Array).
EM_JS(int, pageTextSize, (const char* name), {
  return Module[UTF8ToString(name)].length;
});

// Copies the first `size` bytes of the page's text `name` into `buffer`.
EM_JS(void, pageText, (const char* name, char* buffer, int size), {
  HEAPU8.set(Module[UTF8ToString(name)].subarray(0, size), buffer);
});

// Whether the page has set its text `name` (a Uint8Array); takes it back
// (null) when `take`.
EM_JS(int, pageHasText, (const char* name, int take), {
  const key = UTF8ToString(name);
  const has = Module[key] instanceof Uint8Array;
  if (has && take) Module[key] = null;
  return has;
});
// clang-format on

// Hands `json` to the page's handler `name`.
void hand(const char* name, const std::string& json) {
  pageHand(name, json.data(), static_cast<int>(json.size()));
}

// The first `most` bytes of the page's text `name`.
std::string textOfPage(const char* name, int most = INT_MAX) {
  std::string text(static_cast<std::size_t>(std::min(pageTextSize(name), most)), '\0');
  pageText(name, text.data(), static_cast<int>(text.size()));
  return text;
}

// The page is handed the case after every command and, within a dialog,
// before each wait once a line read changed it: the case on the screen is
// what the page keeps for a reload. The run's label follows what the page
// sets while the run waits: its field "Bezeichnung" as Module.tavroName
// (bytes, kept), a size it takes over as Module.tavroSize (sizeLink's bytes,
// taken once read); both are read at every command's end.
class PageObserver : public SessionObserver {
 public:
  explicit PageObserver(const RunningLabel& label) : label_(label) {}
  void caseChanged(const CouplingData& data) override {
    before_ = data;
    if (pageHasText("tavroName", 0) != 0) label_.rename(textOfPage("tavroName"));
    if (pageHasText("tavroSize", 0) != 0) {
      label_.offerSize(textOfPage("tavroSize"));
      pageHasText("tavroSize", 1);
    }
    handCase(data);
  }
  void waiting(Wait what, const Field* field, const CouplingData& data,
               const std::string& notice) override {
    if (!sameCase(data, handed_)) handCase(data);
    hand("tavroWaiting", waitMessage(what, field, data, before_, notice));
  }
  void computed(const CouplingData& data, const CheckResults& results) override {
    hand("tavroCheck", checkMessage(data, results));
  }

 private:
  void handCase(const CouplingData& data) {
    handed_ = data;
    hand("tavroCase", caseMessage(data, label_.update(data)));
  }

  CouplingData before_{};  // the case after the last command: a dialog's start
  CouplingData handed_{};  // the case the page was handed last
  RunningLabel label_;
};

// The case the page asks for: the example case with what the link sets, its
// label into `label`. A link longer than any a case needs is not read at all
// (the program's memory is small and fixed); the page then names its start
// as ignored.
CouplingData startCase(CaseLabel& label) {
  constexpr int kLinkLimit = 16 * 1024;
  const int size = pageTextSize("tavroStartLink");
  CouplingData data{};
  resetToDefaults(data);
  std::vector<std::string> ignored;
  if (size > kLinkLimit) {
    ignored.push_back(textOfPage("tavroStartLink", 40) + "… (" + std::to_string(size) +
                      " Bytes)");
  } else {
    ignored = readCaseLink(textOfPage("tavroStartLink"), data, &label);
  }
  hand("tavroIgnored", listMessage(ignored));
  return data;
}

}  // namespace

// The series the page's second instance, which only computes, reads and
// checks in parts, so that the page goes on answering during a long table.
struct HeldSeries {
  CouplingData data;                     // the case the sizes are checked for
  std::unique_ptr<SeriesReader> reader;  // the last table, as far as read
  std::optional<std::size_t> smallest;   // the first passing size checked so far
};
HeldSeries held;

// What to read: `what` 1 starts the table in Module.tavroTable anew, 2 goes
// on with the one begun, 0 keeps the one read and takes only the case (of
// the link in Module.tavroLink, bytes; read each time but with 2). Then up
// to `lines` lines are read. Answers how the table was read
// (seriesHeadMessage) once it is all read, else null, in Module.tavroAnswer;
// checking starts again.
extern "C" EMSCRIPTEN_KEEPALIVE void tavroSeriesRead(int what, int lines) {
  if (what != 2) {
    resetToDefaults(held.data);
    readCaseLink(textOfPage("tavroLink"), held.data);
  }
  if (what == 1 || !held.reader)
    held.reader = std::make_unique<SeriesReader>(textOfPage("tavroTable"));
  held.smallest.reset();
  const bool done = held.reader->read(static_cast<std::size_t>(std::max(lines, 1)));
  hand("tavroAnswer", done ? seriesHeadMessage(held.reader->series()) : "null");
}

// Checks the sizes `from` to `to` (not included) of the series read last:
// answers {"sizes" (sizesMessage), "smallest" (the first passing size of all
// checked so far, or null)}.
extern "C" EMSCRIPTEN_KEEPALIVE void tavroSeriesCheck(int from, int to) {
  const std::string sizes = sizesMessage(
      held.data, held.reader->series(), static_cast<std::size_t>(std::max(from, 0)),
      static_cast<std::size_t>(std::max(to, 0)), held.smallest);
  JsonWriter json;
  json.beginObject().key("sizes").raw(sizes).key("smallest");
  if (held.smallest) {
    json.integer(static_cast<long long>(*held.smallest));
  } else {
    json.null();
  }
  hand("tavroAnswer", json.endObject().text());
}

// The bytes of a file in Module.tavroTable as UTF-8 text (coupling/text.h),
// answered as a JSON string in a list.
extern "C" EMSCRIPTEN_KEEPALIVE void tavroFileText() {
  hand("tavroAnswer", listMessage({decodeText(textOfPage("tavroTable"))}));
}

// The case file in Module.tavroTable (bytes) read over the example case:
// answers {"link": the case as a link's fragment with its label, or null
// when the file is not loaded, "problems": ["Zeile 3: ..."], "missing": the
// fields it left out}.
extern "C" EMSCRIPTEN_KEEPALIVE void tavroCaseFile() {
  CouplingData data{};
  resetToDefaults(data);
  CaseLabel label;
  const CaseFileReading reading = readCaseFile(textOfPage("tavroTable"), data, &label);
  JsonWriter json;
  json.beginObject().key("link");
  if (reading.problems.empty()) {
    json.string(caseLink(data, label));
  } else {
    json.null();
  }
  json.key("problems").beginArray();
  for (const CaseFileProblem& p : reading.problems)
    json.string(p.line > 0 ? "Zeile " + std::to_string(p.line) + ": " + p.what : p.what);
  json.endArray().key("missing").beginArray();
  for (const std::string& name : reading.missing) json.string(name);
  hand("tavroAnswer", json.endArray().endObject().text());
}

// The case of the link in Module.tavroLink named with the page's field in
// Module.tavroName (both bytes), for "Fall speichern", "Link kopieren" and
// the tab's kept case: answers namedCaseMessage (its "file", "fileName",
// "link", "name", "size", "refused").
extern "C" EMSCRIPTEN_KEEPALIVE void tavroNamedCase() {
  hand("tavroAnswer", namedCaseMessage(textOfPage("tavroLink"), textOfPage("tavroName")));
}

// The size `index` of the series read last as sizeLink gives it, for the
// running instance's Module.tavroSize: answered as a JSON string in a list
// (an empty list for no such size).
extern "C" EMSCRIPTEN_KEEPALIVE void tavroSizeLink(int index) {
  std::vector<std::string> answer;  // none for a size not read
  const auto k = static_cast<std::size_t>(std::max(index, 0));
  if (held.reader && k < held.reader->series().sizes.size())
    answer.push_back(sizeLink(held.reader->series().sizes[k]));
  hand("tavroAnswer", listMessage(answer));
}

// The built-in example series, answered as a JSON string in a list.
extern "C" EMSCRIPTEN_KEEPALIVE void tavroExampleSeries() {
  hand("tavroAnswer", listMessage({kExampleSeries}));
}

int main() {
  CaseLabel label;
  const CouplingData start = startCase(label);
  Terminal terminal;
  PageObserver observer(RunningLabel(label, start));
  runSession(terminal, start, &observer);
  return 0;
}
