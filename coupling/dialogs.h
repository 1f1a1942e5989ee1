#pragma once

#include "console/console.h"
#include "coupling/coupling_data.h"

// The five input dialogs, one per menu key a to e. Each asks all of its
// fields in a fixed order and writes them into `data`; it returns early only
// when the input ends.
void dialogTorqueSpeed(Console& console, CouplingData& data);     // a
void dialogInertias(Console& console, CouplingData& data);        // b
void dialogPeakTorques(Console& console, CouplingData& data);     // c
void dialogCouplingValues(Console& console, CouplingData& data);  // d
void dialogServiceFactors(Console& console, CouplingData& data);  // e
