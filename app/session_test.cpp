#include "app/session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console.h"

namespace {

std::string session(std::string_view input) {
  ScriptDevice device(input);
  runSession(device);
  return device.output();
}

const std::string kMenu =
    "\n"
    "Kupplungsberechnung,i Info\n"
    "F1 a Drehmomente,Drehzahl\n"
    "F2 b Drehmassen\n"
    "F3 c Spitzendrehmomente\n"
    "F4 d Kupplungs-Kennwerte\n"
    "F5 e Einflussfaktoren\n"
    "F6 w momentan def. Werte\n"
    "F7 g Compute\n"
    "F8 q Exit\n";

const std::string kPager = "weiter mit bel.Taste..";

const std::string kPage1 =
    "Ergebnisse 1.Teil\n"
    "I) Beanspr.d.Nennmoment:\n"
    "TLNmax= 190.8 [Nm]\n"
    "TKN okay!\n"
    "II) Beanspr.d.T-Stoesse:\n"
    "TSAmax= 156.436 [Nm]\n"
    "Stoss A:TKmax okay!\n"
    "TSLmax= 908.902 [Nm]\n"
    "Stoss L:TKmax nicht okay!\n";

const std::string kPage2 =
    "Ergebnisse 2.Teil\n"
    "III) Bean.d.Wechselmoment:\n"
    "TSmax = 228.479 [Nm]\n"
    "Resonanz:TKmax okay!\n"
    "fe = 9.88573 [1/s]\n"
    "nR = 296.572 [1/min]\n"
    "VR = 7.85398\n"
    "Vfi= 0.0410092\n"
    "Sf = 2.23607\n";

const std::string kPage3 =
    "Ergebnisse 3.Teil\n"
    "TWi   = 0.994162 [Nm]\n"
    "TWimax= 2.66762 [Nm]\n"
    "Dauerw.m:TKW okay!\n"
    "PWi   = 0.00735112 [W]\n"
    "Daem.Wae:PKW okay!\n";

// The output after the banner, which every session prints first.
std::string afterBanner(const std::string& output) {
  const std::size_t menu = output.find(kMenu);
  return menu == std::string::npos ? "<no menu>" : output.substr(menu);
}

TEST(Session, StartUpScreen) {
  const std::string out = session("q");
  const std::size_t menu = out.find(kMenu);
  ASSERT_NE(std::string::npos, menu);
  EXPECT_EQ(kMenu, out.substr(menu));  // q ends at once

  // Banner lines 1-4, an empty line, lines 5-10, then the menu's empty line.
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < menu;) {
    const std::size_t end = out.find('\n', start);
    lines.push_back(out.substr(start, end - start));
    start = end + 1;
  }
  ASSERT_EQ(11u, lines.size());
  EXPECT_EQ("TAVRO ist die PC-Version des gleichnamigen Rechenprogramms", lines[0]);
  EXPECT_EQ("Es hat daher keine Windows-Funktionalitaet, sondern ist", lines[2]);
  EXPECT_EQ("auf das Wesentliche reduziert: Eingabe-Rechnen-Ausgabe.", lines[3]);
  EXPECT_EQ("", lines[4]);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (k != 4) {
      EXPECT_NE("", lines[k]) << "banner line " << k;
    }
    for (const char c : lines[k]) EXPECT_TRUE(c >= ' ' && c < 0x7F) << lines[k];
  }
}

TEST(Session, Transcripts) {
  const std::string m = kMenu, p = kPager;
  const struct {
    const char* name;
    std::string input;
    std::string expected;
  } cases[] = {
      {"three pages, then the menu", "g   q",
       m + kPage1 + p + "\n" + kPage2 + p + "\n" + kPage3 + p + "\n" + m},
      {"x at page 1", "gxq", m + kPage1 + p + m},
      {"x at page 2", "g xq", m + kPage1 + p + "\n" + kPage2 + p + m},
      {"x at page 3", "g  xq",
       m + kPage1 + p + "\n" + kPage2 + p + "\n" + kPage3 + p + m},
      {"keys without a command", "QAGx1\n\033[A\033[15~\xc3\xa4\033qq",
       m + m + m + m + m + m + m + m + m + m + m},
      {"end of input at the menu", "", m},
      {"end of input at a pager", "g", m + kPage1 + p + "\n"},
      {"end of input at a prompt", "a1",
       m + "Nennmoment TLN[Nm]= \nDrehzahl n [1/min]= \n"},
      {"end of input in a switch loop", "b1 1 7\n",
       m + "Drehmassen:\nAntrieb JA[kgm2]= \nLasts.  JL[kgm2]= \nAnregung auf Seite?"
           "\nAntrieb=0 Last=1: \nAntrieb=0 Last=1: \n"},
      {"script ends after a whole dialog", "a1 2 3",
       m +
           "Nennmoment TLN[Nm]= "
           "\nDrehzahl n [1/min]= \nOrdnungszahl= " +
           m},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, afterBanner(session(c.input))) << c.name;
  }
}

TEST(Session, InfoPauseConsumesTheKey) {
  // Menu, information line, pause, menu again: the first q only ended the
  // pause, and so does an x.
  const std::string out = afterBanner(session("iqq"));
  EXPECT_EQ(0u, out.find(kMenu + "TAVRO n. DIN 740,")) << out;
  const std::size_t pause = out.find(kPager);
  ASSERT_NE(std::string::npos, pause);
  EXPECT_EQ('\n', out[pause - 1]);
  EXPECT_EQ(kMenu, out.substr(pause + kPager.size()));
  EXPECT_EQ(out, afterBanner(session("ixq")));
}

TEST(Session, EnteredCaseIsShownAndChecked) {
  // A case of one's own through all five dialogs, shown and checked.
  const std::string out = afterBanner(
      session("a100 1200 3\nb2.3 1 1 0\nc239 80 477 10\nd150 300 40 2689 0.8 12\n"
              "e1.4 1.8 1\nw   g   q"));
  const std::string expectedDisplay =
      "momentan def. Werte 1:\nNennm. TLN= 100 [Nm]\nDrehzahl n= 1200 [1/min]\n"
      "Ordnung  i= 3\nD.Antr. JA= 2.3 [kgm2]\nD.Last  JL= 1 [kgm2]\n"
      "StossA TAS= 239 [Nm]\nStossL TLS= 477 [Nm]\n" +
      kPager +
      "\n"
      "momentan def. Werte 2:\nErr.m. TAI= 80 [Nm]\nErr.m. TLI= 10 [Nm]\n"
      "Anfahren lastfrei\nAnregung von Lastseite\nST      = 1.4\nSS/SA/SL= 1.8\n"
      "SZ      = 1\n" +
      kPager +
      "\n"
      "momentan def. Werte 3:\nTKN  = 150 [Nm]\nTKmax= 300 [Nm]\nTKW  = 40 [Nm]\n"
      "Cdyn = 2689 [Nm/r]\npsi  = 0.8\nPKW  = 12 [W]\n" +
      kPager + "\n";
  EXPECT_NE(std::string::npos, out.find(kMenu + expectedDisplay + kMenu)) << out;

  const std::string expectedCheck =
      "Ergebnisse 1.Teil\nI) Beanspr.d.Nennmoment:\nTLNmax= 140 [Nm]\nTKN okay!\n"
      "II) Beanspr.d.T-Stoesse:\nTSAmax= 182.509 [Nm]\nStoss A:TKmax okay!\n"
      "TSLmax= 977.785 [Nm]\nStoss L:TKmax nicht okay!\n" +
      kPager +
      "\n"
      "Ergebnisse 2.Teil\nIII) Bean.d.Wechselmoment:\nTSmax = 76.6358 [Nm]\n"
      "Resonanz:TKmax okay!\nfe = 9.88573 [1/s]\nnR = 197.715 [1/min]\n"
      "VR = 7.85398\nVfi= 0.0281291\nSf = 2.44949\n" +
      kPager +
      "\n"
      "Ergebnisse 3.Teil\nTWi   = 0.196052 [Nm]\nTWimax= 0.672317 [Nm]\n"
      "Dauerw.m:TKW okay!\nPWi   = 0.000343053 [W]\nDaem.Wae:PKW okay!\n" +
      kPager + "\n";
  const std::string tail = kMenu + expectedCheck + kMenu;
  ASSERT_GE(out.size(), tail.size());
  EXPECT_EQ(tail, out.substr(out.size() - tail.size()));
}

// A person at the keyboard: nothing is typed before the program waits, and
// then one byte comes. Notes for each read whether the output so far ends
// with what asks for that input.
class Typist : public ScriptDevice {
 public:
  using ScriptDevice::ScriptDevice;
  bool ready() override { return false; }
  long read(char* buffer, std::size_t /*size*/, int waitMs) override {
    const std::string& out = output();
    bool asked = false;
    for (const char* end : {"F8 q Exit\n", "weiter mit bel.Taste..", "= ", ": "}) {
      asked = asked || out.ends_with(end);
    }
    if (!asked) unasked.push_back(out.substr(out.size() > 30 ? out.size() - 30 : 0));
    return ScriptDevice::read(buffer, 1, waitMs);
  }
  std::vector<std::string> unasked;  // output tails of reads with no prompt shown
};

TEST(Session, OutputIsWrittenWhenTheProgramWaits) {
  const std::string input = "a100 1200 3\nb2.3 1 1 0\nw   g   iq";
  Typist person(input);
  runSession(person);
  EXPECT_EQ(std::vector<std::string>{}, person.unasked);
  EXPECT_GT(person.writes(), 10);

  // A script whose input is all there: the same bytes, written once.
  const std::string all = input + "q";
  ScriptDevice script(all);
  runSession(script);
  EXPECT_EQ(person.output(), script.output());
  EXPECT_EQ(1, script.writes());

  // Long output goes in pieces of the output limit.
  std::string displays;
  for (int k = 0; k < 200; ++k) displays += "w   ";
  displays += "q";
  ScriptDevice many(displays);
  runSession(many);
  EXPECT_EQ(many.output().size() / Console::kOutputLimit + 1,
            static_cast<std::size_t>(many.writes()));
}

}  // namespace
