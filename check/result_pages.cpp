#include "check/result_pages.h"

namespace {

// One line of a result page: a title, a value line, or a verdict.
struct Line {
  // Title: printed as it stands. Value line: a format with one %g.
  // Verdict: the label before " okay!" or " nicht okay!".
  const char* text;
  double CheckResults::*value;  // null for a title
  double CouplingData::*limit;  // set for a verdict: the value's limit
};

// Which check a verdict line gives, by its place in kChecks.
enum Check { kNominal, kShockDrive, kShockLoad, kResonance, kAlternating, kDamping };

constexpr Line title(const char* t) { return {t, nullptr, nullptr}; }
constexpr Line value(const char* f, double CheckResults::*v) { return {f, v, nullptr}; }
constexpr Line verdict(const char* label, Check check) {
  return {label, kChecks[check].value, kChecks[check].limit};
}

constexpr Line kPage1[] = {
    title("Ergebnisse 1.Teil\n"),
    title("I) Beanspr.d.Nennmoment:\n"),
    value("TLNmax= %g [Nm]\n", &CheckResults::TLNmax),
    verdict("TKN", kNominal),
    title("II) Beanspr.d.T-Stoesse:\n"),
    value("TSAmax= %g [Nm]\n", &CheckResults::TSAmax),
    verdict("Stoss A:TKmax", kShockDrive),
    value("TSLmax= %g [Nm]\n", &CheckResults::TSLmax),
    verdict("Stoss L:TKmax", kShockLoad),
};

constexpr Line kPage2[] = {
    title("Ergebnisse 2.Teil\n"),
    title("III) Bean.d.Wechselmoment:\n"),
    value("TSmax = %g [Nm]\n", &CheckResults::TSmax),
    verdict("Resonanz:TKmax", kResonance),
    value("fe = %g [1/s]\n", &CheckResults::fe),
    value("nR = %g [1/min]\n", &CheckResults::nR),
    value("VR = %g\n", &CheckResults::VR),
    value("Vfi= %g\n", &CheckResults::Vfi),
    value("Sf = %g\n", &CheckResults::Sf),
};

// The damping verdict compares PWimax, which has the temperature factor;
// the page shows PWi, which has not.
constexpr Line kPage3[] = {
    title("Ergebnisse 3.Teil\n"),
    value("TWi   = %g [Nm]\n", &CheckResults::TWi),
    value("TWimax= %g [Nm]\n", &CheckResults::TWimax),
    verdict("Dauerw.m:TKW", kAlternating),
    value("PWi   = %g [W]\n", &CheckResults::PWi),
    verdict("Daem.Wae:PKW", kDamping),
};

template <std::size_t N>
bool showPage(Console& console, const CouplingData& data, const CheckResults& results,
              const Line (&page)[N]) {
  for (const Line& line : page) {
    if (line.value == nullptr) {
      console.print(line.text);
    } else if (line.limit == nullptr) {
      console.print(line.text, results.*line.value);
    } else {
      const bool okay = isOkay(results.*line.value, data.*line.limit);
      console.print(line.text);
      console.print(okay ? " okay!\n" : " nicht okay!\n");
    }
  }
  return console.pager();
}

}  // namespace

void computeCommand(Console& console, const CouplingData& data, CheckResults& results) {
  computeStageOne(data, results);
  if (!showPage(console, data, results, kPage1)) return;
  computeStageTwo(data, results);
  showPage(console, data, results, kPage2) && showPage(console, data, results, kPage3);
}
