#include "coupling/dialogs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {

using Dialog = void (*)(Console&, CouplingData&);

std::string describe(const CouplingData& d) {
  char text[1024];
  std::snprintf(text, sizeof text,
                "TLN=%g n=%g i=%d JA=%g JL=%g side=%d loaded=%d TAS=%g TAI=%g TLS=%g "
                "TLI=%g TKN=%g TKmax=%g TKW=%g Cdyn=%g psi=%g PKW=%g ST=%g SS=%g SZ=%g",
                d.TLN, d.n, d.i, d.JA, d.JL, d.excitationSide, d.startLoaded, d.TAS,
                d.TAI, d.TLS, d.TLI, d.TKN, d.TKmax, d.TKW, d.Cdyn, d.psi, d.PKW, d.ST,
                d.SS, d.SZ);
  return text;
}

// The fields that differ from the example case, as "name=value" in dialog
// order; so a dialog that writes a wrong field shows.
std::string changedFields(const CouplingData& data) {
  CouplingData example{};
  resetToDefaults(example);
  std::istringstream now(describe(data)), before(describe(example));
  std::string field, old, changed;
  while (now >> field && before >> old) {
    if (field != old) changed += (changed.empty() ? "" : " ") + field;
  }
  return changed;
}

struct DialogRun {
  std::string output;   // what the dialog printed
  std::string changed;  // the fields it changed
  bool ended;           // the input ended during it
};

DialogRun runDialog(Dialog dialog, std::string_view input) {
  ScriptDevice device(input);
  Console console(device);
  CouplingData data{};
  resetToDefaults(data);
  dialog(console, data);
  console.flush();
  return {device.output(), changedFields(data), console.inputEnded()};
}

const std::string kA = "Nennmoment TLN[Nm]= \nDrehzahl n [1/min]= \nOrdnungszahl= ";
const std::string kBHead =
    "Drehmassen:\nAntrieb JA[kgm2]= \nLasts.  JL[kgm2]= \nAnregung auf Seite?";
const std::string kSide = "\nAntrieb=0 Last=1: ";
const std::string kLoad = "\nAnfahren lastfrei?";
const std::string kLoaded = "\nja=0 nein=1: ";
const std::string kB = kBHead + kSide + kLoad + kLoaded;
const std::string kC =
    "Spitzendrehmomente:\nauf Antriebsseite:\nStossd.A TAS[Nm]= "
    "\nErregerm.TAI[Nm]= \nauf Lastseite:\nStossd.L TLS[Nm]= \nErregerm.TLI[Nm]= ";
const std::string kD =
    "Kupplungs-Kennwerte:\nTKN   [Nm]= \nTKmax [Nm]= \nTKW   [Nm]= "
    "\nCdyn[Nm/r]= \npsi       = \nPKW    [W]= ";
const std::string kE =
    "Einflussfaktoren:\nTemperaturf. ST= \nStossf.SS/SA/SL= \nAnlauffaktor SZ= ";

TEST(Dialogs, TranscriptsAndTheCaseLeftBehind) {
  const struct {
    const char* name;
    Dialog dialog;
    const char* input;
    std::string output;
    const char* changed;
  } cases[] = {
      // clang-format off
      {"a", dialogTorqueSpeed, "100\n1200\n3\n", kA, "TLN=100 n=1200 i=3"},
      {"a, two numbers on one line", dialogTorqueSpeed, "100 1200\n4\n", kA, "TLN=100 n=1200 i=4"},
      {"a, 2.5 for the order leaves .5", dialogTorqueSpeed, "1 2 2.5\n", kA, "TLN=1 n=2"},
      {"b", dialogInertias, "3.5 0.5 1 1\n", kB, "JA=3.5 JL=0.5 side=1 loaded=1"},
      {"b, switches asked again", dialogInertias, "1 1 5 1 -1 0\n",
       kBHead + kSide + kSide + kLoad + kLoaded + kLoaded, "JA=1 side=1"},
      {"b, garbage keeps a valid switch", dialogInertias, "1 1 x\n1\n", kB, "JA=1 loaded=1"},
      {"b, garbage after a bad answer waits for a new line", dialogInertias, "1 1 7 x\n0 1\n",
       kBHead + kSide + kSide + kSide + kLoad + kLoaded, "JA=1 loaded=1"},
      {"c", dialogPeakTorques, "1 2 3 4\n", kC, "TAS=1 TAI=2 TLS=3 TLI=4"},
      {"d", dialogCouplingValues, "1 2 3 4 5 6\n", kD, "TKN=1 TKmax=2 TKW=3 Cdyn=4 psi=5 PKW=6"},
      {"d, zero and negative values are kept", dialogCouplingValues, "0 -1 0 0 0 -0.5\n", kD,
       "TKN=0 TKmax=-1 TKW=0 Cdyn=0 psi=0 PKW=-0.5"},
      {"e, CR LF line ends", dialogServiceFactors, "1.1\r\n1.2\r\n1.3\r\n", kE, "ST=1.1 SS=1.2 SZ=1.3"},
      // clang-format on
  };
  for (const auto& c : cases) {
    const DialogRun run = runDialog(c.dialog, c.input);
    EXPECT_EQ(c.output, run.output) << c.name;
    EXPECT_EQ(c.changed, run.changed) << c.name;
    EXPECT_FALSE(run.ended) << c.name;
  }
}

TEST(Dialogs, BadInput) {
  const struct {
    const char* name;
    Dialog dialog;
    std::string input;
    const char* changed;
    bool ended;
  } cases[] = {
      // clang-format off
      {"garbage", dialogTorqueSpeed, "abc\n5 6\n", "n=5 i=6", false},
      {"lone sign", dialogTorqueSpeed, "- 1\n+\n7\n", "i=7", false},
      {"decimal comma", dialogTorqueSpeed, "0,8 1200 3,5\n", "TLN=0.8 n=1200 i=3", false},
      {"integer overflow", dialogTorqueSpeed, "1 2 99999999999\n", "TLN=1 n=2", false},
      {"switch overflow", dialogInertias, "1 1 99999999999 1\n0\n", "JA=1", false},
      {"real overflow, inf and nan", dialogServiceFactors, "1e999 -1e999 nan\n", "ST=inf SS=-inf SZ=nan", false},
      {"NUL bytes", dialogServiceFactors, std::string("\0\n2\0 3\n4\n", 9), "SS=2", false},
      {"bytes above 0x7F", dialogTorqueSpeed, "\xc3\xa4 1\n2 \xff\n3\n", "n=2", false},
      {"end of input in a switch loop", dialogInertias, "1 1 7\n", "JA=1 side=7", true},
      {"end of input at the first prompt", dialogCouplingValues, "", "", true},
      // clang-format on
  };
  for (const auto& c : cases) {
    const DialogRun run = runDialog(c.dialog, c.input);
    EXPECT_EQ(c.changed, run.changed) << c.name;
    EXPECT_EQ(c.ended, run.ended) << c.name;
  }
}

}  // namespace
