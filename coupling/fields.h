#pragma once

#include <string>
#include <string_view>

#include "coupling/coupling_data.h"

// The twenty fields of a case by name, for what reaches the case from
// outside the dialogs: links, the browser page, the help at its prompts.
struct Field {
  const char* name;            // the display pages' symbol; the two switches
                               // by their CouplingData names
  const char* description;     // what it is, in German words for the page
  const char* explanation;     // German sentences for whoever fills it in:
                               // what the value means and where it comes
                               // from; shown at its prompt on the page and
                               // written above it in a case file
  const char* unit;            // "Nm", "1/min", "kgm²", "Nm/rad", "W"; "" for none
  double CouplingData::*real;  // the field, when it is a real
  int CouplingData::*integer;  // the field, when it is an integer
  bool isSwitch;               // an integer that holds 0 or 1
};

// In the order of the display pages' symbols: TLN, n, i, JA, JL,
// excitationSide, startLoaded, TAS, TAI, TLS, TLI, TKN, TKmax, TKW, Cdyn,
// psi, PKW, ST, SS, SZ.
extern const Field kFields[20];

// The field called `name`, or null.
const Field* findField(std::string_view name);

// The field of `data` that lives at `address`, or null.
const Field* fieldAt(const CouplingData& data, const void* address);

// The field's value in `data`, an integer as a double.
double fieldValue(const CouplingData& data, const Field& field);

// The field's name in German prose: the symbol, the two switches in words
// ("Anregungsseite", "Anfahren").
std::string fieldLabel(const Field& field);

// The field's value as the display pages print it ("%g", "%d").
std::string printedValue(const CouplingData& data, const Field& field);

// The same with the field's unit after a blank, if it has one: "159 Nm".
std::string printedWithUnit(const CouplingData& data, const Field& field);

// The field's value in the shortest text that reads back to it exactly.
std::string exactValue(const CouplingData& data, const Field& field);

// Reads `text`, which must be one whole number of the field's kind (with the
// program's rules: a decimal comma counts; an integer, a switch too, takes
// any int, as the program can hold any), into the field. Leaves `data` alone and returns
// false otherwise.
bool readField(const Field& field, const std::string& text, CouplingData& data);

// True when every field of `a` has the same bits as in `b`.
bool sameCase(const CouplingData& a, const CouplingData& b);
