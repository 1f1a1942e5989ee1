// Runs a whole session (menu, dialogs, display, check) on the fuzzer's bytes,
// once as a script and once as typed at the browser page's line discipline,
// watched as the page watches it (what it waits for, and what it says of
// each typed line);
// then reads the bytes as a link's case, as the page does, and hands that
// case's check over, and as a table of coupling sizes checked for that case
// (read at once and a line at a time, which must agree), and as a case file.
// The end of the bytes ends the session, so every input must return. What it
// builds is checked: every JSON text the page would read is JSON to the
// grammar's letter (console/json_syntax.h), and the case written into a link
// or a case file reads back bit for bit (a NaN as a NaN).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "app/session.h"
#include "console/device.h"
#include "console/json_syntax.h"
#include "console/number.h"
#include "coupling/case_file.h"
#include "coupling/case_label.h"
#include "coupling/case_link.h"
#include "coupling/fields.h"
#include "coupling/series.h"
#include "terminal/line_discipline.h"
#include "web/page_data.h"

namespace {

void mustParse(const std::string& json) {
  if (!JsonSyntax(json).whole()) std::abort();
}

// What the page is told at every wait, the notice of the last typed line
// included, must parse.
class PageWaits : public SessionObserver {
 public:
  void caseChanged(const CouplingData& data) override { before_ = data; }
  void computed(const CouplingData&, const CheckResults&) override {}
  void waiting(Wait what, const Field* field, const CouplingData& data,
               const std::string& notice) override {
    mustParse(waitMessage(what, field, data, before_, notice));
  }

 private:
  CouplingData before_{};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ScriptDevice script(bytes);
  runSession(script);
  ScriptDevice keyboard(bytes);
  LineDiscipline typed(keyboard);
  CouplingData example{};
  resetToDefaults(example);
  PageWaits waits;
  runSession(typed, example, &waits);

  CouplingData linked{};
  resetToDefaults(linked);
  mustParse(listMessage(readCaseLink(bytes, linked)));
  mustParse(caseMessage(linked));
  mustParse(checkMessage(linked, checkCoupling(linked)));
  // The bytes as a maker's table of sizes, pasted or opened.
  mustParse(seriesMessage(linked, bytes));
  // Read a line at a time, as the page reads a long table, it is the same
  // series; every value a size holds is a catalogue value.
  const Series whole = readSeries(bytes);
  SeriesReader reader(bytes);
  while (!reader.read(1)) {
  }
  const Series& sliced = reader.series();
  if (sliced.sizes.size() != whole.sizes.size() ||
      sliced.ignored.size() != whole.ignored.size() ||
      sliced.decimalComma != whole.decimalComma || sliced.header != whole.header)
    std::abort();
  for (std::size_t k = 0; k < whole.sizes.size(); ++k) {
    if (sliced.sizes[k].name != whole.sizes[k].name) std::abort();
    for (std::size_t v = 0; v < 6; ++v) {
      const double value = whole.sizes[k].values[v];
      if (!sameBits(value, sliced.sizes[k].values[v]) || !(value > 0) ||
          !std::isfinite(value))
        std::abort();
    }
  }

  // The bytes as a case of their own: any bits in every real.
  CouplingData raw{};
  resetToDefaults(raw);
  std::size_t used = 0;
  for (const Field& f : kFields) {
    if (f.real == nullptr || used + sizeof(double) > size) continue;
    std::memcpy(&(raw.*f.real), data + used, sizeof(double));
    used += sizeof(double);
  }
  if (used + sizeof(int) <= size) std::memcpy(&raw.startLoaded, data + used, sizeof(int));
  CouplingData back{};
  resetToDefaults(back);
  if (!readCaseLink(caseLink(raw), back).empty()) std::abort();
  // A case file holds finite values only; a case with another is not saved.
  CouplingData fromFile = raw;
  if (nonFiniteField(raw) == nullptr) {
    resetToDefaults(fromFile);
    if (!readCaseFile(writeCaseFile(raw), fromFile).problems.empty()) std::abort();
  }
  for (const CouplingData* read : {&back, &fromFile}) {
    for (const Field& f : kFields) {
      const bool same = f.real != nullptr
                            ? sameBits(raw.*f.real, read->*f.real) ||
                                  (std::isnan(raw.*f.real) && std::isnan(read->*f.real))
                            : raw.*f.integer == read->*f.integer;
      if (!same) std::abort();
    }
  }

  // The bytes as a case file: read, or every bad line named; a file that is
  // not loaded changes nothing.
  CouplingData opened{};
  resetToDefaults(opened);
  const CouplingData before = opened;
  if (!readCaseFile(bytes, opened).problems.empty() && !sameCase(opened, before))
    std::abort();

  // The bytes as a case's name: taken or refused; a name taken comes back
  // from a link and a case file as it went in.
  CaseLabel label;
  if (readLabelText(bytes, label.name)) {
    label.size = label.name;
    CaseLabel fromLink;
    CaseLabel fromLabelled;
    if (!readCaseLink(caseLink(raw, label), back, &fromLink).empty() ||
        !readCaseFile(writeCaseFile(raw, label), fromFile, &fromLabelled)
             .problems.empty() ||
        fromLink.name != label.name || fromLabelled.name != label.name ||
        fromLabelled.size != label.size)
      std::abort();
    mustParse(namedCaseMessage(caseLink(raw, label), bytes));
  }
  static_cast<void>(caseFileName(bytes));
  return 0;
}
