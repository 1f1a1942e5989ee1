#include "coupling/line_notice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "coupling/fields.h"

namespace {

// The prompts read `typed` into the fields `asked`, one after the other, as
// dialogs do; the notice is the one at the wait after the last of them.
std::string noticeAfter(const std::string& typed, const std::vector<const char*>& asked) {
  ScriptDevice device(typed);
  Console console(device);
  CouplingData data{};
  resetToDefaults(data);
  for (const char* name : asked) {
    const Field& field = *findField(name);
    if (field.real != nullptr) {
      console.readNumber("? ", data.*field.real);
    } else {
      console.readNumber("? ", data.*field.integer);
    }
  }
  return lineNotice(console.lineReading(), data);
}

TEST(LineNotice, SaysWhatWasReadWhereItDiffersFromWhatWasTyped) {
  struct Case {
    const char* typed;
    std::vector<const char*> asked;
    const char* notice;
  };
  const Case cases[] = {
      {"480\n", {"TLN"}, ""},
      {"  1,5 \r\n", {"TLN"}, ""},
      {"1.48\n", {"n"}, ""},
      {"0.480\n", {"n"}, ""},
      {"1.4801\n", {"n"}, ""},
      {"48o\n",
       {"TLN", "n"},
       "„48o“: TLN = 48 Nm gelesen; „o“ ist keine Zahl, n bleibt 1500 1/min."},
      {"w480\n", {"TLN"}, "„w480“: keine Zahl, TLN bleibt 159 Nm."},
      {"1.480\n",
       {"n"},
       "„1.480“: n = 1,48 1/min gelesen – Tausenderpunkte liest das Programm nicht, 1480 "
       "ohne "
       "Punkt."},
      {"-12.000\n",
       {"TLN"},
       "„-12.000“: TLN = -12 Nm gelesen – Tausenderpunkte liest das Programm nicht, "
       "-12000 "
       "ohne Punkt."},
      // An integer stops at the point; the rest is the next field's.
      {"1.480\n",
       {"i", "JA"},
       "„1.480“: i = 1 gelesen – Tausenderpunkte liest das Programm nicht, 1480 ohne "
       "Punkt; aus "
       "derselben Zeile auch JA = 0,48 kgm²."},
      {"2.5\n",
       {"i", "JA"},
       "„2.5“: i = 2 gelesen; aus derselben Zeile auch JA = 0,5 kgm²."},
      // What no prompt has read yet waits for the next one, perhaps in the next dialog.
      {"1 1 1 4\n",
       {"ST", "SS", "SZ"},
       "„1 1 1 4“: ST = 1 gelesen; aus derselben Zeile auch "
       "SS = 1, SZ = 1; „4“ nimmt die nächste Zahleneingabe."},
      {"1 1 1 4\n",
       {"ST", "SS", "SZ", "TKN"},
       "„1 1 1 4“: ST = 1 gelesen; aus derselben Zeile auch SS = 1, SZ = 1, TKN = 4 Nm."},
      {"1 x\n",
       {"excitationSide", "startLoaded"},
       "„1 x“: Anregungsseite = 1 gelesen; „x“ ist keine Zahl, Anfahren bleibt 0."},
      {"5 aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\n",
       {"TLN", "n"},
       "„5 aaaaaaaaaaaaaaaaaaaaaa…“: TLN = 5 Nm gelesen; „aaaaaaaaaaaaaaaaaaaaaaaa…“ ist "
       "keine "
       "Zahl, n bleibt 1500 1/min."},
      // A cut at a character's start, however many bytes it has.
      {"5 a\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\n",
       {"TLN", "n"},
       "„5 a\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600…“: TLN = 5 Nm gelesen; "
       "„a\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600…“ ist keine Zahl, n bleibt "
       "1500 1/min."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(noticeAfter(c.typed, c.asked), c.notice) << c.typed;
  }
}

}  // namespace
