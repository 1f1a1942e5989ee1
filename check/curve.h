#pragma once

#include <vector>

#include "coupling/coupling_data.h"

// One point of the alternating-torque curve.
struct CurvePoint {
  double n;       // speed [1/min]
  double TWimax;  // continuous alternating torque the check gives there [Nm]
};

// TWimax of `data` over the speed: the check of the case with only its speed
// changed, at 401 evenly spaced speeds from 0 to twice the larger of n and
// nR, and at n and nR themselves, so that the operating point and the top of
// the resonance peak are on the curve. Sorted by speed, each speed once.
// Empty when there is no such range: n not above 0, or nR not finite and
// above 0 (an order i of 0, a mass of 0).
std::vector<CurvePoint> alternatingTorqueCurve(const CouplingData& data);
