#pragma once

#include <array>
#include <iterator>
#include <string>

#include "coupling/coupling_data.h"

// What the check derives from a coupling case. Torques in Nm, speeds in
// 1/min, frequencies in 1/s, power in W; factors have no unit. Values follow
// IEEE arithmetic: a division by zero gives inf, an undefined value nan.
struct CheckResults {
  // Stage one: nominal torque and torque shocks.
  double TLNmax;  // nominal load torque with the temperature factor [Nm]
  double rJ;      // ratio of the moments of inertia, JA / JL
  double TL0;     // load torque at start-up: 0, or TLN when started loaded [Nm]
  double TSA;     // torque a drive-side shock puts on the coupling [Nm]
  double TSAmax;  // TSA with start-up and temperature factors plus TL0 [Nm]
  double TSL;     // torque a load-side shock puts on the coupling [Nm]
  double TSLmax;  // TSL with start-up and temperature factors plus TLN [Nm]

  // Stage two: resonance, alternating torque and damping power.
  double VR;      // resonance factor, 2 pi / psi
  double TSi;     // exciting torque at the coupling in resonance [Nm]
  double TSmax;   // TSi with start-up and temperature factors plus TL0 [Nm]
  double fe;      // natural frequency of the two-mass system [1/s]
  double nR;      // resonance speed for the order i [1/min]
  double fn;      // rotational frequency, n / 60 [1/s]
  double ferr;    // excitation frequency, fn * i [1/s]
  double psi2;    // psi squared
  double Vfi;     // magnification factor at the excitation frequency
  double Sf;      // frequency factor, from the excitation frequency
  double TWi;     // alternating torque at the excitation frequency [Nm]
  double TWimax;  // TWi with temperature and frequency factors [Nm]
  double PWi;     // damping power [W]
  double PWimax;  // PWi with the temperature factor [W]
};

// Fills the stage-one fields of `results` from `data`; touches no other field.
void computeStageOne(const CouplingData& data, CheckResults& results);

// Fills the stage-two fields; needs the stage-one fields rJ and TL0.
void computeStageTwo(const CouplingData& data, CheckResults& results);

// Both stages at once: every field of the check of `data`.
CheckResults checkCoupling(const CouplingData& data);

// One of the six checks: a value of the results against a limit of the
// case, named by their symbols, and what a reader calls the check.
struct CheckRule {
  const char* valueName;
  double CheckResults::*value;
  const char* limitName;
  double CouplingData::*limit;
  const char* title;  // "II Stoß von der Lastseite", UTF-8 for the page
  const char* brief;  // "II L": a table column's title
  const char* unit;   // of the value and the limit: "Nm", "W"
};

// The six checks in the order the result pages give them: nominal torque,
// shock from the drive side, shock from the load side, resonance, continuous
// alternating torque, damping power. The damping check compares PWimax,
// which has the temperature factor.
inline constexpr CheckRule kChecks[] = {
    {"TLNmax", &CheckResults::TLNmax, "TKN", &CouplingData::TKN, "I Nennmoment", "I",
     "Nm"},
    {"TSAmax", &CheckResults::TSAmax, "TKmax", &CouplingData::TKmax,
     "II Stoß von der Antriebsseite", "II A", "Nm"},
    {"TSLmax", &CheckResults::TSLmax, "TKmax", &CouplingData::TKmax,
     "II Stoß von der Lastseite", "II L", "Nm"},
    {"TSmax", &CheckResults::TSmax, "TKmax", &CouplingData::TKmax,
     "III Resonanzdurchfahrt", "III", "Nm"},
    {"TWimax", &CheckResults::TWimax, "TKW", &CouplingData::TKW, "Dauerwechselmoment",
     "Wechs.", "Nm"},
    {"PWimax", &CheckResults::PWimax, "PKW", &CouplingData::PKW, "Dämpfungsleistung",
     "Dämpf.", "W"},
};

// One of the six checks for a case.
struct CheckOutcome {
  double value;  // what the coupling must carry
  double limit;  // what the coupling allows
  bool okay;     // the verdict, as the result pages give it
};

// The six checks of `data`, whose check gave `results`, in kChecks' order.
std::array<CheckOutcome, std::size(kChecks)> checkOutcomes(const CouplingData& data,
                                                           const CheckResults& results);

// The value's share of the limit as a reader is shown it, in German:
// whole percent ("171 %"), with one or two decimals where whole percent
// would fall on the other side of 100 % than the verdict ("100,4 %",
// "99,96 %"; past two decimals rounded toward the verdict's side), and "–"
// where the limit is not positive or a number is not finite. A share that
// rounds to zero is "0 %", whatever its sign.
std::string shareText(const CheckOutcome& outcome);

// The verdict of one check: okay only when the value is at most its limit.
// A value or limit that is not a number is never okay, so a check whose
// value cannot be computed is never reported as passed.
bool isOkay(double value, double limit);
