#include "coupling/display.h"

namespace {

// One line of a display page.
struct Line {
  enum Kind {
    kTitle,    // text as it stands
    kReal,     // text is a format with one %g
    kInteger,  // text is a format with one %d
    kSwitch,   // text if the field is 0, otherText for any other value
  };
  Kind kind;
  const char* text;
  double CouplingData::*real;
  int CouplingData::*integer;
  const char* otherText;
};

constexpr Line title(const char* t) {
  return {Line::kTitle, t, nullptr, nullptr, nullptr};
}
constexpr Line real(const char* f, double CouplingData::*field) {
  return {Line::kReal, f, field, nullptr, nullptr};
}
constexpr Line integer(const char* f, int CouplingData::*field) {
  return {Line::kInteger, f, nullptr, field, nullptr};
}
constexpr Line choice(int CouplingData::*field, const char* zero, const char* other) {
  return {Line::kSwitch, zero, nullptr, field, other};
}

constexpr Line kPage1[] = {
    title("momentan def. Werte 1:\n"),
    real("Nennm. TLN= %g [Nm]\n", &CouplingData::TLN),
    real("Drehzahl n= %g [1/min]\n", &CouplingData::n),
    integer("Ordnung  i= %d\n", &CouplingData::i),
    real("D.Antr. JA= %g [kgm2]\n", &CouplingData::JA),
    real("D.Last  JL= %g [kgm2]\n", &CouplingData::JL),
    real("StossA TAS= %g [Nm]\n", &CouplingData::TAS),
    real("StossL TLS= %g [Nm]\n", &CouplingData::TLS),
};

constexpr Line kPage2[] = {
    title("momentan def. Werte 2:\n"),
    real("Err.m. TAI= %g [Nm]\n", &CouplingData::TAI),
    real("Err.m. TLI= %g [Nm]\n", &CouplingData::TLI),
    choice(&CouplingData::startLoaded, "Anfahren lastfrei\n", "Anfahren mit Last\n"),
    choice(&CouplingData::excitationSide, "Anregung vom Antrieb\n",
           "Anregung von Lastseite\n"),
    real("ST      = %g\n", &CouplingData::ST),
    real("SS/SA/SL= %g\n", &CouplingData::SS),
    real("SZ      = %g\n", &CouplingData::SZ),
};

constexpr Line kPage3[] = {
    title("momentan def. Werte 3:\n"),
    real("TKN  = %g [Nm]\n", &CouplingData::TKN),
    real("TKmax= %g [Nm]\n", &CouplingData::TKmax),
    real("TKW  = %g [Nm]\n", &CouplingData::TKW),
    real("Cdyn = %g [Nm/r]\n", &CouplingData::Cdyn),
    real("psi  = %g\n", &CouplingData::psi),
    real("PKW  = %g [W]\n", &CouplingData::PKW),
};

void printLine(Console& console, const CouplingData& data, const Line& line) {
  switch (line.kind) {
    case Line::kTitle:
      console.print(line.text);
      break;
    case Line::kReal:
      console.print(line.text, data.*line.real);
      break;
    case Line::kInteger:
      console.print(line.text, data.*line.integer);
      break;
    case Line::kSwitch:
      console.print(data.*line.integer == 0 ? line.text : line.otherText);
      break;
  }
}

// Prints one page and runs its pager; false when the display ends there.
template <std::size_t N>
bool showPage(Console& console, const CouplingData& data, const Line (&page)[N]) {
  for (const Line& line : page) printLine(console, data, line);
  return console.pager();
}

}  // namespace

void showCurrentValues(Console& console, const CouplingData& data) {
  showPage(console, data, kPage1) && showPage(console, data, kPage2) &&
      showPage(console, data, kPage3);
}
