#include "coupling/dialogs.h"

namespace {

// One step of a dialog: a text, and the field it reads, if any.
struct Step {
  enum Kind {
    kText,     // header or question: printed, nothing read
    kReal,     // prompt for a real field
    kInteger,  // prompt for an integer field
    kSwitch,   // prompt for a 0/1 field, asked again until it holds 0 or 1
  };
  Kind kind;
  const char* text;
  double CouplingData::*real;
  int CouplingData::*integer;
};

constexpr Step text(const char* t) { return {Step::kText, t, nullptr, nullptr}; }
constexpr Step real(const char* t, double CouplingData::*f) {
  return {Step::kReal, t, f, nullptr};
}
constexpr Step integer(const char* t, int CouplingData::*f) {
  return {Step::kInteger, t, nullptr, f};
}
constexpr Step choice(const char* t, int CouplingData::*f) {
  return {Step::kSwitch, t, nullptr, f};
}

constexpr Step kTorqueSpeed[] = {
    real("Nennmoment TLN[Nm]= ", &CouplingData::TLN),
    real("\nDrehzahl n [1/min]= ", &CouplingData::n),
    integer("\nOrdnungszahl= ", &CouplingData::i),
};

constexpr Step kInertias[] = {
    text("Drehmassen:"),
    real("\nAntrieb JA[kgm2]= ", &CouplingData::JA),
    real("\nLasts.  JL[kgm2]= ", &CouplingData::JL),
    text("\nAnregung auf Seite?"),
    choice("\nAntrieb=0 Last=1: ", &CouplingData::excitationSide),
    text("\nAnfahren lastfrei?"),
    choice("\nja=0 nein=1: ", &CouplingData::startLoaded),
};

constexpr Step kPeakTorques[] = {
    text("Spitzendrehmomente:"),
    text("\nauf Antriebsseite:"),
    real("\nStossd.A TAS[Nm]= ", &CouplingData::TAS),
    real("\nErregerm.TAI[Nm]= ", &CouplingData::TAI),
    text("\nauf Lastseite:"),
    real("\nStossd.L TLS[Nm]= ", &CouplingData::TLS),
    real("\nErregerm.TLI[Nm]= ", &CouplingData::TLI),
};

constexpr Step kCouplingValues[] = {
    text("Kupplungs-Kennwerte:"),
    real("\nTKN   [Nm]= ", &CouplingData::TKN),
    real("\nTKmax [Nm]= ", &CouplingData::TKmax),
    real("\nTKW   [Nm]= ", &CouplingData::TKW),
    real("\nCdyn[Nm/r]= ", &CouplingData::Cdyn),
    real("\npsi       = ", &CouplingData::psi),
    real("\nPKW    [W]= ", &CouplingData::PKW),
};

constexpr Step kServiceFactors[] = {
    text("Einflussfaktoren:"),
    real("\nTemperaturf. ST= ", &CouplingData::ST),
    real("\nStossf.SS/SA/SL= ", &CouplingData::SS),
    real("\nAnlauffaktor SZ= ", &CouplingData::SZ),
};

// Runs one step; false when the input ended during it.
bool runStep(Console& console, CouplingData& data, const Step& step) {
  switch (step.kind) {
    case Step::kText:
      console.print(step.text);
      return true;
    case Step::kReal:
      return console.readNumber(step.text, data.*step.real);
    case Step::kInteger:
      return console.readNumber(step.text, data.*step.integer);
    case Step::kSwitch: {
      int& field = data.*step.integer;
      do {
        if (!console.readNumber(step.text, field)) return false;
      } while (field < 0 || field > 1);
      return true;
    }
  }
  return true;
}

template <std::size_t N>
void runDialog(Console& console, CouplingData& data, const Step (&steps)[N]) {
  for (const Step& step : steps) {
    if (!runStep(console, data, step)) return;
  }
}

}  // namespace

void dialogTorqueSpeed(Console& console, CouplingData& data) {
  runDialog(console, data, kTorqueSpeed);
}
void dialogInertias(Console& console, CouplingData& data) {
  runDialog(console, data, kInertias);
}
void dialogPeakTorques(Console& console, CouplingData& data) {
  runDialog(console, data, kPeakTorques);
}
void dialogCouplingValues(Console& console, CouplingData& data) {
  runDialog(console, data, kCouplingValues);
}
void dialogServiceFactors(Console& console, CouplingData& data) {
  runDialog(console, data, kServiceFactors);
}
