#include "coupling/fields.h"

#include "console/format.h"
#include "console/number.h"

namespace {

constexpr Field real(const char* name, const char* description, const char* unit,
                     double CouplingData::*f, const char* explanation) {
  return {name, description, explanation, unit, f, nullptr, false};
}
constexpr Field integer(const char* name, const char* description, int CouplingData::*f,
                        const char* explanation) {
  return {name, description, explanation, "", nullptr, f, false};
}
constexpr Field choice(const char* name, const char* description, int CouplingData::*f,
                       const char* explanation) {
  return {name, description, explanation, "", nullptr, f, true};
}

}  // namespace

// The explanations say where a value comes from, not which number to take:
// makers' selection guides agree on what the factors mean but not on their
// numbers, so no table of them is given as if it were the standard's.
const Field kFields[20] = {
    real("TLN", "Nennmoment der Lastseite", "Nm", &CouplingData::TLN,
         "Das Drehmoment, das die Lastseite im Dauerbetrieb braucht. Aus der "
         "Leistung: TLN = 9550 · P [kW] / n [1/min]."),
    real("n", "Drehzahl", "1/min", &CouplingData::n,
         "Die Betriebsdrehzahl, mit der die Kupplung dauernd läuft."),
    integer("i", "Ordnungszahl der Anregung", &CouplingData::i,
            "Wie viele Erregerstöße eine Umdrehung bringt: ein Viertaktmotor mit z "
            "Zylindern z/2 (vier Zylinder: 2), ein Zweitaktmotor z."),
    real("JA", "Drehmasse der Antriebsseite", "kgm²", &CouplingData::JA,
         "Das Trägheitsmoment der ganzen Antriebsseite mit ihrer Kupplungshälfte. "
         "Teile mit anderer Drehzahl zählen mit J · (ihre Drehzahl / n)²."),
    real("JL", "Drehmasse der Lastseite", "kgm²", &CouplingData::JL,
         "Das Trägheitsmoment der ganzen Lastseite mit ihrer Kupplungshälfte. "
         "Teile mit anderer Drehzahl zählen mit J · (ihre Drehzahl / n)²."),
    choice("excitationSide", "Anregung auf der Antriebsseite (0) oder der Lastseite (1)",
           &CouplingData::excitationSide,
           "Die Seite, auf der die periodische Anregung sitzt: 0 beim Verbrennungsmotor "
           "als Antrieb, 1 bei Kolbenpumpe oder Kolbenverdichter als Last."),
    choice("startLoaded", "Anfahren lastfrei (0) oder mit Last (1)",
           &CouplingData::startLoaded,
           "1, wenn die Last schon anliegt, während der Antrieb anläuft; sonst 0."),
    real("TAS", "Stoßmoment der Antriebsseite", "Nm", &CouplingData::TAS,
         "Das Spitzenmoment eines Stoßes vom Antrieb, etwa das Anlauf- oder "
         "Kippmoment eines Elektromotors."),
    real("TAI", "Erregermoment der Antriebsseite", "Nm", &CouplingData::TAI,
         "Die Amplitude des periodischen Erregermoments der Antriebsseite: die "
         "Hälfte des Wertes von Spitze zu Spitze."),
    real("TLS", "Stoßmoment der Lastseite", "Nm", &CouplingData::TLS,
         "Das Spitzenmoment eines Stoßes von der Last, etwa beim Bremsen, beim "
         "Blockieren oder beim Kurzschluss eines Generators."),
    real("TLI", "Erregermoment der Lastseite", "Nm", &CouplingData::TLI,
         "Die Amplitude des periodischen Erregermoments der Lastseite: die "
         "Hälfte des Wertes von Spitze zu Spitze."),
    real("TKN", "Nennmoment der Kupplung", "Nm", &CouplingData::TKN,
         "Das Nenndrehmoment der Kupplung; aus dem Katalog des Kupplungsherstellers "
         "für die Baugröße."),
    real("TKmax", "Maximalmoment der Kupplung", "Nm", &CouplingData::TKmax,
         "Das Drehmoment, das die Kupplung als Spitze höchstens tragen darf; "
         "aus dem Katalog des Kupplungsherstellers für die Baugröße."),
    real("TKW", "Dauerwechselmoment der Kupplung", "Nm", &CouplingData::TKW,
         "Die Amplitude des Wechselmoments, das die Kupplung bei 10 Hz dauernd "
         "trägt; aus dem Katalog des Kupplungsherstellers für die Baugröße."),
    real("Cdyn", "dynamische Drehfedersteife der Kupplung", "Nm/rad", &CouplingData::Cdyn,
         "Die Steife der Kupplung gegen schwingendes Verdrehen; aus dem "
         "Katalog des Kupplungsherstellers für die Baugröße."),
    real("psi", "verhältnismäßige Dämpfung der Kupplung", "", &CouplingData::psi,
         "Der Anteil der Schwingungsenergie, den das elastische Element je "
         "Schwingung verzehrt; aus dem Katalog des Kupplungsherstellers für "
         "die Baugröße."),
    real("PKW", "zulässige Dämpfungsleistung der Kupplung", "W", &CouplingData::PKW,
         "Die Wärmeleistung aus Dämpfung, die die Kupplung dauernd abführen "
         "darf; aus dem Katalog des Kupplungsherstellers für die Baugröße."),
    real("ST", "Temperaturfaktor", "", &CouplingData::ST,
         "Wie sehr die Temperatur an der Kupplung das elastische Element schwächt: "
         "1 bei Raumtemperatur, darüber so steil steigend, wie der Werkstoff es "
         "verlangt; der Hersteller nennt den Wert für seinen Werkstoff (bis etwa "
         "2,5 nahe der zulässigen Temperatur)."),
    real("SS", "Stoßfaktor", "", &CouplingData::SS,
         "Wie hart die Stöße sind: in den Auswahlhilfen der Hersteller etwa 1,2 "
         "für leichte bis 2,5 für schwere Stöße; den Wert nennt der Katalog."),
    real("SZ", "Anlauffaktor", "", &CouplingData::SZ,
         "Wie oft der Antrieb je Stunde anläuft: 1 bei wenigen Anläufen (bis etwa "
         "100 bis 120 je Stunde), bei mehr steigend; den Wert nennt der Katalog "
         "des Herstellers."),
};

const Field* findField(std::string_view name) {
  for (const Field& f : kFields) {
    if (name == f.name) return &f;
  }
  return nullptr;
}

const Field* fieldAt(const CouplingData& data, const void* address) {
  for (const Field& f : kFields) {
    const void* at = f.real != nullptr ? static_cast<const void*>(&(data.*f.real))
                                       : static_cast<const void*>(&(data.*f.integer));
    if (at == address) return &f;
  }
  return nullptr;
}

double fieldValue(const CouplingData& data, const Field& field) {
  return field.real != nullptr ? data.*field.real : data.*field.integer;
}

std::string fieldLabel(const Field& field) {
  if (!field.isSwitch) return field.name;
  return field.integer == &CouplingData::excitationSide ? "Anregungsseite" : "Anfahren";
}

std::string printedValue(const CouplingData& data, const Field& field) {
  return field.real != nullptr ? formatReal(data.*field.real)
                               : std::to_string(data.*field.integer);
}

std::string printedWithUnit(const CouplingData& data, const Field& field) {
  return printedValue(data, field) + (*field.unit != '\0' ? " " : "") + field.unit;
}

std::string exactValue(const CouplingData& data, const Field& field) {
  return field.real != nullptr ? shortestReal(data.*field.real)
                               : std::to_string(data.*field.integer);
}

bool readField(const Field& field, const std::string& text, CouplingData& data) {
  if (field.real != nullptr) return readWhole(text, data.*field.real);
  int value = 0;
  if (!readWhole(text, value)) return false;
  data.*field.integer = value;
  return true;
}

bool sameCase(const CouplingData& a, const CouplingData& b) {
  for (const Field& f : kFields) {
    if (f.real != nullptr ? !sameBits(a.*f.real, b.*f.real)
                          : a.*f.integer != b.*f.integer) {
      return false;
    }
  }
  return true;
}
