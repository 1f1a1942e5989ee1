#include "app/batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/session.h"
#include "console/device.h"
#include "coupling/case_file.h"

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

// The pages g prints in a session started with `data`, the pager's lines left out.
std::string computedPages(const CouplingData& data) {
  ScriptDevice device("g   q");
  runSession(device, data, nullptr);
  std::string out = device.output();
  out = out.substr(out.find("Ergebnisse 1.Teil"));
  out = out.substr(0, out.rfind("weiter mit bel.Taste..\n") + 23);
  for (std::size_t at; (at = out.find("weiter mit bel.Taste..\n")) != std::string::npos;)
    out.erase(at, 23);
  return out;
}

TEST(Batch, ChecksPrintTheComputePagesAndTellByTheirStatus) {
  CouplingData example{};
  resetToDefaults(example);
  CouplingData fitting = example;
  fitting.TKmax = 1300;  // TSLmax 908.9 then fits
  const std::string exampleFile = writeCaseFile(example);
  const std::string fittingFile = writeCaseFile(fitting);
  const struct {
    const char* title;
    std::vector<InputFile> cases;
    int status;
    std::string output;
    std::string errors;
  } cases[] = {
      {"all okay",
       {file("a.txt", fittingFile)},
       0,
       "== a.txt\n" + computedPages(fitting),
       ""},
      {"a check not okay, after one that is",
       {file("a.txt", fittingFile), file("b.txt", exampleFile)},
       3,
       "== a.txt\n" + computedPages(fitting) + "== b.txt\n" + computedPages(example),
       ""},
      {"a file left out, the rest checked",
       {file("a.txt", "TKmax = 1300\n"), file("b.txt", "TLN = 1\nfoo = 2\n")},
       2,
       "== a.txt\n" + computedPages(fitting),
       "tavro: a.txt: nicht gesetzt, es gelten die Werte des Beispielfalls: TLN, n, i, "
       "JA, JL, "
       "excitationSide, startLoaded, TAS, TAI, TLS, TLI, TKN, TKW, Cdyn, psi, PKW, ST, "
       "SS, "
       "SZ\ntavro: b.txt:2: unbekannter Name \"foo\"\n"},
      {"a missing file outranks the rest",
       {missing("fall.txt"), file("b.txt", "TLN = x\n"), file("c.txt", exampleFile)},
       1,
       "== c.txt\n" + computedPages(example),
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
  EXPECT_EQ(csv.output,
            "file,name,size,TLN,n,i,JA,JL,excitationSide,startLoaded,TAS,TAI,TLS,TLI,TKN,"
            "TKmax,TKW,Cdyn,"
            "psi,PKW,ST,SS,SZ,TLNmax,TSAmax,TSLmax,TSmax,fe,nR,VR,Vfi,Sf,TWi,TWimax,PWi,"
            "okay TLNmax,okay TSAmax,okay TSLmax,okay TSmax,okay TWimax,okay PWimax\r\n"
            "\"pumpe, alt.txt\",\"Pumpe \"\"P-1\"\", alt # "
            "2\",B6,100,1500,2,2.3,1,0,0,239,80,477,0,265,1300,69,2689,0.8,12,1.2,"
            "1.8,1,120,156.43636363636364,838.1018181818181,228.47946545454545,"
            "9.885726366737822,296.57179100213466,7.853981625,0.04100918319996658,"
            "2.23606797749979,0.9941620169688868,2.6676166207088765,0.007351120237885053,"
            "okay,okay,okay,okay,okay,okay\r\n");

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

}  // namespace
