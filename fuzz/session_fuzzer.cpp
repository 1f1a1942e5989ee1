// Runs a whole session (menu, dialogs, display, check) on the fuzzer's bytes,
// once as a script and once as typed at the browser page's line discipline,
// watched as the page watches it (what it waits for, and what it says of
// each typed line);
// then reads the bytes as a link's case, as the page does, and hands that
// case's check over, and as a table of coupling sizes checked for that case
// (read at once and a line at a time, which must agree), and as a case file.
// The end of the bytes ends the session, so every input must return. What it
// builds is checked: every JSON text the page would read parses, and the case
// written into a link or a case file reads back bit for bit.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "app/session.h"
#include "console/device.h"
#include "console/number.h"
#include "coupling/case_file.h"
#include "coupling/case_label.h"
#include "coupling/case_link.h"
#include "coupling/fields.h"
#include "coupling/series.h"
#include "terminal/line_discipline.h"
#include "web/page_data.h"

namespace {

// A JSON value's syntax (RFC 8259), read from `at`; false when it is not
// one. Enough to prove that the page's JSON.parse takes the text.
class JsonSyntax {
 public:
  explicit JsonSyntax(std::string_view text) : text_(text) {}
  bool whole() { return value() && (blanks(), at_ == text_.size()); }

 private:
  void blanks() {
    while (at_ < text_.size() && std::strchr(" \t\r\n", text_[at_]) != nullptr) ++at_;
  }
  bool take(char c) {
    blanks();
    if (at_ == text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  bool word(std::string_view w) {
    if (text_.substr(at_, w.size()) != w) return false;
    at_ += w.size();
    return true;
  }
  bool digits() {
    const std::size_t from = at_;
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
    return at_ > from;
  }
  bool number() {
    take('-');
    if (!word("0") && !digits()) return false;
    if (take('.') && !digits()) return false;
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
      ++at_;
      if (!take('+')) take('-');
      return digits();
    }
    return true;
  }
  bool string() {
    if (!take('"')) return false;
    while (at_ < text_.size() && text_[at_] != '"') {
      const auto c = static_cast<unsigned char>(text_[at_++]);
      if (c < 0x20) return false;
      if (c == '\\' &&
          (at_ == text_.size() || std::strchr("\"\\/bfnrtu", text_[at_++]) == nullptr))
        return false;
    }
    return take('"');
  }
  template <typename Member>
  bool sequence(char close, Member member) {
    if (take(close)) return true;
    do {
      if (!member()) return false;
    } while (take(','));
    return take(close);
  }
  bool value() {
    blanks();
    if (at_ == text_.size()) return false;
    switch (text_[at_]) {
      case '{':
        ++at_;
        return sequence('}', [this] { return string() && take(':') && value(); });
      case '[':
        ++at_;
        return sequence(']', [this] { return value(); });
      case '"':
        return string();
      case 't':
        return word("true");
      case 'f':
        return word("false");
      case 'n':
        return word("null");
      default:
        return number();
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

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
  CouplingData fromFile{};
  resetToDefaults(fromFile);
  if (!readCaseFile(writeCaseFile(raw), fromFile).problems.empty()) std::abort();
  for (const CouplingData* read : {&back, &fromFile}) {
    if (!sameCase(raw, *read)) {
      for (const Field& f : kFields) {
        const bool bothNaN =
            f.real != nullptr && std::isnan(raw.*f.real) && std::isnan(read->*f.real);
        if (!bothNaN && exactValue(raw, f) != exactValue(*read, f)) std::abort();
      }
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
