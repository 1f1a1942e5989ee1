#include "coupling/fields.h"

#include "console/format.h"
#include "console/number.h"

namespace {

constexpr Field real(const char* name, const char* description, const char* unit,
                     double CouplingData::*f) {
  return {name, description, unit, f, nullptr, false};
}
constexpr Field integer(const char* name, const char* description, int CouplingData::*f) {
  return {name, description, "", nullptr, f, false};
}
constexpr Field choice(const char* name, const char* description, int CouplingData::*f) {
  return {name, description, "", nullptr, f, true};
}

}  // namespace

const Field kFields[20] = {
    real("TLN", "Nennmoment der Lastseite", "Nm", &CouplingData::TLN),
    real("n", "Drehzahl", "1/min", &CouplingData::n),
    integer("i", "Ordnungszahl der Anregung", &CouplingData::i),
    real("JA", "Drehmasse der Antriebsseite", "kgm²", &CouplingData::JA),
    real("JL", "Drehmasse der Lastseite", "kgm²", &CouplingData::JL),
    choice("excitationSide", "Anregung auf der Antriebsseite (0) oder der Lastseite (1)",
           &CouplingData::excitationSide),
    choice("startLoaded", "Anfahren lastfrei (0) oder mit Last (1)",
           &CouplingData::startLoaded),
    real("TAS", "Stoßmoment der Antriebsseite", "Nm", &CouplingData::TAS),
    real("TAI", "Erregermoment der Antriebsseite", "Nm", &CouplingData::TAI),
    real("TLS", "Stoßmoment der Lastseite", "Nm", &CouplingData::TLS),
    real("TLI", "Erregermoment der Lastseite", "Nm", &CouplingData::TLI),
    real("TKN", "Nennmoment der Kupplung", "Nm", &CouplingData::TKN),
    real("TKmax", "Maximalmoment der Kupplung", "Nm", &CouplingData::TKmax),
    real("TKW", "Dauerwechselmoment der Kupplung", "Nm", &CouplingData::TKW),
    real("Cdyn", "dynamische Drehfedersteife der Kupplung", "Nm/rad",
         &CouplingData::Cdyn),
    real("psi", "verhältnismäßige Dämpfung der Kupplung", "", &CouplingData::psi),
    real("PKW", "zulässige Dämpfungsleistung der Kupplung", "W", &CouplingData::PKW),
    real("ST", "Temperaturfaktor", "", &CouplingData::ST),
    real("SS", "Stoßfaktor", "", &CouplingData::SS),
    real("SZ", "Anlauffaktor", "", &CouplingData::SZ),
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
