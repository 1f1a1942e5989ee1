#pragma once

#include <string>
#include <string_view>

// What the tests of loading a case expect on standard error.

// The line that names the fields case file `file` left out, when it set only
// `set`: the other nineteen names, written out here rather than taken from
// the table of fields the program builds the line from.
inline std::string notSetLine(const std::string& file, std::string_view set) {
  std::string names;
  for (const std::string_view name :
       {"TLN",         "n",   "i",    "JA",  "JL",  "excitationSide",
        "startLoaded", "TAS", "TAI",  "TLS", "TLI", "TKN",
        "TKmax",       "TKW", "Cdyn", "psi", "PKW", "ST",
        "SS",          "SZ"}) {
    if (name != set) names += (names.empty() ? "" : ", ") + std::string(name);
  }
  return "tavro: " + file +
         ": nicht gesetzt, es gelten die Werte des Beispielfalls: " + names + "\n";
}
