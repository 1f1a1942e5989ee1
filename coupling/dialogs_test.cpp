#include "coupling/dialogs.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

namespace {

using Dialog = void (*)(Console&, CouplingData&);

struct DialogRun {
  std::string output;
  CouplingData data;
  bool ended;
};

DialogRun runDialog(Dialog dialog, std::string_view input) {
  ScriptDevice device(input);
  Console console(device);
  DialogRun run{};
  resetToDefaults(run.data);
  dialog(console, run.data);
  console.flush();
  run.output = device.output();
  run.ended = console.inputEnded();
  return run;
}

// The case after resetToDefaults with `change` applied.
CouplingData expectedCase(const std::function<void(CouplingData&)>& change) {
  CouplingData data{};
  resetToDefaults(data);
  change(data);
  return data;
}

// Every field compared, so that a dialog that writes the wrong field fails.
void expectSameCase(const CouplingData& want, const CouplingData& got, const char* name) {
  const double CouplingData::*reals[] = {
      &CouplingData::TLN, &CouplingData::n,     &CouplingData::JA,  &CouplingData::JL,
      &CouplingData::TAS, &CouplingData::TAI,   &CouplingData::TLS, &CouplingData::TLI,
      &CouplingData::TKN, &CouplingData::TKmax, &CouplingData::TKW, &CouplingData::Cdyn,
      &CouplingData::psi, &CouplingData::PKW,   &CouplingData::ST,  &CouplingData::SS,
      &CouplingData::SZ};
  for (const auto field : reals) {
    // Compared as text so that nan equals nan.
    EXPECT_EQ(std::to_string(want.*field), std::to_string(got.*field)) << name;
  }
  EXPECT_EQ(want.i, got.i) << name;
  EXPECT_EQ(want.excitationSide, got.excitationSide) << name;
  EXPECT_EQ(want.startLoaded, got.startLoaded) << name;
}

const std::string kA = "Nennmoment TLN[Nm]= \nDrehzahl n [1/min]= \nOrdnungszahl= ";
const std::string kB =
    "Drehmassen:\nAntrieb JA[kgm2]= \nLasts.  JL[kgm2]= \nAnregung auf Seite?"
    "\nAntrieb=0 Last=1: \nAnfahren lastfrei?\nja=0 nein=1: ";
const std::string kC =
    "Spitzendrehmomente:\nauf Antriebsseite:\nStossd.A TAS[Nm]= "
    "\nErregerm.TAI[Nm]= \nauf Lastseite:\nStossd.L TLS[Nm]= \nErregerm.TLI[Nm]= ";
const std::string kD =
    "Kupplungs-Kennwerte:\nTKN   [Nm]= \nTKmax [Nm]= \nTKW   [Nm]= "
    "\nCdyn[Nm/r]= \npsi       = \nPKW    [W]= ";
const std::string kE =
    "Einflussfaktoren:\nTemperaturf. ST= \nStossf.SS/SA/SL= \nAnlauffaktor SZ= ";

TEST(Dialogs, TranscriptsAndTheCaseLeftBehind) {
  const std::string bSwitches =
      "Drehmassen:\nAntrieb JA[kgm2]= \nLasts.  JL[kgm2]= \nAnregung auf Seite?";
  const struct {
    const char* name;
    Dialog dialog;
    std::string input;
    std::string output;
    std::function<void(CouplingData&)> change;
  } cases[] = {
      {"a", dialogTorqueSpeed, "100\n1200\n3\n", kA,
       [](CouplingData& d) {
         d.TLN = 100;
         d.n = 1200;
         d.i = 3;
       }},
      {"a, two numbers on one line", dialogTorqueSpeed, "100 1200\n4\n", kA,
       [](CouplingData& d) {
         d.TLN = 100;
         d.n = 1200;
         d.i = 4;
       }},
      {"b", dialogInertias, "3.5 0.5 1 1\n", kB,
       [](CouplingData& d) {
         d.JA = 3.5;
         d.JL = 0.5;
         d.excitationSide = 1;
         d.startLoaded = 1;
       }},
      {"b, a switch asked again", dialogInertias, "1 1 5 1 -1 0\n",
       bSwitches + "\nAntrieb=0 Last=1: \nAntrieb=0 Last=1: \nAnfahren lastfrei?"
                   "\nja=0 nein=1: \nja=0 nein=1: ",
       [](CouplingData& d) {
         d.JA = 1;
         d.excitationSide = 1;
       }},
      {"b, garbage keeps a valid switch", dialogInertias, "1 1 x\n1\n", kB,
       [](CouplingData& d) {
         d.JA = 1;
         d.startLoaded = 1;
       }},
      {"b, garbage after a bad answer waits for a new line", dialogInertias,
       "1 1 7 x\n0 1\n",
       bSwitches + "\nAntrieb=0 Last=1: \nAntrieb=0 Last=1: \nAntrieb=0 Last=1: "
                   "\nAnfahren lastfrei?\nja=0 nein=1: ",
       [](CouplingData& d) {
         d.JA = 1;
         d.startLoaded = 1;
       }},
      {"c", dialogPeakTorques, "1 2 3 4\n", kC,
       [](CouplingData& d) {
         d.TAS = 1;
         d.TAI = 2;
         d.TLS = 3;
         d.TLI = 4;
       }},
      {"d", dialogCouplingValues, "1 2 3 4 5 6\n", kD,
       [](CouplingData& d) {
         d.TKN = 1;
         d.TKmax = 2;
         d.TKW = 3;
         d.Cdyn = 4;
         d.psi = 5;
         d.PKW = 6;
       }},
      {"d, zero and negative values are kept", dialogCouplingValues, "0 -1 0 0 0 -0.5\n",
       kD,
       [](CouplingData& d) {
         d.TKN = 0;
         d.TKmax = -1;
         d.TKW = 0;
         d.Cdyn = 0;
         d.psi = 0;
         d.PKW = -0.5;
       }},
      {"e", dialogServiceFactors, "1.1\r\n1.2\r\n1.3\r\n", kE,
       [](CouplingData& d) {
         d.ST = 1.1;
         d.SS = 1.2;
         d.SZ = 1.3;
       }},
      {"a, 2.5 for the order leaves .5", dialogTorqueSpeed, "1 2 2.5\n", kA,
       [](CouplingData& d) {
         d.TLN = 1;
         d.n = 2;
         d.i = 2;
       }},
  };
  for (const auto& c : cases) {
    const DialogRun run = runDialog(c.dialog, c.input);
    EXPECT_EQ(c.output, run.output) << c.name;
    EXPECT_FALSE(run.ended) << c.name;
    expectSameCase(expectedCase(c.change), run.data, c.name);
  }
}

TEST(Dialogs, BadInput) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* name;
    Dialog dialog;
    std::string input;
    std::function<void(CouplingData&)> change;
    bool ended;
  } cases[] = {
      {"garbage", dialogTorqueSpeed, "abc\n5 6\n",
       [](CouplingData& d) {
         d.n = 5;
         d.i = 6;
       },
       false},
      {"lone sign", dialogTorqueSpeed, "- 1\n+\n7\n", [](CouplingData& d) { d.i = 7; },
       false},
      {"comma decimal", dialogTorqueSpeed, ",5\n1 2\n",
       [](CouplingData& d) {
         d.n = 1;
         d.i = 2;
       },
       false},
      {"integer overflow", dialogTorqueSpeed, "1 2 99999999999\n",
       [](CouplingData& d) {
         d.TLN = 1;
         d.n = 2;
       },
       false},
      {"switch overflow", dialogInertias, "1 1 99999999999 1\n0\n",
       [](CouplingData& d) { d.JA = 1; }, false},
      {"real overflow", dialogServiceFactors, "1e999 -1e999 nan\n",
       [inf](CouplingData& d) {
         d.ST = inf;
         d.SS = -inf;
         d.SZ = std::numeric_limits<double>::quiet_NaN();
       },
       false},
      {"NUL bytes", dialogServiceFactors, std::string("\0\n2\0 3\n4\n", 9),
       [](CouplingData& d) { d.SS = 2; }, false},
      {"bytes above 0x7F", dialogTorqueSpeed, "\xc3\xa4 1\n2 \xff\n3\n",
       [](CouplingData& d) { d.n = 2; }, false},
      {"end of input in a switch loop", dialogInertias, "1 1 7\n",
       [](CouplingData& d) {
         d.JA = 1;
         d.excitationSide = 7;
       },
       true},
      {"end of input at the first prompt", dialogCouplingValues, "", [](CouplingData&) {},
       true},
  };
  for (const auto& c : cases) {
    const DialogRun run = runDialog(c.dialog, c.input);
    EXPECT_EQ(c.ended, run.ended) << c.name;
    expectSameCase(expectedCase(c.change), run.data, c.name);
  }
}

}  // namespace
