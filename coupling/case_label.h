#pragma once

#include <string>
#include <string_view>

// What names a case for the people who keep it, beside its twenty fields:
// it travels with the case (case file, link, the page's saves and report,
// --check's output) but no prompt or page of the program shows it, and a
// case without it is complete.
struct CaseLabel {
  std::string name;  // "Bezeichnung": free text such as "Pumpe P-101, Motor 90 kW"
  std::string size;  // "Baugröße": the size of a series whose six values the
                     // case took over; "" for none
};

// Reads `text` as a label's text into `out`: one line of UTF-8 without a
// control character but the tab, the blanks around it dropped (a case file
// could not keep them). Leaves `out` alone and returns false otherwise (a
// line break, a control character, bytes that are not UTF-8).
bool readLabelText(std::string_view text, std::string& out);

// The name "Fall speichern" gives a case's file: "tavro-" and the name in
// lowercase ASCII letters, digits and hyphens (umlauts and ß transliterated,
// accents dropped, every other run of characters one hyphen, at most 60 of
// them, cut at a hyphen), then ".txt"; "tavro-fall.txt" for a name that
// leaves nothing. Characters every file system takes, and no name a system
// reserves.
std::string caseFileName(std::string_view name);
