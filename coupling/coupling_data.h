#pragma once

// The one coupling case a run works on: the drive train, the coupling's
// catalogue values and the service factors. Torques in Nm, speed in 1/min,
// moments of inertia in kgm2, stiffness in Nm/rad, power in W; factors
// have no unit.
struct CouplingData {
  double TLN;          // nominal torque of the load side [Nm]
  double n;            // speed [1/min]
  int i;               // order of the excitation: pulses per revolution
  double JA;           // moment of inertia of the drive side [kgm2]
  double JL;           // moment of inertia of the load side [kgm2]
  int excitationSide;  // where the periodic excitation acts: 0 drive, 1 load
  int startLoaded;     // start-up: 0 without load, 1 under load
  double TAS;          // peak (shock) torque on the drive side [Nm]
  double TAI;          // exciting torque on the drive side [Nm]
  double TLS;          // peak (shock) torque on the load side [Nm]
  double TLI;          // exciting torque on the load side [Nm]
  double TKN;          // rated torque of the coupling [Nm]
  double TKmax;        // maximum torque of the coupling [Nm]
  double TKW;          // permissible continuous alternating torque [Nm]
  double Cdyn;         // dynamic torsional stiffness [Nm/rad]
  double psi;          // relative damping
  double PKW;          // permissible damping power [W]
  double ST;           // temperature factor
  double SS;           // shock factor, for shocks from either side
  double SZ;           // start-up factor
};

// Sets every field to the built-in example case, so that a check can be
// run before the user has typed anything.
void resetToDefaults(CouplingData& data);
