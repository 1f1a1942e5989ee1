#include "app/batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/batch_test.h"
#include "console/utf8.h"
#include "coupling/case_file.h"
#include "coupling/text.h"

namespace {

InputFile file(const std::string& name, const std::string& bytes) {
  return {name, true, bytes, ""};
}
InputFile missing(const std::string& name) {
  return {name, false, "", "No such file or directory"};
}

Options checking(Options::Format format = Options::Format::kText) {
  Options options;
  options.runSession = false;
  options.check = true;
  options.format = format;
  return options;
}

// The three result pages of the example case, written out as the session
// prints them, without the pager's lines; `shockL` the verdict that changes
// with TKmax.
std::string exampleResultPages(const std::string& shockL) {
  return "Ergebnisse 1.Teil\nI) Beanspr.d.Nennmoment:\nTLNmax= 190.8 [Nm]\nTKN okay!\n"
         "II) Beanspr.d.T-Stoesse:\nTSAmax= 156.436 [Nm]\nStoss A:TKmax okay!\n"
         "TSLmax= 908.902 [Nm]\nStoss L:TKmax " +
         shockL +
         "\n"
         "Ergebnisse 2.Teil\nIII) Bean.d.Wechselmoment:\nTSmax = 228.479 [Nm]\n"
         "Resonanz:TKmax okay!\nfe = 9.88573 [1/s]\nnR = 296.572 [1/min]\nVR = 7.85398\n"
         "Vfi= 0.0410092\nSf = 2.23607\n"
         "Ergebnisse 3.Teil\nTWi   = 0.994162 [Nm]\nTWimax= 2.66762 [Nm]\n"
         "Dauerw.m:TKW okay!\nPWi   = 0.00735112 [W]\nDaem.Wae:PKW okay!\n";
}

TEST(Batch, ChecksPrintTheComputePagesAndTellByTheirStatus) {
  CouplingData example{};
  resetToDefaults(example);
  CouplingData fitting = example;
  fitting.TKmax = 1300;  // TSLmax 908.9 then fits
  const std::string exampleFile = writeCaseFile(example);
  const std::string fittingFile = writeCaseFile(fitting);
  const std::string examplePages = exampleResultPages("nicht okay!");
  const std::string fittingPages = exampleResultPages("okay!");
  const struct {
    const char* title;
    std::vector<InputFile> cases;
    int status;
    std::string output;
    std::string errors;
  } cases[] = {
      {"all okay", {file("a.txt", fittingFile)}, 0, "== a.txt\n" + fittingPages, ""},
      {"a check not okay, after one that is",
       {file("a.txt", fittingFile), file("b.txt", exampleFile)},
       3,
       "== a.txt\n" + fittingPages + "== b.txt\n" + examplePages,
       ""},
      {"a file left out, the rest checked",
       {file("a.txt", "TKmax = 1300\n"), file("b.txt", "TLN = 1\nfoo = 2\n")},
       2,
       "== a.txt\n" + fittingPages,
       notSetLine("a.txt", "TKmax") + "tavro: b.txt:2: unbekannter Name \"foo\"\n"},
      {"a missing file outranks the rest",
       {missing("fall.txt"), file("b.txt", "TLN = x\n"), file("c.txt", exampleFile)},
       1,
       "== c.txt\n" + examplePages,
       "tavro: fall.txt: No such file or directory\ntavro: b.txt:1: TLN: \"x\" ist keine "
       "Zahl\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    const BatchRun run = runChecks(checking(), c.cases, nullptr);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.output, c.output);
    EXPECT_EQ(run.errors, c.errors);
  }
}

TEST(Batch, JsonCsvAndSeriesAsScriptsReadThem) {
  const std::vector<InputFile> cases = {file(
      "pumpe, alt.txt",
      "Bezeichnung = Pumpe \"P-1\", alt # 2\nTLN = 100\nTKmax = 1300\nBaugröße = B6\n")};
  const InputFile series =
      file("reihe.csv",
           "Typ;TKN;TKmax;TKW;Cdyn;psi;PKW\nB4;265;530;69;2689;0,8;12\n"
           "B6;650;1300;170;7000;0,8;26\nB9;1;2\n");

  const BatchRun csv = runChecks(checking(Options::Format::kCsv), cases, nullptr);
  EXPECT_EQ(csv.status, 0);
  EXPECT_EQ(
      csv.output,
      "file,name,size,TLN,n,i,JA,JL,excitationSide,startLoaded,TAS,TAI,TLS,TLI,TKN,TKmax,"
      "TKW,Cdyn,psi,PKW,ST,SS,SZ,TLNmax,TSAmax,TSLmax,TSmax,fe,nR,VR,Vfi,Sf,TWi,TWimax,"
      "PWi,"
      "PWimax,okay TLNmax,okay TSAmax,okay TSLmax,okay TSmax,okay TWimax,okay PWimax\r\n"
      "\"pumpe, alt.txt\",\"Pumpe \"\"P-1\"\", alt # 2\",B6,"
      "100,1500,2,2.3,1,0,0,239,80,477,0,265,1300,69,2689,0.8,12,1.2,"
      "1.8,1,120,156.43636363636364,838.1018181818181,228.47946545454545,"
      "9.885726366737822,296.57179100213466,7.853981625,0.04100918319996658,"
      "2.23606797749979,0.9941620169688868,2.6676166207088765,0.007351120237885053,"
      "0.008821344285462064,okay,okay,okay,okay,okay,okay\r\n");

  Options options = checking();
  options.series = "reihe.csv";
  const BatchRun text = runChecks(options, cases, &series);
  EXPECT_EQ(text.status, 0);
  EXPECT_TRUE(text.output.starts_with(
      "== pumpe, alt.txt\nBezeichnung: Pumpe \"P-1\", alt # 2\nBaugroesse: B6\n"));
  EXPECT_EQ(text.output.substr(text.output.find("Baugroessen")),
            "Baugroessen aus reihe.csv:\n"
            "B4:  I 45 %  II A 30 %  II L 158 %  III 43 %  Wechs. 4 %  Dämpf. 0 %  passt "
            "nicht\n"
            "B6:  I 18 %  II A 12 %  II L 64 %  III 18 %  Wechs. 4 %  Dämpf. 0 %  passt\n"
            "Kleinste passende Baugroesse: B6\n");
  EXPECT_TRUE(
      text.errors.starts_with("tavro: reihe.csv:4: zu wenige Spalten (3 statt 7)\n"));

  options.format = Options::Format::kJson;
  const BatchRun json = runChecks(options, cases, &series);
  EXPECT_TRUE(json.output.starts_with(
      "{\"file\":\"pumpe, alt.txt\",\"name\":\"Pumpe \\\"P-1\\\", alt # 2\","
      "\"size\":\"B6\",\"case\":{\"TLN\":100,\"n\":1500,\"i\":2,"));
  EXPECT_NE(json.output.find(
                ",\"checks\":[{\"value\":120,\"limit\":265,\"okay\":true,"
                "\"share\":\"45 %\",\"verdict\":\"okay!\",\"valueName\":\"TLNmax\","),
            std::string::npos);
  EXPECT_TRUE(json.output.ends_with("\"smallest\":1}\n"));
  EXPECT_EQ(std::count(json.output.begin(), json.output.end(), '\n'), 1);
}

TEST(Batch, ASeriesGivingNoSizeIsABadFile) {
  const std::vector<InputFile> cases = {file("a.txt", "TKmax = 1300\n")};
  const struct {
    const char* title;
    InputFile series;
    int status;
    std::string errors;
  } cases2[] = {
      {"unreadable", missing("t.csv"), 1, "tavro: t.csv: No such file or directory\n"},
      {"a header only", file("t.csv", "Typ;TKN;TKmax;TKW;Cdyn;psi;PKW\n"), 2,
       "tavro: t.csv: keine Baugröße gelesen: unter der Kopfzeile steht keine Zeile\n"},
      {"empty", file("t.csv", "\n"), 2,
       "tavro: t.csv: keine Baugröße gelesen: die Datei ist leer\n"},
      {"a case file given by mistake", file("t.csv", writeCaseFile(CouplingData{})), 2,
       "tavro: t.csv: keine Baugröße gelesen: das ist eine Falldatei, keine Tabelle von "
       "Baugrößen\n"},
      {"an unknown unit",
       file("t.csv", "Typ;TKN [lbft];TKmax;TKW;Cdyn;psi;PKW\nB;1;2;3;4;5;6\n"), 2,
       "tavro: t.csv:1: keine Baugröße gelesen: die Einheit \u201Elbft\u201C von TKN ist "
       "unbekannt; "
       "gelesen "
       "wird nichts\n"},
      {"no line readable", file("t.csv", "Typ;TKN;TKmax;TKW;Cdyn;psi;PKW\nB;1;2\n"), 2,
       "tavro: t.csv:2: zu wenige Spalten (3 statt 7)\ntavro: t.csv: keine Baugröße "
       "gelesen: ihre Zeile ist nicht lesbar\n"},
  };
  Options options = checking();
  options.series = "t.csv";
  for (const auto& c : cases2) {
    SCOPED_TRACE(c.title);
    const BatchRun run = runChecks(options, cases, &c.series);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.errors, c.errors);
  }
}

TEST(Batch, EveryOutputIsUtf8AndEachErrorFollowsItsFile) {
  // A name in Latin-1, as a file system may hold it, reads as Windows-1252.
  const std::vector<InputFile> cases = {file("\xE4.txt", "TLN = x\n"),
                                        file("b.txt", "TKmax = 1300\n"),
                                        file("c\xE4.txt", "TKmax = 1300\n")};
  const BatchRun json = runChecks(checking(Options::Format::kJson), cases, nullptr);
  EXPECT_TRUE(isUtf8(json.output + json.errors));
  EXPECT_NE(json.output.find("{\"file\":\"c\u00e4.txt\""), std::string::npos);
  EXPECT_TRUE(
      json.errors.starts_with("tavro: \u00e4.txt:1: TLN: \"x\" ist keine Zahl\n"));
  const BatchRun csv = runChecks(checking(Options::Format::kCsv), cases, nullptr);
  EXPECT_NE(csv.output.find("\r\nc\u00e4.txt,"), std::string::npos);
  const BatchRun text = runChecks(checking(), cases, nullptr);
  ASSERT_EQ(text.parts.size(), 3U);
  EXPECT_EQ(text.parts[0].output, "");
  EXPECT_TRUE(text.parts[1].output.starts_with("== b.txt\n"));
  EXPECT_TRUE(text.parts[1].errors.starts_with("tavro: b.txt: nicht gesetzt"));
  EXPECT_TRUE(text.parts[2].output.starts_with("== c\u00e4.txt\n"));
}

}  // namespace
